#include "editor/painter/cosmetic_line.h"

namespace corvina::painter {

namespace detail {

bool clipToPainterBounds(double& x1, double& y1, double& x2, double& y2, int width, int height) {
  // The same operations in the same order as the painter, so the cut ends
  // land on the same fractions.
  const double xmin = -1, xmax = width + 1, ymin = -1, ymax = height + 1;
  if (x1 < xmin) {
    if (x2 <= xmin) return false;
    y1 += (y2 - y1) / (x2 - x1) * (xmin - x1);
    x1 = xmin;
  } else if (x1 > xmax) {
    if (x2 >= xmax) return false;
    y1 += (y2 - y1) / (x2 - x1) * (xmax - x1);
    x1 = xmax;
  }
  if (x2 < xmin) {
    y2 += (y2 - y1) / (x2 - x1) * (xmin - x2);
    x2 = xmin;
  } else if (x2 > xmax) {
    y2 += (y2 - y1) / (x2 - x1) * (xmax - x2);
    x2 = xmax;
  }
  if (y1 < ymin) {
    if (y2 <= ymin) return false;
    x1 += (x2 - x1) / (y2 - y1) * (ymin - y1);
    y1 = ymin;
  } else if (y1 > ymax) {
    if (y2 >= ymax) return false;
    x1 += (x2 - x1) / (y2 - y1) * (ymax - y1);
    y1 = ymax;
  }
  if (y2 < ymin) {
    x2 += (x2 - x1) / (y2 - y1) * (ymin - y2);
    y2 = ymin;
  } else if (y2 > ymax) {
    x2 += (x2 - x1) / (y2 - y1) * (ymax - y2);
    y2 = ymax;
  }
  return true;
}

}  // namespace detail

void drawCosmeticLine(const PixelTarget& target, CosmeticLine line, bool dotted,
                      std::uint32_t color) {
  rasterizeCosmeticLine(target, line, dotted, [&](int x, int y) {
    target.pixels[static_cast<std::ptrdiff_t>(y) * target.pixelsPerRow + x] = color;
  });
}

}  // namespace corvina::painter
