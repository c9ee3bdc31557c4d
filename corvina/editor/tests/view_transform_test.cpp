// Where the 0..1 square lies in the view: its home with and without the
// map's proportions, zooming about a point, panning and framing an area.

#include "editor/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace corvina {
namespace {

// The view coordinate under device pixel p along a side of the square.
double coordinateAt(int p, int first, int side) {
  return (p - first) / static_cast<double>(side - 1);
}

TEST(ViewTransform, HomeFillsTheViewOrFitsTheMapsProportions) {
  struct Case {
    const char* name;
    ViewSize view;
    MapShape map;
    bool keep;
    SquarePlacement home;
  };
  const Case cases[] = {
      {"stretched", {400, 300}, {1024, 256}, false, {0, 0, {400, 300}}},
      {"square map in a wide view", {400, 300}, {512, 512}, true, {50, 0, {300, 300}}},
      {"wide map", {400, 300}, {1024, 256}, true, {0, 100, {400, 100}}},
      {"tall map", {400, 300}, {256, 1024}, true, {162, 0, {75, 300}}},
      {"map without pixels counts as square", {400, 300}, {0, 0}, true, {50, 0, {300, 300}}},
      {"view without pixels", {0, -3}, {512, 512}, false, {0, 0, {1, 1}}},
      {"extreme map keeps a pixel", {400, 300}, {8192, 1}, true, {0, 149, {400, 1}}},
  };
  for (const Case& c : cases) {
    ViewTransform transform;
    transform.setKeepProportions(c.keep);
    EXPECT_TRUE(transform.atHome()) << c.name;
    EXPECT_EQ(transform.placement(c.view, c.map), c.home) << c.name;
    EXPECT_EQ(fillsView(transform.placement(c.view, c.map), c.view), !c.keep) << c.name;
  }
}

TEST(ViewTransform, ZoomKeepsThePointUnderThePointer) {
  struct Case {
    int x, y;
    double factor;
  };
  const Case cases[] = {{0, 0, 2.0},    {399, 299, 2.0}, {123, 45, 1.25}, {200, 150, 0.5},
                        {17, 280, 0.8}, {-50, 500, 3.0}, {300, 10, 10.0}, {250, 100, 0.1}};
  const ViewSize view{400, 300};
  for (const bool keep : {false, true}) {
    ViewTransform transform;
    transform.setKeepProportions(keep);
    const MapShape map{1024, 512};
    for (const Case& c : cases) {
      const SquarePlacement before = transform.placement(view, map);
      ASSERT_TRUE(transform.zoomAt(view, map, c.x, c.y, c.factor));
      const SquarePlacement after = transform.placement(view, map);
      EXPECT_FALSE(transform.atHome());
      // The size follows the factor; the coordinate under (x, y) stays
      // within half a pixel of the new square.
      EXPECT_NEAR(after.size.width, before.size.width * c.factor, 1.0);
      const double shiftX = (coordinateAt(c.x, after.left, after.size.width) -
                             coordinateAt(c.x, before.left, before.size.width)) *
                            (after.size.width - 1);
      const double shiftY = (coordinateAt(c.y, after.top, after.size.height) -
                             coordinateAt(c.y, before.top, before.size.height)) *
                            (after.size.height - 1);
      EXPECT_LE(std::fabs(shiftX), 0.5 + 1e-9) << c.x << ", " << c.factor;
      EXPECT_LE(std::fabs(shiftY), 0.5 + 1e-9) << c.y << ", " << c.factor;
    }
    transform.showHome();
    EXPECT_TRUE(transform.atHome());
    const SquarePlacement home =
        keep ? SquarePlacement{0, 50, {400, 200}} : SquarePlacement{0, 0, view};
    EXPECT_EQ(transform.placement(view, map), home);
  }
}

TEST(ViewTransform, ShowHomeReturnsToTheOriginalView) {
  const ViewSize view{640, 480};
  const MapShape map{512, 256};
  ViewTransform transform;
  transform.zoomAt(view, map, 100, 100, 4.0);
  transform.moveSquareTo(view, map, -300, 20);
  transform.showHome();
  EXPECT_EQ(transform.placement(view, map), (SquarePlacement{0, 0, view}));
  transform.setKeepProportions(true);
  transform.zoomAt(view, map, 100, 100, 0.5);
  transform.showHome();
  EXPECT_EQ(transform.placement(view, map), (SquarePlacement{0, 80, {640, 320}}));
}

TEST(ViewTransform, ZoomStaysBetweenEightPixelsAnd256TimesHome) {
  const ViewSize view{300, 200};
  const MapShape map{512, 512};
  ViewTransform transform;
  for (int i = 0; i < 100; ++i) transform.zoomAt(view, map, 150, 100, 2.0);
  SquarePlacement square = transform.placement(view, map);
  EXPECT_EQ(square.size.width, 300 * 256);
  EXPECT_EQ(square.size.height, 200 * 256);
  EXPECT_FALSE(transform.zoomAt(view, map, 150, 100, 2.0)) << "no further";
  for (int i = 0; i < 100; ++i) transform.zoomAt(view, map, 150, 100, 0.5);
  square = transform.placement(view, map);
  EXPECT_EQ(square.size.height, 8);
  EXPECT_EQ(square.size.width, 12);
  // A large view is held to 2^19 pixels a side.
  const ViewSize wide{4000, 100};
  ViewTransform far;
  for (int i = 0; i < 100; ++i) far.zoomAt(wide, map, 0, 0, 2.0);
  EXPECT_EQ(far.placement(wide, map).size.width, 1 << 19);
  // Factors that are no factor change nothing.
  for (const double factor : {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()}) {
    const SquarePlacement before = far.placement(wide, map);
    EXPECT_FALSE(far.zoomAt(wide, map, 5, 5, factor));
    EXPECT_EQ(far.placement(wide, map), before);
  }
}

TEST(ViewTransform, PanMovesTheSquareByWholePixels) {
  const ViewSize view{333, 222};
  const MapShape map{512, 512};
  ViewTransform transform;
  transform.zoomAt(view, map, 40, 50, 3.0);
  const SquarePlacement zoomed = transform.placement(view, map);
  const int moves[][2] = {{1, 0}, {0, -1}, {-57, 33}, {400, -250}, {0, 0}};
  for (const auto& move : moves) {
    const SquarePlacement before = transform.placement(view, map);
    EXPECT_EQ(transform.moveSquareTo(view, map, before.left + move[0], before.top + move[1]),
              move[0] != 0 || move[1] != 0);
    const SquarePlacement after = transform.placement(view, map);
    EXPECT_EQ(after.left, before.left + move[0]);
    EXPECT_EQ(after.top, before.top + move[1]);
    EXPECT_EQ(after.size.width, zoomed.size.width);
    EXPECT_EQ(after.size.height, zoomed.size.height);
  }
  // From home a pan keeps the home size.
  ViewTransform fresh;
  fresh.moveSquareTo(view, map, 10, -5);
  EXPECT_EQ(fresh.placement(view, map), (SquarePlacement{10, -5, view}));
}

TEST(ViewTransform, FramingFillsNineTenthsOfTheView) {
  struct Case {
    const char* name;
    FrameRect area;
  };
  const Case cases[] = {
      {"small area", {0.4f, 0.5f, 0.4f, 0.45f}},
      {"mirrored area", {0.5f, 0.4f, 0.45f, 0.4f}},
      {"outside the square", {1.5f, 2.0f, -0.6f, -0.2f}},
      {"the whole square", {0, 1, 0, 1}},
  };
  const ViewSize view{500, 400};
  const MapShape map{512, 512};
  for (const Case& c : cases) {
    ViewTransform transform;
    transform.frame(view, map, c.area);
    const SquarePlacement square = transform.placement(view, map);
    auto pixelX = [&](float x) { return square.left + (square.size.width - 1) * x; };
    auto pixelY = [&](float y) { return square.top + (square.size.height - 1) * y; };
    const double left = std::min(pixelX(c.area.left), pixelX(c.area.right));
    const double right = std::max(pixelX(c.area.left), pixelX(c.area.right));
    const double top = std::min(pixelY(c.area.top), pixelY(c.area.bottom));
    const double bottom = std::max(pixelY(c.area.top), pixelY(c.area.bottom));
    // Centred, inside the view, and nine tenths of it in one direction.
    EXPECT_NEAR((left + right) / 2, 249.5, 1.0) << c.name;
    EXPECT_NEAR((top + bottom) / 2, 199.5, 1.0) << c.name;
    EXPECT_GE(left, 0) << c.name;
    EXPECT_LE(right, 499) << c.name;
    EXPECT_GE(top, 0) << c.name;
    EXPECT_LE(bottom, 399) << c.name;
    EXPECT_TRUE(std::fabs((right - left) - 450) <= 2 || std::fabs((bottom - top) - 360) <= 2)
        << c.name << ": " << right - left << " x " << bottom - top;
  }
  // A point gets the largest zoom; an area that is not finite nothing.
  ViewTransform point;
  point.frame(view, map, {0.3f, 0.3f, 0.6f, 0.6f});
  EXPECT_EQ(point.placement(view, map).size.width, 500 * 256);
  ViewTransform broken;
  EXPECT_FALSE(broken.frame(view, map, {0, std::numeric_limits<float>::infinity(), 0, 1}));
  EXPECT_TRUE(broken.atHome());
}

TEST(ViewTransform, RectanglesMoveToTheScreenWithTheSquare) {
  const PixelRect frame{10, 40, 5, 25};
  EXPECT_EQ(toScreen(frame, {0, 0, {100, 100}}).left, 10);
  const PixelRect moved = toScreen(frame, {-7, 12, {300, 300}});
  EXPECT_EQ(moved.left, 3);
  EXPECT_EQ(moved.right, 33);
  EXPECT_EQ(moved.top, 17);
  EXPECT_EQ(moved.bottom, 37);
  // Held in the int range.
  const PixelRect far = toScreen({2147483000, 2147483600, -2147483000, 0}, {1000, -1000, {1, 1}});
  EXPECT_EQ(far.right, 2147483647);
  EXPECT_EQ(far.top, -2147483647 - 1);
}

}  // namespace
}  // namespace corvina
