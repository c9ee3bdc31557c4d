#pragma once
// One-pixel lines set straight into a 32-bit picture, pixel for pixel as the
// toolkit's raster painter draws an integer line with a one-pixel cosmetic
// pen, square caps and antialiasing off, solid or dotted three on, three off.
// Drawing them ourselves costs a fraction of the painter's per-line overhead
// and lets one picture be drawn in horizontal bands: a band draws every line
// restricted to its own rows and the pixels come out the same.
//
// The painter's rules, which a test holds against the painter itself:
// - the line is first clipped in floating point to the picture grown by one
//   pixel on the left and top and two on the right and bottom;
// - the end points become 26.6 fixed point; the longer axis is stepped one
//   pixel at a time from the lower end, half a pixel beyond each end point,
//   the other axis following in 16.16 fixed point from the middle of each
//   pixel step;
// - a dotted line's pattern starts on at the first end point of the line as
//   given (or where clipping cut it), three pixels on, three off;
// - a line whose two end points are the same pixel draws that pixel.

#include <cstddef>
#include <cstdint>

namespace corvina::painter {

struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  std::ptrdiff_t pixelsPerRow = 0;
  int width = 0, height = 0;
  // Only rows in [rowBegin, rowEnd) are written; the whole picture by default.
  int rowBegin = 0, rowEnd = 1 << 30;
};

struct CosmeticLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Calls `plot(x, y)` for every pixel of the line that lies in the picture and
// in the target's rows, in the order the painter sets them.
template <class Plot>
void rasterizeCosmeticLine(const PixelTarget& target, CosmeticLine line, bool dotted, Plot&& plot);

// Sets the line's pixels to `color` (0xAARRGGBB, opaque).
void drawCosmeticLine(const PixelTarget& target, CosmeticLine line, bool dotted,
                      std::uint32_t color);

namespace detail {

// The painter's floating-point clip to [-1, width + 1] x [-1, height + 1];
// false when nothing is left.
bool clipToPainterBounds(double& x1, double& y1, double& x2, double& y2, int width, int height);

inline std::int64_t fixedDivide(std::int64_t numerator, std::int64_t denominator) {
  return numerator * 65536 / denominator;  // truncates toward zero, as the painter's
}

// Whether both ends lie within the clip's bounds, where it changes nothing.
inline bool insideClipBounds(const CosmeticLine& line, int width, int height) {
  return line.x1 >= -1 && line.x1 <= width + 1 && line.x2 >= -1 && line.x2 <= width + 1 &&
         line.y1 >= -1 && line.y1 <= height + 1 && line.y2 >= -1 && line.y2 <= height + 1;
}

}  // namespace detail

template <class Plot>
void rasterizeCosmeticLine(const PixelTarget& target, CosmeticLine line, bool dotted, Plot&& plot) {
  const int rowBegin = target.rowBegin < 0 ? 0 : target.rowBegin;
  const int rowEnd = target.rowEnd > target.height ? target.height : target.rowEnd;
  auto put = [&](int x, int y) {
    if (x >= 0 && x < target.width && y >= rowBegin && y < rowEnd) plot(x, y);
  };
  if (line.x1 == line.x2 && line.y1 == line.y2) {
    put(line.x1, line.y1);
    return;
  }
  int x1, y1, x2, y2;
  if (detail::insideClipBounds(line, target.width, target.height)) {
    // The clip leaves such a line as it is; most lines of a view are.
    x1 = line.x1 * 64;
    y1 = line.y1 * 64;
    x2 = line.x2 * 64;
    y2 = line.y2 * 64;
  } else {
    double rx1 = line.x1, ry1 = line.y1, rx2 = line.x2, ry2 = line.y2;
    if (!detail::clipToPainterBounds(rx1, ry1, rx2, ry2, target.width, target.height)) return;
    x1 = static_cast<int>(rx1 * 64.0);
    y1 = static_cast<int>(ry1 * 64.0);
    x2 = static_cast<int>(rx2 * 64.0);
    y2 = static_cast<int>(ry2 * 64.0);
  }
  const int dx = x2 > x1 ? x2 - x1 : x1 - x2;
  const int dy = y2 > y1 ? y2 - y1 : y1 - y2;
  // Step along the longer axis (x on a tie): `major` pixel by pixel, `minor`
  // in 16.16 fixed point.
  const bool stepY = dx < dy;
  int major1 = stepY ? y1 : x1, major2 = stepY ? y2 : x2;
  int minor1 = stepY ? x1 : y1, minor2 = stepY ? x2 : y2;
  if (major1 == major2) return;
  const bool reversed = major1 > major2;
  if (reversed) {
    int t = major1;
    major1 = major2;
    major2 = t;
    t = minor1;
    minor1 = minor2;
    minor2 = t;
  }
  const std::int64_t increment = detail::fixedDivide(minor2 - minor1, major2 - major1);
  std::int64_t minor = static_cast<std::int64_t>(minor1) * 1024;
  // Square caps: half a pixel beyond both ends.
  major1 -= 32;
  minor -= increment >> 1;
  major2 += 32;
  int at = (major1 + 32) >> 6;
  const int end = (major2 + 32) >> 6;
  if (at == end) return;
  const int round = increment > 0 ? 32 : 0;
  minor += ((static_cast<std::int64_t>(at) * 64 + round - major1) * increment) >> 6;
  const int count = end - at;
  // The pixel's place in the pattern, counted from the line's first end:
  // stepped rather than worked out per pixel.
  int dot = reversed ? (count - 1) % 6 : 0;
  const int dotStep = reversed ? -1 : 1;
  for (; at < end; ++at, minor += increment) {
    const bool on = dot < 3;
    dot += dotStep;
    if (dot == 6) dot = 0;
    if (dot < 0) dot = 5;
    if (dotted && !on) continue;
    const int other = static_cast<int>(minor >> 16);
    if (stepY)
      put(other, at);
    else
      put(at, other);
  }
}

}  // namespace corvina::painter
