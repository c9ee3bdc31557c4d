#pragma once
// What a BMP file says about itself, checked before any picture memory is
// asked for: a header that is truncated, inconsistent or promises more pixels
// than the file can hold is refused here, so the image reader never sees it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace corvina::background {

constexpr int kRunLength8 = 1;
constexpr int kRunLength4 = 2;

struct BmpHeaderFacts {
  int width = 0;
  int height = 0;  // rows, whatever the file's row order
  int bitsPerPixel = 0;
  int compression = 0;   // 0 plain rows, 1 RLE8, 2 RLE4, 3 bit fields
  bool topDown = false;  // a negative height: the first stored row is the top one
  std::size_t pixelOffset = 0;
  // The colour table (pictures up to 8 bits per pixel): where it starts, how
  // many entries the file holds and how many bytes each one takes.
  std::size_t paletteOffset = 0;
  int paletteEntries = 0;
  int paletteEntrySize = 4;
};

// Pictures larger than this many pixels are refused whatever the file holds.
constexpr std::int64_t kMaxBackgroundPixels = std::int64_t{1} << 26;

// The facts of a well-formed BMP file whose pixel data fits in `file`;
// nothing for anything else.
std::optional<BmpHeaderFacts> checkBmpHeader(std::span<const std::uint8_t> file);

}  // namespace corvina::background
