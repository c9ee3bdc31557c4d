#include "editor/background/bmp_header.h"

#include <cstdlib>

namespace corvina::background {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool knownInfoHeaderSize(std::uint32_t size) {
  // The OS/2 core header and the Windows headers of versions 1 to 5.
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool compressionFits(int compression, int bitsPerPixel) {
  switch (compression) {
    case 0:
      return true;
    case 1:
      return bitsPerPixel == 8;
    case 2:
      return bitsPerPixel == 4;
    case 3:
      return bitsPerPixel == 16 || bitsPerPixel == 32;
    default:
      return false;
  }
}

// A run-length encoded file may draw up to 255 pixels with two bytes and
// skip ahead further with four; anything beyond this many pixels per byte of
// data is a lie about the size.
constexpr std::int64_t kMaxRunLengthPixelsPerByte = 1024;

}  // namespace

std::optional<BmpHeaderFacts> checkBmpHeader(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + 12) return std::nullopt;
  if (file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint64_t pixelOffset = read32(file, 10);
  const std::uint32_t infoSize = read32(file, 14);
  if (!knownInfoHeaderSize(infoSize) || kFileHeaderSize + infoSize > file.size())
    return std::nullopt;

  std::int64_t width = 0, height = 0;
  int planes = 0, bitsPerPixel = 0, compression = 0;
  std::uint64_t paletteEntries = 0;
  std::size_t paletteEntrySize = 4;
  if (infoSize == 12) {
    width = read16(file, 18);
    height = read16(file, 20);
    planes = read16(file, 22);
    bitsPerPixel = read16(file, 24);
    paletteEntrySize = 3;
  } else {
    width = static_cast<std::int32_t>(read32(file, 18));
    height = static_cast<std::int32_t>(read32(file, 22));
    planes = read16(file, 26);
    bitsPerPixel = read16(file, 28);
    compression = static_cast<int>(read32(file, 30));
    paletteEntries = read32(file, 46);
  }
  const bool topDown = height < 0;
  height = std::llabs(height);  // negative: rows stored top down
  if (width <= 0 || height <= 0 || planes != 1) return std::nullopt;
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
      bitsPerPixel != 24 && bitsPerPixel != 32)
    return std::nullopt;
  if (!compressionFits(compression, bitsPerPixel)) return std::nullopt;
  if (width > kMaxBackgroundPixels || height > kMaxBackgroundPixels ||
      width * height > kMaxBackgroundPixels)
    return std::nullopt;

  // The colour table lies between the headers and the pixels.
  if (bitsPerPixel <= 8) {
    const std::uint64_t most = std::uint64_t{1} << bitsPerPixel;
    if (paletteEntries == 0) paletteEntries = most;
    if (paletteEntries > most) return std::nullopt;
  }
  const std::uint64_t paletteEnd =
      kFileHeaderSize + infoSize + (bitsPerPixel <= 8 ? paletteEntries * paletteEntrySize : 0);
  if (paletteEnd > file.size() || pixelOffset >= file.size()) return std::nullopt;
  if (pixelOffset < kFileHeaderSize + infoSize) return std::nullopt;

  const std::uint64_t dataBytes = file.size() - pixelOffset;
  if (compression == 1 || compression == 2) {
    if (width * height > static_cast<std::int64_t>(dataBytes) * kMaxRunLengthPixelsPerByte)
      return std::nullopt;
  } else {
    const std::uint64_t rowBytes =
        ((static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32) * 4;
    if (rowBytes * static_cast<std::uint64_t>(height) > dataBytes) return std::nullopt;
  }
  BmpHeaderFacts facts;
  facts.width = static_cast<int>(width);
  facts.height = static_cast<int>(height);
  facts.bitsPerPixel = bitsPerPixel;
  facts.compression = compression;
  facts.topDown = topDown;
  facts.pixelOffset = static_cast<std::size_t>(pixelOffset);
  facts.paletteOffset = kFileHeaderSize + infoSize;
  facts.paletteEntries = bitsPerPixel <= 8 ? static_cast<int>(paletteEntries) : 0;
  facts.paletteEntrySize = static_cast<int>(paletteEntrySize);
  return facts;
}

}  // namespace corvina::background
