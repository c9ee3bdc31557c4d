// Draws the pictures the programs ship: the empty view's 160 x 213 emblem and
// the icons of corvina and lkit. Run by hand when the artwork changes; its
// output is kept in the source tree:
//   draw_artwork EMBLEM.png CORVINA_ICON.png LKIT_ICON.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kInk(43, 52, 64);
const QColor kPaper(243, 239, 228);
const QColor kChecker(217, 210, 191);
const QColor kRed(192, 0, 0);

// A checkered texture square with a small triangle mesh over it and a dashed
// selection frame with handles: what corvina is for, in one picture.
void drawUvSquare(QPainter& p, const QRectF& square) {
  const double cell = square.width() / 4;
  p.fillRect(square, Qt::white);
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      if ((row + column) % 2 == 0)
        p.fillRect(QRectF(square.left() + column * cell, square.top() + row * cell, cell, cell),
                   kChecker);
  p.setPen(QPen(kInk, square.width() / 60));
  p.setBrush(Qt::NoBrush);
  p.drawRect(square);
  auto at = [&](double x, double y) {
    return QPointF(square.left() + x * square.width(), square.top() + y * square.height());
  };
  const QPointF a = at(0.10, 0.87), b = at(0.33, 0.17), c = at(0.58, 0.52), d = at(0.80, 0.12),
                e = at(0.90, 0.67), f = at(0.52, 0.90);
  QPen mesh(QColor(29, 29, 29), square.width() / 60);
  mesh.setJoinStyle(Qt::RoundJoin);
  p.setPen(mesh);
  for (const auto& triangle : {std::array{a, b, c}, std::array{b, d, c}, std::array{c, d, e},
                               std::array{a, c, f}, std::array{f, c, e}}) {
    p.drawPolygon(triangle.data(), 3);
  }
  QPen dashed(kRed, square.width() / 60, Qt::DashLine);
  p.setPen(dashed);
  const QRectF frame(at(0.47, 0.45), at(0.93, 0.93));
  p.drawRect(frame);
  const double handle = square.width() / 24;
  for (const QPointF& corner :
       {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
    p.fillRect(QRectF(corner.x() - handle / 2, corner.y() - handle / 2, handle, handle), kRed);
}

QImage emblem() {
  QImage image(160, 213, QImage::Format_ARGB32);
  image.fill(QColor(109, 109, 109));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRoundedRect(QRectF(0, 0, 160, 213), 10, 10);
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(4, 4, 152, 205), 8, 8);
  drawUvSquare(p, QRectF(20, 18, 120, 120));
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(24);
  title.setBold(true);
  p.setFont(title);
  p.setPen(kInk);
  p.drawText(QRectF(0, 146, 160, 30), Qt::AlignCenter, QStringLiteral("Corvina"));
  QFont subtitle(QStringLiteral("DejaVu Sans"));
  subtitle.setPixelSize(11);
  p.setFont(subtitle);
  p.setPen(QColor(90, 98, 112));
  p.drawText(QRectF(0, 176, 160, 20), Qt::AlignCenter, QStringLiteral("texture map editor"));
  p.end();
  // The emblem is a 256-colour picture.
  return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

QImage corvinaIcon() {
  QImage image(256, 256, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRoundedRect(QRectF(8, 8, 240, 240), 36, 36);
  drawUvSquare(p, QRectF(40, 40, 176, 176));
  return image;
}

// lkit gathers a project's files into categories: a folder with sorted sheets.
QImage lkitIcon() {
  QImage image(256, 256, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(38, 84, 124));
  p.drawRoundedRect(QRectF(8, 8, 240, 240), 36, 36);
  QPainterPath folder;
  folder.moveTo(40, 84);
  folder.lineTo(104, 84);
  folder.lineTo(120, 100);
  folder.lineTo(216, 100);
  folder.lineTo(216, 208);
  folder.lineTo(40, 208);
  folder.closeSubpath();
  p.setBrush(QColor(240, 196, 92));
  p.drawPath(folder);
  const QColor sheets[] = {QColor(255, 255, 255), QColor(236, 240, 244), QColor(214, 224, 232)};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(sheets[i]);
    p.drawRect(QRectF(60 + i * 14, 56 + i * 14, 120, 96));
    p.setBrush(QColor(38, 84, 124));
    for (int line = 0; line < 3; ++line)
      p.drawRect(QRectF(72 + i * 14, 72 + i * 14 + line * 16, 80 - line * 16, 6));
  }
  p.setBrush(QColor(250, 214, 120));
  p.drawRect(QRectF(40, 136, 176, 72));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: draw_artwork EMBLEM.png CORVINA_ICON.png LKIT_ICON.png\n");
    return 2;
  }
  const bool written = emblem().save(QString::fromLocal8Bit(argv[1])) &&
                       corvinaIcon().save(QString::fromLocal8Bit(argv[2])) &&
                       lkitIcon().save(QString::fromLocal8Bit(argv[3]));
  return written ? 0 : 1;
}
