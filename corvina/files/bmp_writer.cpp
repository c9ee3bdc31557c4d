#include "files/bmp_writer.h"

#include <algorithm>
#include <memory>

#include "files/atomic_file.h"

namespace corvina {

namespace {

void put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value) {
  put16(at, value);
  put16(at + 2, value >> 16);
}

bool writeBytes(AtomicFile& file, const std::uint8_t* bytes, std::size_t size) {
  return file.write(reinterpret_cast<const char*>(bytes), size);
}

}  // namespace

std::size_t bmpRowStride(int width) {
  return (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
}

std::array<std::uint8_t, kBmpHeadersSize> bmpHeaders(int width, int height) {
  std::array<std::uint8_t, kBmpHeadersSize> header{};
  const auto fileSize = static_cast<std::uint32_t>(
      kBmpPixelOffset + bmpRowStride(width) * static_cast<std::size_t>(height));
  header[0] = 'B';
  header[1] = 'M';
  put32(&header[2], fileSize);
  // reserved words at 6 and 8 stay 0
  put32(&header[10], static_cast<std::uint32_t>(kBmpPixelOffset));
  put32(&header[14], 40);
  put32(&header[18], static_cast<std::uint32_t>(width));
  put32(&header[22], static_cast<std::uint32_t>(height));  // positive: bottom row first
  put16(&header[26], 1);                                   // planes
  put16(&header[28], 8);                                   // bits per pixel
  // compression, image size, resolutions and colour counts stay 0
  return header;
}

BmpWriteOutcome writeBmpFile(const std::string& path, int width, int height,
                             const std::vector<std::uint8_t>& pixels, const BmpPalette& palette,
                             BmpLayout layout, ProgressSink& progress) {
  if (width < 1 || height < 1 || width > kLargestBmpSide || height > kLargestBmpSide ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return BmpWriteOutcome::NotAPicture;
  }
  AtomicFile file;
  if (!file.open(path)) return BmpWriteOutcome::CannotOpen;

  const auto headers = bmpHeaders(width, height);
  if (!writeBytes(file, headers.data(), headers.size())) return BmpWriteOutcome::HeadersNotWritten;

  std::array<std::uint8_t, 256 * 4> paletteBytes{};
  for (std::size_t i = 0; i < palette.size(); ++i) {
    paletteBytes[4 * i] = palette[i].blue;
    paletteBytes[4 * i + 1] = palette[i].green;
    paletteBytes[4 * i + 2] = palette[i].red;
  }
  bool written = writeBytes(file, paletteBytes.data(), paletteBytes.size());

  // Rows are gathered into blocks of about a megabyte, so a large picture
  // takes few writes; the padding bytes stay zero.
  const std::size_t stride = bmpRowStride(width);
  const std::size_t rowsPerBlock = std::max<std::size_t>(1, (std::size_t{1} << 20) / stride);
  const std::size_t blockSize = rowsPerBlock * stride;
  auto block = std::make_unique<std::uint8_t[]>(blockSize);
  std::fill(block.get(), block.get() + blockSize, std::uint8_t{0});
  std::size_t filled = 0;
  const auto columns = static_cast<std::size_t>(width);
  for (int row = 0; row < height && written; ++row) {
    const int source = layout.flipVertically ? height - 1 - row : row;
    const std::uint8_t* from = pixels.data() + static_cast<std::size_t>(source) * columns;
    std::uint8_t* to = block.get() + filled;
    if (layout.flipHorizontally) {
      std::reverse_copy(from, from + columns, to);
    } else {
      std::copy(from, from + columns, to);
    }
    filled += stride;
    if (filled == blockSize || row == height - 1) {
      written = writeBytes(file, block.get(), filled);
      filled = 0;
    }
    progress.stepProgress();
  }
  if (!written || !file.commit()) return BmpWriteOutcome::PixelsNotWritten;
  return BmpWriteOutcome::Written;
}

}  // namespace corvina
