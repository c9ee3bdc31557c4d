#pragma once
// Bresenham lines between end points of any size a truncated float can take,
// cut exactly to a picture. A texture coordinate of 1e30 scaled to a picture
// lands some 10^33 pixels away; the part of a line towards it that crosses
// the picture must still lie where the line's own integer arithmetic puts it,
// so the arithmetic runs on wide integers for the one point where the line
// enters the picture and steps from there.

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

namespace corvina {

// An integer pixel position held in doubles: each value is a whole number of
// magnitude at most the largest float (every truncated float is one).
struct LinePoint {
  double x = 0, y = 0;
};

// The pixel of a float coordinate: the value truncated toward zero, exact at
// any size. NaN gives `nanValue`; an infinity is held at the largest float of
// its sign, so a line towards it still leaves in the direction it points.
// Inline: the view runs it for every corner of every redraw.
inline double truncatedPixel(float value, double nanValue) {
  if (std::isnan(value)) return nanValue;
  const float largest = std::numeric_limits<float>::max();
  if (std::isinf(value)) return value > 0 ? largest : -largest;
  return std::trunc(static_cast<double>(value));
}

// Whether both coordinates lie within +-reach. Inline: it runs for every
// line the view draws.
inline bool withinReach(LinePoint p, double reach) {
  return std::fabs(p.x) <= reach && std::fabs(p.y) <= reach;
}

// Calls plot(x, y, phase) for every pixel of the line from `start` to `end`
// that lies in [0, width) x [0, height), in order from `start`. The line
// steps along x when |dx| > |dy|, else along y (a 45-degree line steps along
// y), one pixel per step, major + 1 pixels from `start` to `end` inclusive;
// the minor offset of pixel i counts away from `start` and is
// floor((2 * minor * i + major) / (2 * major)), which is Bresenham's decision
// term 2 * minor - major stepping the minor axis when not negative. `phase`
// is i modulo `period` (period >= 1), for dashed lines. The work is bounded
// by the picture's size, however far away the ends are.
void forEachVisibleLinePixel(LinePoint start, LinePoint end, int width, int height, int period,
                             const std::function<void(int x, int y, int phase)>& plot);

}  // namespace corvina
