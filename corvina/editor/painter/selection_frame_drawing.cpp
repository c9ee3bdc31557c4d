#include "editor/painter/selection_frame_drawing.h"

#include <QPen>
#include <algorithm>

namespace corvina::painter {

QRect frameRect(const PixelRect& frame) {
  const int left = std::min(frame.left, frame.right);
  const int right = std::max(frame.left, frame.right);
  const int top = std::min(frame.top, frame.bottom);
  const int bottom = std::max(frame.top, frame.bottom);
  return QRect(QPoint(left, top), QPoint(std::max(left, right - 1), std::max(top, bottom - 1)));
}

void drawSelectionFrame(QPainter& painter, const PixelRect& frame, int handleSize) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  // The outline covers the rectangle's outermost pixels, as the tracker's
  // hit test and handles count them. (A stroked QRect would reach one pixel
  // past its right() and bottom().)
  const QRect ring = frameRect(frame);
  painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), Qt::black);
  painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), Qt::black);
  painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), Qt::black);
  painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), Qt::black);
  for (const TrackerHandle& handle : trackerHandles(frame, handleSize)) {
    const PixelRect& r = handle.rect;
    painter.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), Qt::black);
  }
  painter.restore();
}

void drawRubberBand(QPainter& painter, const QRect& band) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  QPen light(Qt::white);
  light.setCosmetic(true);
  painter.setPen(light);
  painter.drawRect(band.normalized());
  QPen dots(Qt::black);
  dots.setCosmetic(true);
  dots.setDashPattern({2.0, 2.0});
  painter.setPen(dots);
  painter.drawRect(band.normalized());
  painter.restore();
}

}  // namespace corvina::painter
