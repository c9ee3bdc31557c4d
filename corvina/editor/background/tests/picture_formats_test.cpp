// Backgrounds in the formats Qt's image plugins read: each loads with its
// pixels, flips both ways, and stays under the pixel limit; BMP keeps its own
// reader.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "editor/background/background_picture.h"
#include "editor/background/bmp_header.h"
#include "editor/background/tests/bmp_bytes.h"

namespace corvina::background {
namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, quality)) << format;
  return bytes;
}

// An uncompressed true-colour TGA (Qt reads the format but does not write it),
// rows stored from the top, with the footer of the format's second version,
// without which Qt's reader does not take a file.
QByteArray tgaFile(const QImage& image) {
  QByteArray bytes(18, '\0');
  bytes[2] = 2;  // uncompressed true colour
  bytes[12] = static_cast<char>(image.width() & 0xFF);
  bytes[13] = static_cast<char>(image.width() >> 8);
  bytes[14] = static_cast<char>(image.height() & 0xFF);
  bytes[15] = static_cast<char>(image.height() >> 8);
  bytes[16] = 24;
  bytes[17] = 0x20;  // the first row is the top one
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      bytes.append(static_cast<char>(qBlue(c)));
      bytes.append(static_cast<char>(qGreen(c)));
      bytes.append(static_cast<char>(qRed(c)));
    }
  bytes.append(QByteArray(8, '\0'));  // no extension or developer area
  bytes.append("TRUEVISION-XFILE.", 17);
  bytes.append('\0');
  return bytes;
}

// Four blocks of 8 x 8 pixels in four colours: survives lossy compression.
const QRgb kBlocks[2][2] = {{qRgb(230, 20, 20), qRgb(20, 200, 20)},
                            {qRgb(20, 20, 220), qRgb(240, 240, 30)}};

QImage blockPicture() {
  QImage image(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) image.setPixel(x, y, kBlocks[y / 8][x / 8]);
  return image;
}

bool near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The block centres hold the colours of the blocks, mirrored as asked.
void expectBlocks(const QImage& picture, bool mirroredX, bool mirroredY, int tolerance) {
  ASSERT_EQ(picture.size(), QSize(16, 16));
  for (int by = 0; by < 2; ++by)
    for (int bx = 0; bx < 2; ++bx) {
      const QRgb expected = kBlocks[mirroredY ? 1 - by : by][mirroredX ? 1 - bx : bx];
      const QRgb actual = picture.pixel(bx * 8 + 4, by * 8 + 4);
      EXPECT_TRUE(near(actual, expected, tolerance))
          << "block " << bx << "," << by << ": " << std::hex << actual << " not " << expected;
    }
}

