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
#include <cstdlib>

#include "editor/painter/cosmetic_line.h"
#include "editor/painter/view_point.h"
#include "editor/texture_map_raster_line.h"

namespace corvina::painter {

// Integer coordinates up to this size take the inside-the-picture rules.
constexpr double kOutlineSafeReach = 1 << 20;
// The selection pen's dots: 3 pixels on, 3 off.
constexpr int kOutlineDashLength = 3;

// Calls plot(x, y) for each pixel of the outline inside width x height.
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

}  // namespace corvina::painter
