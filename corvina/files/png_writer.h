#pragma once
// Writing a picture as a PNG file: 8-bit RGBA without premultiplication,
// rows top first, each deflated with filter type 0 (none). Rows come from a
// source one at a time, so a picture of any size needs only one row in
// memory here.

#include <cstdint>
#include <string>

namespace corvina {

constexpr int kLargestPngSide = 16384;

// Hands out the picture's rows in order, from the top.
class PngRowSource {
 public:
  virtual ~PngRowSource() = default;
  // Fills `rgba` (4 * width bytes) with row `row`. False when the row
  // cannot be made (the write then fails).
  virtual bool row(int row, std::uint8_t* rgba) = 0;
};

enum class PngWriteOutcome {
  Written,
  NotAPicture,         // a side outside 1..kLargestPngSide
  CannotOpen,          // the file could not be created
  WriteFailed,         // a row or the bytes did not all reach the disk
  InsufficientMemory,  // the compressor's memory could not be had
};

// Writes a width x height picture to `path`. The file replaces an existing
// one only when it is complete; on any failure the target is as it was.
PngWriteOutcome writePngFile(const std::string& path, int width, int height, PngRowSource& rows);

}  // namespace corvina
