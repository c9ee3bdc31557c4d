#pragma once
// Writing an 8-bit palette picture as a Windows BMP file: the 14-byte file
// header, the 40-byte information header, 256 palette entries of blue,
// green, red and 0, then the rows bottom first, each padded with zero bytes
// to a multiple of four. All numbers little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/progress_sink.h"

namespace corvina {

struct BmpColor {
  std::uint8_t red = 0, green = 0, blue = 0;
};

using BmpPalette = std::array<BmpColor, 256>;

constexpr std::size_t kBmpHeadersSize = 14 + 40;
constexpr std::size_t kBmpPixelOffset = kBmpHeadersSize + 256 * 4;  // 1078
constexpr int kLargestBmpSide = 8192;

// The order the picture's pixels go to the file. Row 0 of the picture is the
// file's first row (the bottom of the image) unless flipped vertically; a row
// runs from column 0 unless flipped horizontally.
struct BmpLayout {
  bool flipVertically = false;
  bool flipHorizontally = false;
};

enum class BmpWriteOutcome {
  Written,
  NotAPicture,        // a side outside 1..8192, or fewer pixels than width * height
  CannotOpen,         // the file could not be created
  HeadersNotWritten,  // the two headers did not reach the file completely
  PixelsNotWritten,   // palette or rows failed, or the file could not be completed
};

// The padded length of a row of `width` pixels: (width + 3) rounded down to a
// multiple of 4.
std::size_t bmpRowStride(int width);

// The file header and information header of a width x height picture.
std::array<std::uint8_t, kBmpHeadersSize> bmpHeaders(int width, int height);

// Writes `pixels` (width * height palette indices, row after row from row 0)
// to `path`. The file replaces an existing one only when it is complete, so on
// any failure the target is as it was. Steps `progress` once per written row.
BmpWriteOutcome writeBmpFile(const std::string& path, int width, int height,
                             const std::vector<std::uint8_t>& pixels, const BmpPalette& palette,
                             BmpLayout layout, ProgressSink& progress);

}  // namespace corvina
