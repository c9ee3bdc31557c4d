#include "editor/background/bmp_run_length.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvina::background {
namespace {

struct RunLengthCase {
  const char* name;
  int bitsPerPixel;
  bool topDown;
  std::vector<std::uint8_t> data;
  std::vector<std::vector<int>> rows;  // expected indices, top row first
};

// Pictures of 4 x 3 (RLE8) and 5 x 2 (RLE4) pixels, stored bottom row first
// unless the case says otherwise.
const RunLengthCase kCases[] = {
    {"runs ended by end of line and end of picture",
     8,
     false,
     {0x03, 0x05, 0x00, 0x00, 0x02, 0x07, 0x00, 0x00, 0x04, 0x09, 0x00, 0x01},
     {{9, 9, 9, 9}, {7, 7, 0, 0}, {5, 5, 5, 0}}},
    {"end of picture at once", 8, false, {0x00, 0x01}, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    {"no data at all", 8, false, {}, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    {"one byte of data", 4, false, {0x01}, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
    {"data ends without an end code",
     8,
     false,
     {0x02, 0x04, 0x00},
     {{0, 0, 0, 0}, {0, 0, 0, 0}, {4, 4, 0, 0}}},
    {"jump right and up",
     8,
     false,
     {0x01, 0x03, 0x00, 0x02, 0x02, 0x01, 0x01, 0x06, 0x00, 0x01},
     {{0, 0, 0, 0}, {0, 0, 0, 6}, {3, 0, 0, 0}}},
    {"jump beyond the last row ends the picture",
     8,
     false,
     {0x00, 0x02, 0x00, 0x09, 0x01, 0x04},
     {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    {"jump cut short by the data's end",
     8,
     false,
     {0x01, 0x07, 0x00, 0x02, 0x01},
     {{0, 0, 0, 0}, {0, 0, 0, 0}, {7, 0, 0, 0}}},
    {"jump past the row's end drops the rest of that row",
     8,
     false,
     {0x00, 0x02, 0x05, 0x00, 0x02, 0x09, 0x00, 0x00, 0x01, 0x04, 0x00, 0x01},
     {{0, 0, 0, 0}, {4, 0, 0, 0}, {0, 0, 0, 0}}},
    {"absolute run of odd length skips its padding byte",
     8,
     false,
     {0x00, 0x03, 0x01, 0x02, 0x03, 0xEE, 0x01, 0x08, 0x00, 0x01},
     {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 2, 3, 8}}},
    {"absolute run of even length has no padding",
     8,
     false,
     {0x00, 0x04, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x01, 0x0B, 0x00, 0x01},
     {{0, 0, 0, 0}, {11, 0, 0, 0}, {1, 2, 3, 4}}},
    {"run past the row's end is cut there",
     8,
     false,
     {0x06, 0x02, 0x00, 0x00, 0x01, 0x05, 0x00, 0x01},
     {{0, 0, 0, 0}, {5, 0, 0, 0}, {2, 2, 2, 2}}},
    {"absolute run past the row's end is cut there",
     8,
     false,
     {0x00, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05, 0xEE, 0x00, 0x00, 0x01, 0x01, 0x00, 0x01},
     {{0, 0, 0, 0}, {1, 0, 0, 0}, {1, 2, 3, 4}}},
    {"absolute run cut short by the data's end",
     8,
     false,
     {0x00, 0x04, 0x0A, 0x0B},
     {{0, 0, 0, 0}, {0, 0, 0, 0}, {10, 11, 0, 0}}},
    {"more rows than the picture has are ignored",
     8,
     false,
     {0x01, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x01, 0x03, 0x00, 0x00, 0x01, 0x04},
     {{3, 0, 0, 0}, {2, 0, 0, 0}, {1, 0, 0, 0}}},
    {"rows stored top down",
     8,
     true,
     {0x02, 0x03, 0x00, 0x01},
     {{3, 3, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    {"RLE4 runs alternate the two halves of their byte",
     4,
     false,
     {0x05, 0x12, 0x00, 0x00, 0x03, 0x3F, 0x00, 0x01},
     {{3, 15, 3, 0, 0}, {1, 2, 1, 2, 1}}},
    {"RLE4 absolute run of three in two bytes",
     4,
     false,
     {0x00, 0x03, 0xAB, 0xC0, 0x01, 0x70, 0x00, 0x01},
     {{0, 0, 0, 0, 0}, {10, 11, 12, 7, 0}}},
    {"RLE4 absolute run of five in three bytes and a padding byte",
     4,
     false,
     {0x00, 0x05, 0x12, 0x34, 0x5F, 0xEE, 0x00, 0x00, 0x01, 0xE0, 0x00, 0x01},
     {{14, 0, 0, 0, 0}, {1, 2, 3, 4, 5}}},
    {"RLE4 run past the row's end is cut there",
     4,
     false,
     {0x07, 0x56, 0x00, 0x00, 0x02, 0x78, 0x00, 0x01},
     {{7, 8, 0, 0, 0}, {5, 6, 5, 6, 5}}},
    {"RLE4 absolute run cut short by the data's end",
     4,
     false,
     {0x00, 0x06, 0x12},
     {{0, 0, 0, 0, 0}, {1, 2, 0, 0, 0}}},
    {"RLE4 jump then a run",
     4,
     false,
     {0x00, 0x02, 0x03, 0x01, 0x02, 0x99, 0x00, 0x01},
     {{0, 0, 0, 9, 9}, {0, 0, 0, 0, 0}}},
};

TEST(BmpRunLength, DecodesEveryCodeToExactIndicesWithSkippedPixelsZero) {
  for (const RunLengthCase& c : kCases) {
    const int height = static_cast<int>(c.rows.size());
    const int width = static_cast<int>(c.rows.front().size());
    const std::vector<std::uint8_t> indices =
        decodeRunLength(c.data, width, height, c.bitsPerPixel, c.topDown);
    ASSERT_EQ(indices.size(), static_cast<std::size_t>(width * height)) << c.name;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        EXPECT_EQ(indices[static_cast<std::size_t>(y * width + x)], c.rows[y][x])
            << c.name << " at " << x << "," << y;
  }
}

TEST(BmpRunLength, LongRunsAndJumpsStayInsideTheRowsTheyReach) {
  // 255-pixel runs on a 3-pixel row and jumps of 255 in both directions.
  const std::vector<std::uint8_t> data = {0xFF, 0x01, 0x00, 0x02, 0xFF, 0x00, 0xFF, 0x02,
                                          0x00, 0x00, 0xFF, 0x03, 0x00, 0x02, 0x00, 0xFF};
  const std::vector<std::uint8_t> indices = decodeRunLength(data, 3, 2, 8, false);
  EXPECT_EQ(indices, (std::vector<std::uint8_t>{3, 3, 3, 1, 1, 1}));
}

}  // namespace
}  // namespace corvina::background