TEST(PictureFormats, EveryFormatLoadsAndFlipsBothWays) {
  struct Case {
    const char* name;
    QByteArray bytes;
    int tolerance;  // the lossy formats move colours a little
  };
  const QImage blocks = blockPicture();
  const Case cases[] = {
      {"png", encoded(blocks, "PNG"), 0},   {"jpeg", encoded(blocks, "JPEG", 95), 24},
      {"tiff", encoded(blocks, "TIFF"), 0}, {"webp", encoded(blocks, "WEBP", 90), 24},
      {"tga", tgaFile(blocks), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BackgroundPicture background;
    background.toggleDisplay();  // off: a load switches it back on
    ASSERT_TRUE(background.loadBytes(c.bytes));
    EXPECT_FALSE(background.isBmp());
    EXPECT_TRUE(background.displayOn());
    expectBlocks(background.picture(), false, false, c.tolerance);
    EXPECT_EQ(background.flipHorizontally(), FlipOutcome::Flipped);
    expectBlocks(background.picture(), true, false, c.tolerance);
    EXPECT_EQ(background.flipVertically(), FlipOutcome::Flipped);
    expectBlocks(background.picture(), true, true, c.tolerance);
  }
}

QRgb gradientAt(int x, int y) {
  return qRgb(40 * x + 10, 70 * y + 5, 15 * (x + y) + 100);
}

TEST(PictureFormats, LosslessFormatsKeepEveryPixelThroughTheFlips) {
  QImage gradient(5, 3, QImage::Format_RGB32);  // odd width
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) gradient.setPixel(x, y, gradientAt(x, y));
  for (const QByteArray& bytes :
       {encoded(gradient, "PNG"), encoded(gradient, "TIFF"), tgaFile(gradient)}) {
    BackgroundPicture background;
    ASSERT_TRUE(background.loadBytes(bytes));
    background.flipHorizontally();
    background.flipVertically();
    const QImage& picture = background.picture();
    ASSERT_EQ(picture.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(picture.pixel(x, y) & 0xFFFFFFu, gradientAt(4 - x, 2 - y) & 0xFFFFFFu)
            << x << "," << y;
  }
}

TEST(PictureFormats, FewColourPicturesFlipBothWaysExceptAsBmp) {
  QImage mono(5, 3, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mono.fill(0);
  mono.setPixel(0, 0, 1);  // the top-left pixel white
  BackgroundPicture png;
  ASSERT_TRUE(png.loadBytes(encoded(mono, "PNG")));
  EXPECT_EQ(png.flipHorizontally(), FlipOutcome::Flipped);
  EXPECT_EQ(png.picture().pixel(4, 0) & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(png.picture().pixel(0, 0) & 0xFFFFFFu, 0u);
  // The same depth as a BMP keeps the refusal.
  BackgroundPicture bmp;
  ASSERT_TRUE(bmp.loadBytes(testing::bmpFile(5, 3, 1)));
  EXPECT_TRUE(bmp.isBmp());
  EXPECT_EQ(bmp.flipHorizontally(), FlipOutcome::TooFewColours);
}

TEST(PictureFormats, PicturesOverThePixelLimitAreRefusedAndTheOldOneStays) {
  BackgroundPicture background;
  ASSERT_TRUE(background.loadBytes(encoded(blockPicture(), "PNG")));
  // 8192 x 8192 is the limit itself; one column more is refused, as is a
  // header that announces 65535 x 65535 pixels it does not hold.
  QImage atLimit(8192, 8192, QImage::Format_Mono);
  atLimit.fill(0);
  QImage overLimit(8193, 8192, QImage::Format_Mono);
  overLimit.fill(0);
  ASSERT_EQ(std::int64_t{8192} * 8192, kMaxBackgroundPixels);
  QByteArray huge = tgaFile(QImage(1, 1, QImage::Format_RGB32));
  huge[12] = huge[13] = huge[14] = huge[15] = static_cast<char>(0xFF);
  for (const QByteArray& refused : {encoded(overLimit, "PNG"), huge}) {
    EXPECT_FALSE(background.loadBytes(refused));
    EXPECT_EQ(background.picture().size(), QSize(16, 16));
  }
  EXPECT_TRUE(background.loadBytes(encoded(atLimit, "PNG")));
  EXPECT_EQ(background.picture().size(), QSize(8192, 8192));
}

TEST(PictureFormats, BmpComesOnlyThroughItsOwnReader) {
  const QByteArray png = encoded(blockPicture(), "PNG");
  struct Case {
    const char* name;
    QByteArray bytes;
    bool namedBmp;
    bool loads;
    bool bmp;
  };
  const Case cases[] = {
      {"png", png, false, true, false},
      {"png named .bmp", png, true, false, false},
      {"bmp by its signature", testing::bmpFile(4, 4, 24), false, true, true},
      {"bmp named .bmp", testing::bmpFile(4, 4, 8), true, true, true},
      {"bmp signature, broken header", QByteArray("BM but nothing else"), false, false, false},
      {"words", QByteArray("nothing a picture reader knows"), false, false, false},
      {"nothing", QByteArray(), false, false, false},
  };
  for (const Case& c : cases) {
    BackgroundPicture background;
    EXPECT_EQ(background.loadBytes(c.bytes, c.namedBmp), c.loads) << c.name;
    EXPECT_EQ(background.isBmp(), c.bmp) << c.name;
    EXPECT_EQ(background.hasPicture(), c.loads) << c.name;
  }
}

TEST(PictureFormats, FilesAreReadByContentAndBmpByName) {
  QTemporaryDir folder;
  auto write = [&folder](const char* name, const QByteArray& bytes) {
    QFile file(folder.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return folder.filePath(name).toStdString();
  };
  const QByteArray jpeg = encoded(blockPicture(), "JPEG", 95);
  BackgroundPicture background;
  EXPECT_TRUE(background.load(write("painted.jpg", jpeg)));
  EXPECT_TRUE(background.load(write("painted.png", jpeg)));   // the name does not matter
  EXPECT_FALSE(background.load(write("painted.BMP", jpeg)));  // except a BMP's
  EXPECT_FALSE(background.load(folder.filePath("absent.png").toStdString()));
  EXPECT_EQ(background.picture().size(), QSize(16, 16));
}

}  // namespace
}  // namespace corvina::background
