#include "editor/background/background_picture.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "editor/background/bmp_header.h"
#include "editor/background/tests/bmp_bytes.h"

namespace corvina::background {
namespace {

using testing::bmpFile;
using testing::expectedColorAt;
using testing::put16;
using testing::put32;

QRgb rgbAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

void expectPictureMatches(const QImage& image, int bitsPerPixel, bool mirroredX, bool mirroredY) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int sourceX = mirroredX ? image.width() - 1 - x : x;
      const int sourceY = mirroredY ? image.height() - 1 - y : y;
      ASSERT_EQ(rgbAt(image, x, y),
                expectedColorAt(sourceX, sourceY, bitsPerPixel).rgb() & 0xFFFFFFu)
          << bitsPerPixel << " bpp at " << x << "," << y;
    }
}

TEST(BackgroundPicture, LoadsEveryDepthWithItsPixelsAndDeclaredDepth) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    BackgroundPicture background;
    background.toggleDisplay();  // off: a load switches it back on
    ASSERT_TRUE(background.loadBytes(bmpFile(7, 5, bpp))) << bpp;
    EXPECT_EQ(background.bitsPerPixel(), bpp);
    EXPECT_TRUE(background.displayOn());
    ASSERT_EQ(background.picture().size(), QSize(7, 5));
    expectPictureMatches(background.picture(), bpp, false, false);
  }
}

TEST(BackgroundPicture, VerticalFlipWorksAtEveryDepthHorizontalOnlyFromEightBits) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    BackgroundPicture background;
    ASSERT_TRUE(background.loadBytes(bmpFile(5, 3, bpp)));  // odd width
    EXPECT_EQ(background.flipVertically(), FlipOutcome::Flipped);
    expectPictureMatches(background.picture(), bpp, false, true);
    const FlipOutcome horizontal = background.flipHorizontally();
    if (bpp < 8) {
      EXPECT_EQ(horizontal, FlipOutcome::TooFewColours) << bpp;
      expectPictureMatches(background.picture(), bpp, false, true);  // untouched
    } else {
      EXPECT_EQ(horizontal, FlipOutcome::Flipped) << bpp;
      expectPictureMatches(background.picture(), bpp, true, true);
      background.flipHorizontally();
    }
    background.flipVertically();  // twice the same way restores the picture
    expectPictureMatches(background.picture(), bpp, false, false);
  }
}

TEST(BackgroundPicture, SingleRowOrColumnIsUnchangedByItsFlip) {
  BackgroundPicture row;
  ASSERT_TRUE(row.loadBytes(bmpFile(6, 1, 24)));
  row.flipVertically();
  expectPictureMatches(row.picture(), 24, false, false);
  BackgroundPicture column;
  ASSERT_TRUE(column.loadBytes(bmpFile(1, 6, 24)));
  column.flipHorizontally();
  expectPictureMatches(column.picture(), 24, false, false);
}

TEST(BackgroundPicture, DisplaySwitchHidesThePictureAndClearReleasesIt) {
  BackgroundPicture background;
  EXPECT_EQ(background.shown(), nullptr);
  background.toggleDisplay();
  EXPECT_FALSE(background.displayOn());
  EXPECT_EQ(background.shown(), nullptr);  // no picture: only the switch moved
  ASSERT_TRUE(background.loadBytes(bmpFile(3, 3, 8)));
  ASSERT_NE(background.shown(), nullptr);
  background.toggleDisplay();
  EXPECT_EQ(background.shown(), nullptr);
  EXPECT_TRUE(background.hasPicture());
  background.toggleDisplay();
  background.clear();
  EXPECT_FALSE(background.hasPicture());
  EXPECT_EQ(background.shown(), nullptr);
}

TEST(BackgroundPicture, SecondLoadReplacesTheFirstAndAFailedLoadKeepsIt) {
  BackgroundPicture background;
  ASSERT_TRUE(background.loadBytes(bmpFile(3, 3, 8)));
  ASSERT_TRUE(background.loadBytes(bmpFile(4, 2, 24)));
  EXPECT_EQ(background.picture().size(), QSize(4, 2));
  EXPECT_FALSE(background.loadBytes(QByteArray("not a picture")));
  EXPECT_EQ(background.picture().size(), QSize(4, 2));
  EXPECT_EQ(background.bitsPerPixel(), 24);
}

