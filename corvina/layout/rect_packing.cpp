#include "layout/rect_packing.h"

#include <algorithm>
#include <limits>

namespace corvina {

namespace {

// One level stretch of the skyline: from x, `width` wide, at height y.
struct SkylineStep {
  int x = 0, y = 0, width = 0;
};

// Where a w x h box would go on the skyline: the lowest top edge, then the
// leftmost place. Returns false when it fits nowhere.
bool lowestPlace(const std::vector<SkylineStep>& line, int w, int h, int width, int height,
                 std::size_t& bestStep, int& bestY, long long& bestTop) {
  bool found = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const int x = line[i].x;
    if (x + w > width) break;
    int y = 0;
    for (std::size_t j = i; j < line.size() && line[j].x < x + w; ++j) y = std::max(y, line[j].y);
    const long long top = static_cast<long long>(y) + h;
    if (top > height) continue;
    if (!found || top < bestTop) {
      found = true;
      bestTop = top;
      bestStep = i;
      bestY = y;
    }
  }
  return found;
}

// Raises the skyline under a box placed at steps[first].x, w wide, to `top`.
void raise(std::vector<SkylineStep>& line, std::size_t first, int w, int top) {
  const int left = line[first].x;
  const int right = left + w;
  std::size_t last = first;
  while (last < line.size() && line[last].x + line[last].width <= right) ++last;
  // Steps first .. last-1 are covered whole; step `last` (if any) only on its
  // left part.
  if (last < line.size() && line[last].x < right) {
    line[last].width -= right - line[last].x;
    line[last].x = right;
  }
  line.erase(line.begin() + static_cast<std::ptrdiff_t>(first),
             line.begin() + static_cast<std::ptrdiff_t>(last));
  line.insert(line.begin() + static_cast<std::ptrdiff_t>(first), SkylineStep{left, top, w});
  // Neighbours at the same height become one step.
  if (first + 1 < line.size() && line[first + 1].y == top) {
    line[first].width += line[first + 1].width;
    line.erase(line.begin() + static_cast<std::ptrdiff_t>(first + 1));
  }
  if (first > 0 && line[first - 1].y == top) {
    line[first - 1].width += line[first].width;
    line.erase(line.begin() + static_cast<std::ptrdiff_t>(first));
  }
}

}  // namespace

bool packShelves(std::span<const PackBox> boxes, std::span<const std::int32_t> order, int width,
                 int height, bool rotate, std::vector<PackPlace>& places) {
  places.assign(boxes.size(), PackPlace{});
  long long shelfY = 0;
  long long shelfHeight = 0;
  long long x = 0;
  for (const std::int32_t index : order) {
    const PackBox& box = boxes[static_cast<std::size_t>(index)];
    bool rotated = rotate && box.height > box.width;
    int w = rotated ? box.height : box.width;
    int h = rotated ? box.width : box.height;
    if (w > width && rotate && h <= width) {
      std::swap(w, h);
      rotated = !rotated;
    }
    if (w > width) return false;
    if (x + w > width) {
      shelfY += shelfHeight;
      shelfHeight = 0;
      x = 0;
    }
    if (shelfY + h > height) return false;
    places[static_cast<std::size_t>(index)] =
        PackPlace{static_cast<int>(x), static_cast<int>(shelfY), rotated};
    x += w;
    shelfHeight = std::max<long long>(shelfHeight, h);
  }
  return true;
}

bool packSkyline(std::span<const PackBox> boxes, std::span<const std::int32_t> order, int width,
                 int height, bool rotate, std::vector<PackPlace>& places) {
  places.assign(boxes.size(), PackPlace{});
  std::vector<SkylineStep> line{{0, 0, width}};
  for (const std::int32_t index : order) {
    const PackBox& box = boxes[static_cast<std::size_t>(index)];
    std::size_t step = 0;
    int y = 0;
    long long top = std::numeric_limits<long long>::max();
    bool rotated = false;
    bool found = lowestPlace(line, box.width, box.height, width, height, step, y, top);
    if (rotate && box.width != box.height) {
      std::size_t turnedStep = 0;
      int turnedY = 0;
      long long turnedTop = top;
      if (lowestPlace(line, box.height, box.width, width, height, turnedStep, turnedY, turnedTop) &&
          (!found || turnedTop < top || (turnedTop == top && line[turnedStep].x < line[step].x))) {
        found = true;
        step = turnedStep;
        y = turnedY;
        top = turnedTop;
        rotated = true;
      }
    }
    if (!found) return false;
    const int w = rotated ? box.height : box.width;
    places[static_cast<std::size_t>(index)] = PackPlace{line[step].x, y, rotated};
    raise(line, step, w, static_cast<int>(top));
  }
  return true;
}

}  // namespace corvina
