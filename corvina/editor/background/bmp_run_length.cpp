#include "editor/background/bmp_run_length.h"

#include <algorithm>
#include <cstddef>

namespace corvina::background {

namespace {

// Escape codes: a zero count followed by one of these.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kJump = 2;  // two more bytes: right, then rows onward

// Writes pixels along the stored rows; positions outside the picture take
// nothing.
class RowWriter {
 public:
  RowWriter(std::vector<std::uint8_t>& indices, int width, int height, bool topDown)
      : indices_(indices), width_(width), height_(height), topDown_(topDown) {}

  bool pastLastRow() const { return line_ >= height_; }
  bool pastRowEnd() const { return x_ >= width_; }

  void put(std::uint8_t index) {
    if (!pastRowEnd() && !pastLastRow()) {
      const std::int64_t row = topDown_ ? line_ : height_ - 1 - line_;
      indices_[static_cast<std::size_t>(row * width_ + x_)] = index;
    }
    ++x_;
  }
  void endLine() {
    x_ = 0;
    ++line_;
  }
  void jump(int right, int rows) {
    x_ += right;
    line_ += rows;
  }

 private:
  std::vector<std::uint8_t>& indices_;
  std::int64_t width_, height_;
  bool topDown_;
  std::int64_t x_ = 0, line_ = 0;  // line counts stored rows from the first
};

// Pixel i of a run whose bytes start at `bytes`: RLE8 takes one byte per
// pixel, RLE4 two pixels per byte, the high half first.
std::uint8_t pixelOf(const std::uint8_t* bytes, int i, int bitsPerPixel) {
  if (bitsPerPixel == 8) return bytes[i];
  const std::uint8_t both = bytes[i / 2];
  return i % 2 == 0 ? static_cast<std::uint8_t>(both >> 4) : static_cast<std::uint8_t>(both & 0xF);
}

}  // namespace

std::vector<std::uint8_t> decodeRunLength(std::span<const std::uint8_t> data, int width, int height,
                                          int bitsPerPixel, bool topDown) {
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height, 0);
  RowWriter rows(indices, width, height, topDown);
  std::size_t at = 0;
  // Every step reads at least two bytes, so the work follows the data's size;
  // pixels beyond a row's end are not visited.
  while (at + 2 <= data.size() && !rows.pastLastRow()) {
    const std::uint8_t count = data[at], code = data[at + 1];
    at += 2;
    if (count > 0) {  // one colour pair repeated: `code` holds the pixel(s)
      const std::uint8_t pair[2] = {code, code};
      for (int i = 0; i < count && !rows.pastRowEnd(); ++i)
        rows.put(bitsPerPixel == 8 ? code : pixelOf(pair, i % 2, 4));
      continue;
    }
    if (code == kEndOfLine) {
      rows.endLine();
    } else if (code == kEndOfPicture) {
      break;
    } else if (code == kJump) {
      if (at + 2 > data.size()) break;
      rows.jump(data[at], data[at + 1]);
      at += 2;
    } else {  // `code` pixels stored as they are, padded to an even byte count
      const std::size_t bytes = bitsPerPixel == 8 ? code : (static_cast<std::size_t>(code) + 1) / 2;
      const std::size_t available = std::min(bytes, data.size() - at);
      const int pixels = bitsPerPixel == 8 ? static_cast<int>(available)
                                           : std::min<int>(code, static_cast<int>(available) * 2);
      for (int i = 0; i < pixels && !rows.pastRowEnd(); ++i)
        rows.put(pixelOf(data.data() + at, i, bitsPerPixel));
      at += bytes + bytes % 2;
    }
  }
  return indices;
}

}  // namespace corvina::background
