#pragma once

#include <QLabel>
#include <QString>

namespace lkit {

// A one-line label for a path: text() is the whole path, the label shows it
// elided in the middle when it is wider than the label (where the path starts
// and how it ends stay readable), and the tooltip holds the whole path.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(QWidget* parent = nullptr) : QLabel(parent) {}

  // Sets the whole path shown and its tooltip.
  void setPath(const QString& path);

  // The text as the label shows it in its current width.
  QString shownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace lkit
