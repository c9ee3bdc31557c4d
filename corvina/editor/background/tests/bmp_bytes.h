#pragma once
// BMP files made in the test, byte by byte, so every depth and every broken
// header can be tried without shipping picture files.

#include <QByteArray>
#include <QColor>
#include <cstdint>
#include <functional>
#include <vector>

namespace corvina::background::testing {

inline void put16(QByteArray& bytes, int at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

inline void put32(QByteArray& bytes, int at, std::int64_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The colour a test picture has at (x, y), counted from the top row. Pictures
// below 16 bits use palette index (x + 2y) mod 2^bpp, with palette entry i
// being (i * 16 mod 256, 255 - i, i * 7 mod 256).
inline QColor paletteColor(int index) {
  return QColor((index * 16) % 256, 255 - index, (index * 7) % 256);
}

inline int paletteIndexAt(int x, int y, int bitsPerPixel) {
  return (x + 2 * y) % (1 << bitsPerPixel);
}

inline QColor directColorAt(int x, int y, int bitsPerPixel) {
  // 16-bit pixels keep 5 bits per channel: use multiples of 8.
  const int r = (x * 40) % 256, g = (y * 24) % 256, b = ((x + y) * 8) % 256;
  if (bitsPerPixel == 16) return QColor(r & 0xF8, g & 0xF8, b & 0xF8);
  return QColor(r, g, b);
}

inline QColor expectedColorAt(int x, int y, int bitsPerPixel) {
  return bitsPerPixel <= 8 ? paletteColor(paletteIndexAt(x, y, bitsPerPixel))
                           : directColorAt(x, y, bitsPerPixel);
}

// A plain (uncompressed) bottom-up BMP with a 40-byte info header.
inline QByteArray bmpFile(int width, int height, int bitsPerPixel) {
  const int paletteSize = bitsPerPixel <= 8 ? (1 << bitsPerPixel) : 0;
  const int rowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
  const int offset = 14 + 40 + paletteSize * 4;
  QByteArray bytes(offset + rowBytes * height, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(bytes, 2, bytes.size());
  put32(bytes, 10, offset);
  put32(bytes, 14, 40);
  put32(bytes, 18, width);
  put32(bytes, 22, height);
  put16(bytes, 26, 1);
  put16(bytes, 28, bitsPerPixel);
  put32(bytes, 34, rowBytes * height);
  for (int i = 0; i < paletteSize; ++i) {
    const QColor c = paletteColor(i);
    bytes[54 + 4 * i] = static_cast<char>(c.blue());
    bytes[54 + 4 * i + 1] = static_cast<char>(c.green());
    bytes[54 + 4 * i + 2] = static_cast<char>(c.red());
  }
  for (int y = 0; y < height; ++y) {
    const int row = offset + (height - 1 - y) * rowBytes;  // bottom-up
    for (int x = 0; x < width; ++x) {
      if (bitsPerPixel <= 8) {
        const int index = paletteIndexAt(x, y, bitsPerPixel);
        const int bit = x * bitsPerPixel;
        const int shift = 8 - bitsPerPixel - bit % 8;
        bytes[row + bit / 8] = static_cast<char>(bytes[row + bit / 8] | (index << shift));
        continue;
      }
      const QColor c = directColorAt(x, y, bitsPerPixel);
      if (bitsPerPixel == 16) {
        put16(bytes, row + 2 * x, (c.red() >> 3) << 10 | (c.green() >> 3) << 5 | (c.blue() >> 3));
      } else {
        const int p = row + x * (bitsPerPixel / 8);
        bytes[p] = static_cast<char>(c.blue());
        bytes[p + 1] = static_cast<char>(c.green());
        bytes[p + 2] = static_cast<char>(c.red());
      }
    }
  }
  return bytes;
}

// A run-length encoded BMP (bitsPerPixel 8: RLE8, 4: RLE4) with `colours`
// palette entries (paletteColor(i)) and the given pixel data. A negative
// height stores the rows top down.
inline QByteArray runLengthBmpFile(int width, int height, int bitsPerPixel, int colours,
                                   const std::vector<std::uint8_t>& data) {
  const int offset = 14 + 40 + colours * 4;
  QByteArray bytes(offset, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(bytes, 2, offset + static_cast<int>(data.size()));
  put32(bytes, 10, offset);
  put32(bytes, 14, 40);
  put32(bytes, 18, width);
  put32(bytes, 22, height);
  put16(bytes, 26, 1);
  put16(bytes, 28, bitsPerPixel);
  put32(bytes, 30, bitsPerPixel == 8 ? 1 : 2);
  put32(bytes, 34, static_cast<std::int64_t>(data.size()));
  put32(bytes, 46, colours);
  for (int i = 0; i < colours; ++i) {
    const QColor c = paletteColor(i);
    bytes[54 + 4 * i] = static_cast<char>(c.blue());
    bytes[54 + 4 * i + 1] = static_cast<char>(c.green());
    bytes[54 + 4 * i + 2] = static_cast<char>(c.red());
  }
  bytes.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
  return bytes;
}

}  // namespace corvina::background::testing
