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

std::array<QRect, 8> frameHandles(const PixelRect& frame) {
  const QRect r = frameRect(frame);
  const int left = r.left();
  const int top = r.top();
  const int right = r.right() + 1 - kHandleSize;
  const int bottom = r.bottom() + 1 - kHandleSize;
  const int middleX = (r.left() + r.right() + 1) / 2 - kHandleSize / 2;
  const int middleY = (r.top() + r.bottom() + 1) / 2 - kHandleSize / 2;
  const QSize size(kHandleSize, kHandleSize);
  return {QRect(QPoint(left, top), size),     QRect(QPoint(middleX, top), size),
          QRect(QPoint(right, top), size),    QRect(QPoint(right, middleY), size),
          QRect(QPoint(right, bottom), size), QRect(QPoint(middleX, bottom), size),
          QRect(QPoint(left, bottom), size),  QRect(QPoint(left, middleY), size)};
}

void drawSelectionFrame(QPainter& painter, const PixelRect& frame) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(Qt::black);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frameRect(frame));
  for (const QRect& handle : frameHandles(frame)) painter.fillRect(handle, Qt::black);
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
