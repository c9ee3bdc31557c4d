#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <vector>

#include "editor/background/background_picture.h"
#include "editor/background/bmp_header.h"
#include "editor/background/tests/bmp_bytes.h"

namespace corvina::background {
namespace {

using testing::paletteColor;
using testing::runLengthBmpFile;

// The picture drawn as the view draws it: stretched over the whole area,
// every source pixel copied without filtering.
QImage render(const QImage& picture, int width, int height) {
  QImage view(width, height, QImage::Format_ARGB32);
  view.fill(Qt::white);
  QPainter painter(&view);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, width, height), picture);
  painter.end();
  return view;
}

QRgb opaque(const QColor& colour) {
  return colour.rgb() | 0xFF000000u;
}

TEST(RunLengthPicture, PixelsTheCodesSkipAreColourZeroEveryTime) {
  // 6 x 3 pixels, 16 colours, data "end of picture": 120 bytes in all.
  const QByteArray file = runLengthBmpFile(6, 3, 4, 16, {0x00, 0x01});
  ASSERT_EQ(file.size(), 120);
  BackgroundPicture first, second;
  ASSERT_TRUE(first.loadBytes(file));
  ASSERT_TRUE(second.loadBytes(file));
  const QImage a = render(first.picture(), 60, 30);
  const QImage b = render(second.picture(), 60, 30);
  EXPECT_EQ(a, b);
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      ASSERT_EQ(a.pixel(x, y), opaque(paletteColor(0))) << x << "," << y;
}

struct ColourTableCase {
  const char* name;
  int bitsPerPixel;
  int colours;  // palette entries the file holds
  std::vector<std::uint8_t> data;
  std::vector<int> bottomRow;  // expected palette index, -1 for black padding
};

TEST(RunLengthPicture, ColourTableIsPaddedToTheDepthsFullSize) {
  const ColourTableCase cases[] = {
      {"RLE8 index beyond 4 colours", 8, 4, {0x02, 0x03, 0x02, 0xC8, 0x00, 0x01}, {3, 3, -1, -1}},
      {"RLE8 full table", 8, 256, {0x01, 0xC8, 0x03, 0x01, 0x00, 0x01}, {200, 1, 1, 1}},
      {"RLE4 index beyond 2 colours", 4, 2, {0x04, 0x19, 0x00, 0x01}, {1, -1, 1, -1}},
      {"RLE4 full table", 4, 16, {0x04, 0x1F, 0x00, 0x01}, {1, 15, 1, 15}},
  };
  for (const ColourTableCase& c : cases) {
    BackgroundPicture background;
    ASSERT_TRUE(background.loadBytes(runLengthBmpFile(4, 2, c.bitsPerPixel, c.colours, c.data)))
        << c.name;
    const QImage& picture = background.picture();
    EXPECT_EQ(picture.colorCount(), 1 << c.bitsPerPixel) << c.name;
    EXPECT_EQ(background.bitsPerPixel(), c.bitsPerPixel) << c.name;
    for (int x = 0; x < 4; ++x) {
      const QRgb expected =
          c.bottomRow[x] < 0 ? qRgb(0, 0, 0) : opaque(paletteColor(c.bottomRow[x]));
      EXPECT_EQ(picture.pixel(x, 1), expected) << c.name << " at " << x;
      EXPECT_EQ(picture.pixel(x, 0), opaque(paletteColor(0))) << c.name << " top row at " << x;
    }
  }
}

TEST(RunLengthPicture, FullyCodedFilesLoadAsTheImageReaderLoadsThem) {
  // Every pixel set by runs and absolute runs, ended properly.
  const QByteArray files[] = {
      runLengthBmpFile(6, 3, 8, 256,
                       {0x02, 0x05, 0x00, 0x04, 0x10, 0x20, 0x30, 0x40, 0x00, 0x00,  //
                        0x06, 0x80, 0x00, 0x00,                                      //
                        0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x03, 0xFF, 0x00, 0x01}),
      runLengthBmpFile(6, 2, 4, 16,
                       {0x06, 0x1E, 0x00, 0x00,  //
                        0x00, 0x05, 0x23, 0x45, 0x60, 0x00, 0x01, 0x70, 0x00, 0x01}),
  };
  for (const QByteArray& file : files) {
    QByteArray copy = file;
    QBuffer buffer(&copy);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer, "bmp");
    const QImage expected = reader.read();
    ASSERT_FALSE(expected.isNull());
    BackgroundPicture background;
    ASSERT_TRUE(background.loadBytes(file));
    const QImage& picture = background.picture();
    ASSERT_EQ(picture.size(), expected.size());
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        ASSERT_EQ(picture.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
  }
}

TEST(RunLengthPicture, FlipsFollowTheFilesDepth) {
  BackgroundPicture eight;
  ASSERT_TRUE(eight.loadBytes(runLengthBmpFile(
      3, 2, 8, 256, {0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x00, 0x00, 0x03, 0x09, 0x00, 0x01})));
  EXPECT_EQ(eight.flipHorizontally(), FlipOutcome::Flipped);
  EXPECT_EQ(eight.picture().pixelIndex(0, 1), 3);
  EXPECT_EQ(eight.picture().pixelIndex(2, 1), 1);
  EXPECT_EQ(eight.flipVertically(), FlipOutcome::Flipped);
  EXPECT_EQ(eight.picture().pixelIndex(0, 0), 3);
  EXPECT_EQ(eight.picture().pixelIndex(1, 1), 9);
  BackgroundPicture four;
  ASSERT_TRUE(four.loadBytes(runLengthBmpFile(3, 2, 4, 16, {0x03, 0x12, 0x00, 0x01})));
  EXPECT_EQ(four.flipHorizontally(), FlipOutcome::TooFewColours);
  EXPECT_EQ(four.picture().pixelIndex(1, 1), 2);
}

TEST(RunLengthPicture, HeaderFactsLocateTheColoursAndPixels) {
  const QByteArray file = runLengthBmpFile(5, -2, 4, 3, {0x00, 0x01});
  const auto facts =
      checkBmpHeader(std::span(reinterpret_cast<const std::uint8_t*>(file.constData()),
                               static_cast<std::size_t>(file.size())));
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->height, 2);
  EXPECT_TRUE(facts->topDown);
  EXPECT_EQ(facts->compression, kRunLength4);
  EXPECT_EQ(facts->paletteOffset, 54u);
  EXPECT_EQ(facts->paletteEntries, 3);
  EXPECT_EQ(facts->pixelOffset, 54u + 12u);
}

}  // namespace
}  // namespace corvina::background
