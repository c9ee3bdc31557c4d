#include "editor/painter/empty_view.h"

#include <algorithm>

namespace corvina::painter {

QImage emblemPicture() {
  // Decoded once: the picture never changes while the program runs.
  static const QImage picture(QStringLiteral(":/corvina/emblem.png"));
  return picture;
}

QPoint emblemOrigin(int width, int height) {
  return {std::max(0, (width - kEmblemWidth) / 2), std::max(0, (height - kEmblemHeight) / 2)};
}

void drawEmblem(QPainter& painter, int width, int height) {
  const QImage picture = emblemPicture();
  if (picture.isNull()) return;
  painter.drawImage(emblemOrigin(width, height), picture);
}

}  // namespace corvina::painter
