#include "editor/tracker.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace corvina {

namespace {

// a + b held inside the int range: a frame far outside the view (after
// many doublings of its size) must not overflow the pixel arithmetic.
int addClamped(int a, long long b) {
  return static_cast<int>(std::clamp(static_cast<long long>(a) + b, static_cast<long long>(INT_MIN),
                                     static_cast<long long>(INT_MAX)));
}

PixelRect square(int left, int top, int size) {
  return {left, addClamped(left, size), top, addClamped(top, size)};
}

bool contains(const PixelRect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

PixelRect normalized(const PixelRect& rect) {
  return {std::min(rect.left, rect.right), std::max(rect.left, rect.right),
          std::min(rect.top, rect.bottom), std::max(rect.top, rect.bottom)};
}

std::vector<TrackerHandle> trackerHandles(const PixelRect& rect, int size) {
  const PixelRect r = normalized(rect);
  size = std::max(size, 1);
  // Handles sit inside the rectangle; right and bottom are its last pixels'
  // far sides, so the far handles start one handle short of them.
  const int farLeft = addClamped(r.right, -size);
  const int farTop = addClamped(r.bottom, -size);
  std::vector<TrackerHandle> handles = {
      {TrackerHit::TopLeft, square(r.left, r.top, size)},
      {TrackerHit::TopRight, square(farLeft, r.top, size)},
      {TrackerHit::BottomRight, square(farLeft, farTop, size)},
      {TrackerHit::BottomLeft, square(r.left, farTop, size)},
  };
  const long long width = static_cast<long long>(r.right) - r.left;
  const long long height = static_cast<long long>(r.bottom) - r.top;
  if (width >= 3 * size) {
    const int middleLeft = addClamped(r.left, (width - size) / 2);
    handles.push_back({TrackerHit::Top, square(middleLeft, r.top, size)});
    handles.push_back({TrackerHit::Bottom, square(middleLeft, farTop, size)});
  }
  if (height >= 3 * size) {
    const int middleTop = addClamped(r.top, (height - size) / 2);
    handles.push_back({TrackerHit::Right, square(farLeft, middleTop, size)});
    handles.push_back({TrackerHit::Left, square(r.left, middleTop, size)});
  }
  return handles;
}

int trackerHandleSize(double pixelRatio) {
  const double size = std::round(kTrackerHandleSize * pixelRatio);
  return std::isfinite(size) ? static_cast<int>(std::clamp(size, 1.0, 64.0)) : kTrackerHandleSize;
}

TrackerHit hitTest(const PixelRect& rect, int x, int y, int handleSize) {
  for (const TrackerHandle& handle : trackerHandles(rect, handleSize)) {
    if (contains(handle.rect, x, y)) return handle.hit;
  }
  if (contains(normalized(rect), x, y)) return TrackerHit::Inside;
  return TrackerHit::Nothing;
}

ViewCursor cursorFor(TrackerHit hit) {
  switch (hit) {
    case TrackerHit::TopLeft:
    case TrackerHit::BottomRight:
      return ViewCursor::SizeNwSe;
    case TrackerHit::TopRight:
    case TrackerHit::BottomLeft:
      return ViewCursor::SizeNeSw;
    case TrackerHit::Top:
    case TrackerHit::Bottom:
      return ViewCursor::SizeNs;
    case TrackerHit::Left:
    case TrackerHit::Right:
      return ViewCursor::SizeWe;
    case TrackerHit::Inside:
      return ViewCursor::Move;
    case TrackerHit::Nothing:
      break;
  }
  return ViewCursor::Arrow;
}

PixelRect draggedRect(const PixelRect& start, TrackerHit hit, int dx, int dy) {
  PixelRect r = start;
  bool moveLeft = hit == TrackerHit::Inside || hit == TrackerHit::TopLeft ||
                  hit == TrackerHit::BottomLeft || hit == TrackerHit::Left;
  bool moveRight = hit == TrackerHit::Inside || hit == TrackerHit::TopRight ||
                   hit == TrackerHit::BottomRight || hit == TrackerHit::Right;
  bool moveTop = hit == TrackerHit::Inside || hit == TrackerHit::TopLeft ||
                 hit == TrackerHit::TopRight || hit == TrackerHit::Top;
  bool moveBottom = hit == TrackerHit::Inside || hit == TrackerHit::BottomLeft ||
                    hit == TrackerHit::BottomRight || hit == TrackerHit::Bottom;
  // The handles sit where the rectangle is shown (made normal); on an
  // inside-out rectangle the edge shown on the left is its right one.
  const bool shownLeftIsRight = start.right < start.left;
  const bool shownTopIsBottom = start.bottom < start.top;
  if (shownLeftIsRight) std::swap(moveLeft, moveRight);
  if (shownTopIsBottom) std::swap(moveTop, moveBottom);
  if (moveLeft) r.left = addClamped(r.left, dx);
  if (moveRight) r.right = addClamped(r.right, dx);
  if (moveTop) r.top = addClamped(r.top, dy);
  if (moveBottom) r.bottom = addClamped(r.bottom, dy);
  return r;
}

}  // namespace corvina
