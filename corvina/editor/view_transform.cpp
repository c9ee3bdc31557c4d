#include "editor/view_transform.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace corvina {

namespace {

// The largest square side: coordinates of the drawn lines stay well inside
// the range the painter's fast line drawing takes.
constexpr int kLargestSide = 1 << 19;
constexpr double kLargestZoom = 256.0;
constexpr double kSmallestZoom = 1.0 / 64.0;
constexpr int kSmallestSide = 8;
// How far the view's centre may be panned away from the square, in squares.
constexpr double kFarthestCentre = 16.0;
constexpr double kFramedShare = 0.9;

ViewSize atLeastOnePixel(ViewSize view) {
  return {std::max(1, view.width), std::max(1, view.height)};
}

SquarePlacement homePlacement(ViewSize view, bool keepProportions, MapShape map) {
  view = atLeastOnePixel(view);
  if (!keepProportions) return {0, 0, view};
  const double aspect = map.width > 0 && map.height > 0
                            ? static_cast<double>(map.width) / static_cast<double>(map.height)
                            : 1.0;
  int width = view.width, height = view.height;
  if (static_cast<double>(view.height) * aspect <= static_cast<double>(view.width))
    width = std::clamp(static_cast<int>(std::lround(view.height * aspect)), 1, view.width);
  else
    height = std::clamp(static_cast<int>(std::lround(view.width / aspect)), 1, view.height);
  return {(view.width - width) / 2, (view.height - height) / 2, {width, height}};
}

int sideAt(int homeSide, double zoom) {
  const double side = std::round(static_cast<double>(homeSide) * zoom);
  return static_cast<int>(std::clamp(side, 1.0, static_cast<double>(kLargestSide)));
}

double smallestZoom(const SquarePlacement& home) {
  const int shorter = std::min(home.size.width, home.size.height);
  return std::min(1.0, std::max(kSmallestZoom, static_cast<double>(kSmallestSide) / shorter));
}

double largestZoom(const SquarePlacement& home) {
  const int longer = std::max(home.size.width, home.size.height);
  return std::max(1.0, std::min(kLargestZoom, static_cast<double>(kLargestSide) / longer));
}

// The pixel of the view's centre along a side of `side` pixels.
double centrePixel(int side) {
  return (static_cast<double>(side) - 1.0) / 2.0;
}

}  // namespace

bool fillsView(const SquarePlacement& square, ViewSize view) {
  return square == SquarePlacement{0, 0, atLeastOnePixel(view)};
}

PixelRect toScreen(const PixelRect& rect, const SquarePlacement& square) {
  auto shift = [](int value, int by) {
    return static_cast<int>(std::clamp(static_cast<long long>(value) + by,
                                       static_cast<long long>(INT_MIN),
                                       static_cast<long long>(INT_MAX)));
  };
  return {shift(rect.left, square.left), shift(rect.right, square.left),
          shift(rect.top, square.top), shift(rect.bottom, square.top)};
}

SquarePlacement ViewTransform::placement(ViewSize view, MapShape map) const {
  view = atLeastOnePixel(view);
  const SquarePlacement home = homePlacement(view, keepProportions_, map);
  if (home_) return home;
  SquarePlacement square;
  square.size = {sideAt(home.size.width, zoom_), sideAt(home.size.height, zoom_)};
  square.left =
      static_cast<int>(std::lround(centrePixel(view.width) - centreX_ * (square.size.width - 1)));
  square.top =
      static_cast<int>(std::lround(centrePixel(view.height) - centreY_ * (square.size.height - 1)));
  return square;
}

void ViewTransform::showHome() {
  home_ = true;
  zoom_ = 1.0;
  centreX_ = centreY_ = 0.5;
}

void ViewTransform::setKeepProportions(bool keep) {
  keepProportions_ = keep;
  showHome();
}

void ViewTransform::place(ViewSize view, const SquarePlacement& home, double zoom, double left,
                          double top) {
  view = atLeastOnePixel(view);
  home_ = false;
  zoom_ = zoom;
  const int width = sideAt(home.size.width, zoom);
  const int height = sideAt(home.size.height, zoom);
  auto centreOf = [](double centre, double first, int side) {
    if (side <= 1) return 0.5;
    return std::clamp((centre - first) / (side - 1), -kFarthestCentre, 1.0 + kFarthestCentre);
  };
  centreX_ = centreOf(centrePixel(view.width), left, width);
  centreY_ = centreOf(centrePixel(view.height), top, height);
}

bool ViewTransform::zoomAt(ViewSize view, MapShape map, int x, int y, double factor) {
  if (!std::isfinite(factor) || factor <= 0.0) return false;
  const SquarePlacement before = placement(view, map);
  const SquarePlacement home = homePlacement(view, keepProportions_, map);
  const double zoom = std::clamp(zoom_ * factor, smallestZoom(home), largestZoom(home));
  if (zoom == zoom_) return false;
  // The view coordinate under the pointer, and where it must stay.
  const double atX = (x - before.left) / static_cast<double>(std::max(before.size.width - 1, 1));
  const double atY = (y - before.top) / static_cast<double>(std::max(before.size.height - 1, 1));
  const int width = sideAt(home.size.width, zoom);
  const int height = sideAt(home.size.height, zoom);
  place(view, home, zoom, x - atX * (width - 1), y - atY * (height - 1));
  return !(placement(view, map) == before);
}

bool ViewTransform::moveSquareTo(ViewSize view, MapShape map, int left, int top) {
  const SquarePlacement before = placement(view, map);
  if (before.left == left && before.top == top) return false;
  place(view, homePlacement(view, keepProportions_, map), zoom_, left, top);
  return !(placement(view, map) == before);
}

bool ViewTransform::frame(ViewSize view, MapShape map, const FrameRect& area) {
  const double left = std::min(area.left, area.right), right = std::max(area.left, area.right);
  const double top = std::min(area.top, area.bottom), bottom = std::max(area.top, area.bottom);
  if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top) ||
      !std::isfinite(bottom))
    return false;
  view = atLeastOnePixel(view);
  const SquarePlacement before = placement(view, map);
  const SquarePlacement home = homePlacement(view, keepProportions_, map);
  // The zoom at which the area spans nine tenths of the view's shorter
  // direction (relative to the square's).
  const double across = (right - left) * std::max(home.size.width - 1, 1);
  const double down = (bottom - top) * std::max(home.size.height - 1, 1);
  const double fitAcross = across > 0 ? kFramedShare * view.width / across : largestZoom(home);
  const double fitDown = down > 0 ? kFramedShare * view.height / down : largestZoom(home);
  const double zoom =
      std::clamp(std::min(fitAcross, fitDown), smallestZoom(home), largestZoom(home));
  const int width = sideAt(home.size.width, zoom);
  const int height = sideAt(home.size.height, zoom);
  place(view, home, zoom, centrePixel(view.width) - (left + right) / 2.0 * (width - 1),
        centrePixel(view.height) - (top + bottom) / 2.0 * (height - 1));
  return !(placement(view, map) == before);
}

}  // namespace corvina
