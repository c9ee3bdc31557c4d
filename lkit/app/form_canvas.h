#pragma once

#include <QSize>
#include <QWidget>
#include <functional>

class QScrollArea;

namespace lkit {

// The client area of a form whose controls sit at fixed places: it lies in a
// scroll area, so a window made smaller than the controls need shows scroll
// bars instead of hiding controls, and it tells the form its new size so
// controls can take the room of an enlarged window.
class FormCanvas : public QWidget {
 public:
  explicit FormCanvas(QWidget* parent = nullptr) : QWidget(parent) {}

  // Called with the canvas's size after every resize.
  std::function<void(QSize)> onResize;

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

// A frameless scroll area that resizes `canvas` to its viewport, never below
// the canvas's minimum size; the scroll area owns the canvas.
QScrollArea* scrollAreaFor(FormCanvas* canvas, QWidget* parent);

}  // namespace lkit
