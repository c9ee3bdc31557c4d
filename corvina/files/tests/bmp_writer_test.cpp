// The BMP writer: header bytes, palette, row order and padding, failures, and
// the file as an independent reader (Pillow) sees it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/bmp_writer.h"
#include "testing/counting_progress.h"
#include "testing/external_tools.h"
#include "testing/file_bytes.h"

namespace corvina {
namespace {

using testing::readBytes;
using testing::ScratchFolder;

std::string hexOf(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

BmpPalette randomPalette(unsigned seed) {
  std::mt19937 random(seed);
  BmpPalette palette;
  for (BmpColor& colour : palette) {
    colour = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
              static_cast<std::uint8_t>(random())};
  }
  return palette;
}

std::vector<std::uint8_t> randomPixels(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
  for (std::uint8_t& pixel : pixels) pixel = static_cast<std::uint8_t>(random());
  return pixels;
}

// The picture's pixel (x, y) with y = 0 the top row, as an image viewer
// shows it: raster row 0 is at the bottom unless flipped.
std::uint8_t shownPixel(const std::vector<std::uint8_t>& pixels, int width, int height,
                        BmpLayout layout, int x, int y) {
  const int row = layout.flipVertically ? y : height - 1 - y;
  const int column = layout.flipHorizontally ? width - 1 - x : x;
  return pixels[static_cast<std::size_t>(row) * width + column];
}

TEST(BmpHeaders, GoldenBytesOfA513By2Picture) {
  const auto headers = bmpHeaders(513, 2);
  const std::string expected =
      "424d"      // "BM"
      "3e080000"  // 1078 + 516 * 2 = 2110
      "00000000"  // reserved
      "36040000"  // pixels at 1078
      "28000000"  // information header of 40 bytes
      "01020000"  // width 513
      "02000000"  // height 2, bottom row first
      "0100"      // one plane
      "0800"      // 8 bits per pixel
      "00000000"  // no compression
      "00000000"  // image size
      "0000000000000000"
      "0000000000000000";
  EXPECT_EQ(hexOf(std::string(headers.begin(), headers.end())), expected);
}

TEST(BmpHeaders, RowStrideRoundsUpToFour) {
  const std::vector<std::pair<int, std::size_t>> cases = {
      {1, 4}, {3, 4}, {4, 4}, {5, 8}, {512, 512}, {513, 516}, {8192, 8192}};
  for (const auto& [width, stride] : cases) EXPECT_EQ(bmpRowStride(width), stride) << width;
}

TEST(BmpFile, BytesOfASmallPictureInEveryLayout) {
  // 3 x 2 picture: raster row 0 = 1 2 3, row 1 = 4 5 6; rows padded to 4.
  const std::vector<std::uint8_t> pixels = {1, 2, 3, 4, 5, 6};
  struct Case {
    BmpLayout layout;
    std::string rows;
  };
  const std::vector<Case> cases = {
      {{false, false},
       "01020300"
       "04050600"},
      {{true, false},
       "04050600"
       "01020300"},
      {{false, true},
       "03020100"
       "06050400"},
      {{true, true},
       "06050400"
       "03020100"},
  };
  BmpPalette palette{};
  palette[1] = {255, 0, 0};
  palette[255] = {255, 255, 255};
  ScratchFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.file("small.bmp");
    testing::CountingProgress ui;
    ASSERT_EQ(writeBmpFile(path, 3, 2, pixels, palette, c.layout, ui), BmpWriteOutcome::Written);
    const std::string bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 1078u + 8u);
    EXPECT_EQ(hexOf(bytes.substr(1078)), c.rows);
    EXPECT_EQ(hexOf(bytes.substr(54, 8)),
              "00000000"
              "0000ff00");  // blue, green, red, 0
    EXPECT_EQ(hexOf(bytes.substr(54 + 255 * 4, 4)), "ffffff00");
    EXPECT_EQ(ui.progressSteps, 2);
  }
}

