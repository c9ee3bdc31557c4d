#pragma once
// The pixels of one facet outline in the view, without a painter, so the
// same lines can be drawn into a picture, into a layer that remembers which
// line set each pixel, or into one band of rows at a time:
// - a solid line inside the picture is Bresenham's line with both end points;
// - a dotted line inside the picture takes the toolkit painter's pixels for
//   its dotted one-pixel pen (see cosmetic_line.h);
// - a line that leaves the picture shows exactly its part of the whole line
//   (see texture_map_raster_line.h), dots counted from `from`.

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "editor/painter/cosmetic_line.h"
#include "editor/painter/view_point.h"
#include "editor/texture_map_raster_line.h"

namespace corvina::painter {

// Integer coordinates up to this size take the inside-the-picture rules.
constexpr double kOutlineSafeReach = 1 << 20;
// The selection pen's dots: 3 pixels on, 3 off.
constexpr int kOutlineDashLength = 3;

// Bresenham's line from (x1, y1) to (x2, y2), both end points included.
template <class Plot>
inline void solidLinePixels(int x1, int y1, int x2, int y2, Plot& plot) {
  int x = x1, y = y1;
  const int dx = std::abs(x2 - x), dy = -std::abs(y2 - y);
  const int stepX = x < x2 ? 1 : -1, stepY = y < y2 ? 1 : -1;
  int error = dx + dy;
  int remaining = dx > -dy ? dx : -dy;
  for (;;) {
    plot(x, y);
    if (remaining-- == 0) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y += stepY;
    }
  }
}

// Calls plot(x, y) for each pixel of the outline inside width x height, in no
// promised order and perhaps twice for a pixel: a line sets each of its
// pixels to the same value.
template <class Plot>
void forEachOutlinePixel(ViewPoint from, ViewPoint to, bool dotted, int width, int height,
                         Plot&& plot) {
  const LinePoint start{from.x, from.y}, end{to.x, to.y};
  if (withinReach(start, kOutlineSafeReach) && withinReach(end, kOutlineSafeReach)) {
    const int x1 = static_cast<int>(from.x), y1 = static_cast<int>(from.y);
    const int x2 = static_cast<int>(to.x), y2 = static_cast<int>(to.y);
    const bool inside = static_cast<unsigned>(x1) < static_cast<unsigned>(width) &&
                        static_cast<unsigned>(x2) < static_cast<unsigned>(width) &&
                        static_cast<unsigned>(y1) < static_cast<unsigned>(height) &&
                        static_cast<unsigned>(y2) < static_cast<unsigned>(height);
    if (inside && dotted) {
      const PixelTarget target{nullptr, 0, width, height};
      rasterizeCosmeticLine(target, CosmeticLine{x1, y1, x2, y2}, true, plot);
      return;
    }
    if (inside) {
      // A line to the same or a neighbouring pixel takes just its two end
      // pixels, the common case on a dense model, without a branch to
      // mispredict.
      if (static_cast<unsigned>(x2 - x1 + 1) <= 2u && static_cast<unsigned>(y2 - y1 + 1) <= 2u) {
        plot(x1, y1);
        plot(x2, y2);
        return;
      }
      solidLinePixels(x1, y1, x2, y2, plot);
      return;
    }
  }
  // Both ends beyond one edge of the picture: no pixel of the line is in it
  // (a zoomed-in view leaves most lines there).
  if ((from.x < 0 && to.x < 0) || (from.y < 0 && to.y < 0) || (from.x >= width && to.x >= width) ||
      (from.y >= height && to.y >= height))
    return;
  forEachVisibleLinePixel(start, end, width, height, dotted ? 2 * kOutlineDashLength : 1,
                          [&plot](int x, int y, int phase) {
                            if (phase < kOutlineDashLength) plot(x, y);
                          });
}

// A line end with its whole pixel worked out once per corner rather than
// once per line: (x, y) while the point lies within kOutlineSafeReach, else
// (-1, -1), outside every picture.
struct OutlinePoint {
  ViewPoint view;
  int x = -1, y = -1;
  OutlinePoint() = default;
  explicit OutlinePoint(ViewPoint p) : view(p) {
    if (withinReach(LinePoint{p.x, p.y}, kOutlineSafeReach)) {
      x = static_cast<int>(p.x);
      y = static_cast<int>(p.y);
    }
  }
};

// OutlinePoint(viewPoint(uv, selected, frame, square)), without the trip
// through doubles for a point whose view coordinates are finite and below
// kOutlineSafeReach, which truncate exactly to integers: every point of a
// model in sight or near it.
inline OutlinePoint outlinePoint(const TexVertex& uv, bool selected, const FrameTransform& frame,
                                 const SquarePlacement& square) {
  const FloatPoint f = viewCoordinates(uv, selected, frame, square.size.width, square.size.height);
  constexpr float kFast = static_cast<float>(kOutlineSafeReach);
  if (!(std::fabs(f.x) < kFast && std::fabs(f.y) < kFast))
    return OutlinePoint(viewPoint(uv, selected, frame, square));
  const std::int64_t x = static_cast<std::int64_t>(static_cast<int>(f.x)) + square.left;
  const std::int64_t y = static_cast<std::int64_t>(static_cast<int>(f.y)) + square.top;
  constexpr std::int64_t kReach = static_cast<std::int64_t>(kOutlineSafeReach);
  OutlinePoint point;
  point.view = {static_cast<double>(x), static_cast<double>(y)};
  if (x >= -kReach && x <= kReach && y >= -kReach && y <= kReach) {
    point.x = static_cast<int>(x);
    point.y = static_cast<int>(y);
  }
  return point;
}

// forEachOutlinePixel between two prepared ends: a line to the same or a
// neighbouring pixel inside the picture is its two end pixels, solid or
// dotted (the dots' first three pixels are on), decided without converting
// its ends again.
// The rest of the lines, kept out of line so that the common case above
// stays small enough to be inlined into every walk.
template <class Plot>
[[gnu::noinline]] void forEachOutlinePixelApart(ViewPoint from, ViewPoint to, bool dotted,
                                                int width, int height, Plot& plot) {
  forEachOutlinePixel(from, to, dotted, width, height, plot);
}

template <class Plot>
[[gnu::always_inline]] inline void forEachOutlinePixel(const OutlinePoint& from,
                                                       const OutlinePoint& to, bool dotted,
                                                       int width, int height, Plot&& plot) {
  const bool inside = static_cast<unsigned>(from.x) < static_cast<unsigned>(width) &&
                      static_cast<unsigned>(to.x) < static_cast<unsigned>(width) &&
                      static_cast<unsigned>(from.y) < static_cast<unsigned>(height) &&
                      static_cast<unsigned>(to.y) < static_cast<unsigned>(height);
  if (inside && static_cast<unsigned>(to.x - from.x + 1) <= 2u &&
      static_cast<unsigned>(to.y - from.y + 1) <= 2u) {
    plot(from.x, from.y);
    plot(to.x, to.y);
    return;
  }
  if (inside && !dotted) {
    solidLinePixels(from.x, from.y, to.x, to.y, plot);
    return;
  }
  const ViewPoint a = from.view, b = to.view;
  if ((a.x < 0 && b.x < 0) || (a.y < 0 && b.y < 0) || (a.x >= width && b.x >= width) ||
      (a.y >= height && b.y >= height))
    return;  // beyond one edge, as below: the common case in a zoomed-in view
  forEachOutlinePixelApart(from.view, to.view, dotted, width, height, plot);
}

}  // namespace corvina::painter
