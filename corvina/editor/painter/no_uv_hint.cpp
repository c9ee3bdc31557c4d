#include "editor/painter/no_uv_hint.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <cmath>

namespace corvina::painter {

QStringList noUvHintLines() {
  return {QStringLiteral("This object has no"), QStringLiteral("UV texture coordinates"),
          QStringLiteral("use Edit->New UV Map"), QStringLiteral("to create some")};
}

QString firstAvailableFace(const QStringList& faces) {
  const QStringList installed = QFontDatabase::families();
  for (const QString& face : faces) {
    for (const QString& family : installed) {
      if (family.compare(face, Qt::CaseInsensitive) == 0) return family;
    }
  }
  return {};
}

QFont noUvHintFont(double pixelRatio) {
  QFont font;
  const QString face = firstAvailableFace({QStringLiteral("verdana"), QStringLiteral("arial")});
  if (!face.isEmpty()) font = QFont(face);
  // 10 points on a 96-dpi surface, whatever resolution the image claims.
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(10.0 * 96.0 / 72.0 * pixelRatio))));
  return font;
}

void drawNoUvHint(QPainter& painter, int width, int height, double pixelRatio) {
  painter.save();
  const QFont font = noUvHintFont(pixelRatio);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.setBackground(Qt::white);
  painter.setBackgroundMode(Qt::OpaqueMode);
  const QFontMetrics metrics(font);
  const int lineHeight = metrics.height();
  const QStringList lines = noUvHintLines();
  for (int i = 0; i < lines.size(); ++i) {
    const int textWidth = metrics.horizontalAdvance(lines[i]);
    const int left = (width - textWidth) / 2;
    const int top = height / 2 + (i - 2) * lineHeight;
    painter.drawText(QPoint(left, top + metrics.ascent()), lines[i]);
  }
  painter.restore();
}

}  // namespace corvina::painter