TEST(BmpFile, SizesFollowThePaddedRows) {
  struct Case {
    int width, height;
    std::uintmax_t size;
  };
  const std::vector<Case> cases = {
      {512, 512, 263222}, {513, 3, 1078 + 516 * 3}, {1, 1, 1082}, {1, 7, 1078 + 4 * 7}};
  ScratchFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.file("sized.bmp");
    testing::CountingProgress ui;
    const auto pixels = randomPixels(c.width, c.height, 3);
    ASSERT_EQ(writeBmpFile(path, c.width, c.height, pixels, BmpPalette{}, {}, ui),
              BmpWriteOutcome::Written);
    EXPECT_EQ(std::filesystem::file_size(path), c.size) << c.width << "x" << c.height;
    const std::string bytes = readBytes(path);
    // Padding bytes are zero.
    const std::size_t stride = bmpRowStride(c.width);
    for (int row = 0; row < c.height; ++row) {
      for (std::size_t pad = c.width; pad < stride; ++pad) {
        ASSERT_EQ(bytes[1078 + row * stride + pad], 0) << "row " << row;
      }
    }
  }
}

TEST(BmpFile, RefusesWhatIsNoPictureAndLeavesTheTargetAlone) {
  ScratchFolder folder;
  const std::string path = folder.file("kept.bmp");
  testing::writeBytes(path, "previous");
  struct Case {
    std::string name;
    int width, height;
    std::size_t pixels;
    BmpWriteOutcome outcome;
  };
  const std::vector<Case> cases = {
      {"zero width", 0, 4, 16, BmpWriteOutcome::NotAPicture},
      {"too high", 1, 8193, 8193, BmpWriteOutcome::NotAPicture},
      {"too few pixels", 4, 4, 15, BmpWriteOutcome::NotAPicture},
  };
  for (const Case& c : cases) {
    testing::CountingProgress ui;
    EXPECT_EQ(writeBmpFile(path, c.width, c.height, std::vector<std::uint8_t>(c.pixels),
                           BmpPalette{}, {}, ui),
              c.outcome)
        << c.name;
    EXPECT_EQ(readBytes(path), "previous") << c.name;
  }
  testing::CountingProgress ui;
  EXPECT_EQ(writeBmpFile(folder.file("missing/folder.bmp"), 2, 2, std::vector<std::uint8_t>(4),
                         BmpPalette{}, {}, ui),
            BmpWriteOutcome::CannotOpen);
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

TEST(BmpFile, PillowSeesEveryPixelAndColour) {
  const std::string python = testing::pythonWithPillow();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
  const char* script =
      "import sys\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1])\n"
      "im.load()\n"
      "print(im.format, im.mode, im.size[0], im.size[1])\n"
      "print(bytes(im.getpalette()[:768]).hex())\n"
      "print(im.tobytes().hex())\n";
  ScratchFolder folder;
  const std::string scriptPath = folder.file("read_bmp.py");
  testing::writeBytes(scriptPath, script);

  struct Case {
    int width, height;
    BmpLayout layout;
  };
  const std::vector<Case> cases = {
      {5, 3, {false, false}}, {5, 3, {true, false}},  {6, 4, {false, true}},
      {513, 9, {true, true}}, {1, 1, {false, false}}, {64, 33, {false, false}},
  };
  unsigned seed = 1;
  for (const Case& c : cases) {
    const std::string path = folder.file("pillow.bmp");
    const auto pixels = randomPixels(c.width, c.height, seed);
    const BmpPalette palette = randomPalette(seed++);
    testing::CountingProgress ui;
    ASSERT_EQ(writeBmpFile(path, c.width, c.height, pixels, palette, c.layout, ui),
              BmpWriteOutcome::Written);

    std::istringstream seen(testing::commandOutput(python + " " + scriptPath + " " + path));
    std::string format, mode, paletteHex, pixelHex;
    int width = 0, height = 0;
    seen >> format >> mode >> width >> height >> paletteHex >> pixelHex;
    ASSERT_EQ(format, "BMP");
    ASSERT_EQ(mode, "P");
    ASSERT_EQ(width, c.width);
    ASSERT_EQ(height, c.height);

    std::string expectedPalette;
    for (const BmpColor& colour : palette) {
      expectedPalette += static_cast<char>(colour.red);
      expectedPalette += static_cast<char>(colour.green);
      expectedPalette += static_cast<char>(colour.blue);
    }
    EXPECT_EQ(paletteHex, hexOf(expectedPalette));

    std::string expectedPixels;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        expectedPixels += static_cast<char>(shownPixel(pixels, c.width, c.height, c.layout, x, y));
      }
    }
    EXPECT_EQ(pixelHex, hexOf(expectedPixels)) << c.width << "x" << c.height;
  }
}

}  // namespace
}  // namespace corvina
