#include "editor/painter/map_field.h"

#include <QPainter>
#include <algorithm>

#include "editor/painter/view_scene.h"
#include "editor/tracker.h"

namespace corvina::painter {

namespace {

// The square's pixels, left to right and top to bottom inclusive; view
// coordinate 1 lands on the last.
QRect squareRect(const SquarePlacement& square) {
  return QRect(square.left, square.top, square.size.width, square.size.height);
}

}  // namespace

int markSize(double pixelRatio) {
  return trackerHandleSize(pixelRatio);
}

QColor outsideSquareColor() {
  return QColor(200, 200, 200);
}

QColor squareOutlineColor() {
  return QColor(90, 90, 90);
}

void drawMapField(QImage& image, const QImage* background, const SquarePlacement& square) {
  const bool showBackground = background != nullptr && !background->isNull();
  const ViewSize view{image.width(), image.height()};
  if (fillsView(square, view)) {
    if (showBackground) {
      QPainter painter(&image);
      // Every source pixel copied to its stretched place, no filtering.
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
      painter.drawImage(QRect(0, 0, view.width, view.height), *background);
    } else {
      image.fill(Qt::white);
    }
    return;
  }
  image.fill(outsideSquareColor());
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QRect inside = squareRect(square);
  const QRect shown = inside.intersected(image.rect());
  if (showBackground && !shown.isEmpty()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Only the part of the stretched picture that shows is drawn: the
    // square may be far larger than the view.
    const double scaleX = static_cast<double>(background->width()) / inside.width();
    const double scaleY = static_cast<double>(background->height()) / inside.height();
    const QRectF source((shown.left() - inside.left()) * scaleX,
                        (shown.top() - inside.top()) * scaleY, shown.width() * scaleX,
                        shown.height() * scaleY);
    painter.drawImage(QRectF(shown), *background, source);
  } else {
    painter.fillRect(shown, Qt::white);
  }
  const QRect ring = inside.adjusted(-1, -1, 1, 1);
  const QColor outline = squareOutlineColor();
  painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), outline);
  painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), outline);
  painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), outline);
  painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), outline);
}

}  // namespace corvina::painter
