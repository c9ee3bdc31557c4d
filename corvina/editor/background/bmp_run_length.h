#pragma once
// Run-length encoded BMP pixels (RLE8 and RLE4) decoded to one colour-table
// index per pixel. The codes may skip pixels (end of line, a jump, an early
// end of the picture) or stop anywhere; every pixel they never set keeps
// index 0, and the part of a run beyond a row's right edge is dropped, so any
// data gives a whole, fully defined picture.

#include <cstdint>
#include <span>
#include <vector>

namespace corvina::background {

// The indices of a width x height picture, top row first, from `data` (the
// file's bytes from its pixel offset on). bitsPerPixel is 8 (RLE8) or 4
// (RLE4); topDown says the first stored row is the top one (otherwise the
// bottom one, as usual). The caller keeps width x height within its limits.
std::vector<std::uint8_t> decodeRunLength(std::span<const std::uint8_t> data, int width, int height,
                                          int bitsPerPixel, bool topDown);

}  // namespace corvina::background