TEST(BackgroundPicture, LoadsFromAFileAndRefusesAMissingOne) {
  QTemporaryDir folder;
  const QString path = folder.filePath("picture.bmp");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bmpFile(9, 4, 4));
  file.close();
  BackgroundPicture background;
  EXPECT_TRUE(background.load(path.toStdString()));
  EXPECT_EQ(background.bitsPerPixel(), 4);
  EXPECT_FALSE(background.load(folder.filePath("missing.bmp").toStdString()));
  EXPECT_FALSE(background.load(folder.path().toStdString()));  // a folder
}

struct BadFileCase {
  const char* name;
  std::function<void(QByteArray&)> spoil;
};

TEST(BackgroundPicture, BrokenOrLyingHeadersAreRefusedBeforeReading) {
  const BadFileCase cases[] = {
      {"empty", [](QByteArray& b) { b.clear(); }},
      {"headers cut short", [](QByteArray& b) { b.truncate(30); }},
      {"pixel rows cut short", [](QByteArray& b) { b.chop(5); }},
      {"not BM", [](QByteArray& b) { b[0] = 'X'; }},
      {"zero width", [](QByteArray& b) { put32(b, 18, 0); }},
      {"negative width", [](QByteArray& b) { put32(b, 18, -4); }},
      {"zero height", [](QByteArray& b) { put32(b, 22, 0); }},
      {"lowest height", [](QByteArray& b) { put32(b, 22, INT32_MIN); }},
      {"huge width", [](QByteArray& b) { put32(b, 18, 0x7FFFFFFF); }},
      {"huge picture, few bytes",
       [](QByteArray& b) {
         put32(b, 18, 60000);
         put32(b, 22, 60000);
       }},
      {"two planes", [](QByteArray& b) { put16(b, 26, 2); }},
      {"seven bits per pixel", [](QByteArray& b) { put16(b, 28, 7); }},
      {"zero bits per pixel", [](QByteArray& b) { put16(b, 28, 0); }},
      {"JPEG inside", [](QByteArray& b) { put32(b, 30, 4); }},
      {"RLE4 on 24 bits", [](QByteArray& b) { put32(b, 30, 2); }},
      {"unknown info header size", [](QByteArray& b) { put32(b, 14, 41); }},
      {"info header beyond the file", [](QByteArray& b) { put32(b, 14, 124); }},
      {"pixels offset beyond the file", [](QByteArray& b) { put32(b, 10, 0x7FFFFFF0); }},
      {"pixels offset inside the headers", [](QByteArray& b) { put32(b, 10, 20); }},
  };
  for (const BadFileCase& c : cases) {
    QByteArray bytes = bmpFile(6, 4, 24);
    c.spoil(bytes);
    BackgroundPicture background;
    EXPECT_FALSE(background.loadBytes(bytes)) << c.name;
    EXPECT_FALSE(background.hasPicture()) << c.name;
  }
}

TEST(BackgroundPicture, PaletteLiesAreRefused) {
  QByteArray tooManyColours = bmpFile(4, 4, 4);
  put32(tooManyColours, 46, 17);  // 4 bits can index 16 colours
  EXPECT_FALSE(
      checkBmpHeader(std::span(reinterpret_cast<const std::uint8_t*>(tooManyColours.constData()),
                               static_cast<std::size_t>(tooManyColours.size()))));
  QByteArray runLength = bmpFile(4, 4, 8);
  put32(runLength, 30, 1);  // RLE8 claiming 40000 x 40000 from a few bytes
  put32(runLength, 18, 40000);
  put32(runLength, 22, 40000);
  BackgroundPicture background;
  EXPECT_FALSE(background.loadBytes(runLength));
}

TEST(BmpHeader, ReportsTheFileOwnFacts) {
  const QByteArray bytes = bmpFile(11, 3, 16);
  const auto facts =
      checkBmpHeader(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->width, 11);
  EXPECT_EQ(facts->height, 3);
  EXPECT_EQ(facts->bitsPerPixel, 16);
  EXPECT_EQ(facts->compression, 0);
}

}  // namespace
}  // namespace corvina::background
