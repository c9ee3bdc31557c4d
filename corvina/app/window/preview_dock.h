#pragma once
// PreviewDock: the "3D Preview" dock beside the texture-map view. It is made
// closed, and builds its contents the first time it opens: a texture choice
// over the preview widget, or, when no OpenGL context can be made here, a
// label that says so (the rest of the window does not depend on OpenGL).

#include <QDockWidget>

#include "app/application_state.h"
#include "editor/background/background_picture.h"
#include "preview/preview_options.h"

class QComboBox;
class QLabel;

namespace corvina::preview {
class PreviewWidget;
}

namespace corvina::window {

class PreviewDock : public QDockWidget {
 public:
  // Shows `app`'s model with `background` as its Background texture; both
  // must outlive the dock.
  PreviewDock(const ApplicationState& app, const background::BackgroundPicture& background,
              QWidget* parent = nullptr);

  // The model, selection, pending move or background may have changed:
  // the preview draws again with the next frame.
  void modelChanged();

  // The preview, or nullptr before the dock first opened and where OpenGL
  // is missing; the label that stands in for it then.
  preview::PreviewWidget* previewWidget() const { return widget_; }
  QLabel* unavailableLabel() const { return unavailable_; }
  QComboBox* textureChoice() const { return textureChoice_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildContents();

  const ApplicationState& app_;
  const background::BackgroundPicture& background_;
  preview::PreviewWidget* widget_ = nullptr;
  QLabel* unavailable_ = nullptr;
  QComboBox* textureChoice_ = nullptr;
};

}  // namespace corvina::window
