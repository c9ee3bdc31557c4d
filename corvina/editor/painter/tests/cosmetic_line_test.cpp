#include "editor/painter/cosmetic_line.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <random>
#include <string>

namespace corvina::painter {
namespace {

constexpr QRgb kInk = 0xFF102030;

QImage blank(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(0xFFFFFFFF);
  return image;
}

// The line as the toolkit's painter draws it with the view's pens.
QImage paintedLine(int width, int height, CosmeticLine line, bool dotted) {
  QImage image = blank(width, height);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen{QColor::fromRgb(kInk)};
  pen.setWidth(1);
  pen.setCosmetic(true);
  if (dotted) pen.setDashPattern({3.0, 3.0});
  painter.setPen(pen);
  const QLine qline(line.x1, line.y1, line.x2, line.y2);
  painter.drawLines(&qline, 1);
  return image;
}

QImage ownLine(int width, int height, CosmeticLine line, bool dotted, int rowBegin = 0,
               int rowEnd = 1 << 30) {
  QImage image = blank(width, height);
  const PixelTarget target{reinterpret_cast<std::uint32_t*>(image.bits()),
                           image.bytesPerLine() / 4,
                           width,
                           height,
                           rowBegin,
                           rowEnd};
  drawCosmeticLine(target, line, dotted, kInk);
  return image;
}

std::string describe(CosmeticLine line, bool dotted) {
  return "(" + std::to_string(line.x1) + "," + std::to_string(line.y1) + ")-(" +
         std::to_string(line.x2) + "," + std::to_string(line.y2) + (dotted ? ") dotted" : ")");
}

TEST(CosmeticLine, SetsThePixelsThePainterSets) {
  struct Case {
    const char* name;
    int reach;  // end points within [-reach, size + reach]
    int count;
  };
  const Case cases[] = {
      {"inside the picture", 0, 3000},
      {"a few pixels outside", 6, 3000},
      {"far outside, clipped", 3000, 3000},
      {"a million pixels away", 1 << 20, 1000},
  };
  std::mt19937 random(20261209);
  const int width = 47, height = 33;
  for (const Case& c : cases) {
    std::uniform_int_distribution<int> x(-c.reach, width + c.reach);
    std::uniform_int_distribution<int> y(-c.reach, height + c.reach);
    std::uniform_int_distribution<int> nudge(-3, 3);
    for (int i = 0; i < c.count; ++i) {
      CosmeticLine line{x(random), y(random), x(random), y(random)};
      if (i % 4 == 0) {  // short lines and single points, as a dense model has
        line.x2 = line.x1 + nudge(random);
        line.y2 = line.y1 + nudge(random);
      }
      for (bool dotted : {false, true}) {
        ASSERT_EQ(ownLine(width, height, line, dotted), paintedLine(width, height, line, dotted))
            << c.name << ": " << describe(line, dotted);
      }
    }
  }
}

// The view draws a line between neighbouring pixels as its two end pixels,
// dotted or not; the painter agrees, up to the picture's edges.
TEST(CosmeticLine, ALineToANeighbouringPixelIsItsTwoEnds) {
  constexpr int kWidth = 6, kHeight = 5;
  for (const bool dotted : {false, true})
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const CosmeticLine line{x, y, x + dx, y + dy};
            if (line.x2 < 0 || line.y2 < 0 || line.x2 >= kWidth || line.y2 >= kHeight) continue;
            QImage ends = blank(kWidth, kHeight);
            ends.setPixel(line.x1, line.y1, kInk);
            ends.setPixel(line.x2, line.y2, kInk);
            EXPECT_EQ(paintedLine(kWidth, kHeight, line, dotted), ends) << describe(line, dotted);
          }
}

TEST(CosmeticLine, BandsTogetherDrawTheWholeLine) {
  std::mt19937 random(7);
  const int width = 40, height = 40;
  std::uniform_int_distribution<int> coordinate(-20, 60);
  for (int i = 0; i < 500; ++i) {
    const CosmeticLine line{coordinate(random), coordinate(random), coordinate(random),
                            coordinate(random)};
    for (bool dotted : {false, true}) {
      const QImage whole = ownLine(width, height, line, dotted);
      QImage banded = blank(width, height);
      for (int band = 0; band < 3; ++band) {
        const QImage part = ownLine(width, height, line, dotted, band * 14, band * 14 + 14);
        for (int y = band * 14; y < std::min(height, band * 14 + 14); ++y)
          for (int x = 0; x < width; ++x) banded.setPixel(x, y, part.pixel(x, y));
      }
      ASSERT_EQ(banded, whole) << describe(line, dotted);
    }
  }
}

}  // namespace
}  // namespace corvina::painter
