// Lines of the view that leave the picture: what shows of them must be the
// pixels the whole line sets, checked against the line walked step by step on
// a virtual canvas that holds it whole, and against the closed form where
// the line is too long to walk.

#include "editor/painter/outline_batch.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>

#include "editor/painter/tests/uv_model.h"
#include "editor/painter/view_composer.h"

namespace corvina::painter {
namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr QRgb kInk = 0x102030;

Pixels inked(const QImage& image, QRgb color = kInk) {
  Pixels pixels;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFFu) == color) pixels.insert({x, y});
  return pixels;
}

// The line from (x, y) walked one step at a time on an unbounded canvas
// (Bresenham's decision term, the minor axis moving when it is not
// negative); a dotted line keeps the steps whose index modulo 6 is below 3.
Pixels stepwise(std::int64_t x, std::int64_t y, std::int64_t ex, std::int64_t ey, int width,
                int height, bool dotted) {
  const std::int64_t ax = std::llabs(ex - x), ay = std::llabs(ey - y);
  const int xStep = ex > x ? 1 : -1, yStep = ey > y ? 1 : -1;
  const bool xMajor = ax > ay;
  const std::int64_t major = xMajor ? ax : ay, minor = xMajor ? ay : ax;
  std::int64_t term = 2 * minor - major;
  Pixels pixels;
  for (std::int64_t i = 0; i <= major; ++i) {
    const bool on = !dotted || i % 6 < 3;
    if (on && x >= 0 && y >= 0 && x < width && y < height) pixels.insert({int(x), int(y)});
    if (xMajor)
      x += xStep;
    else
      y += yStep;
    if (term >= 0) {
      if (xMajor)
        y += yStep;
      else
        x += xStep;
      term -= 2 * major;
    }
    term += 2 * minor;
  }
  return pixels;
}

Pixels batchLine(ViewPoint from, ViewPoint to, int width, int height, bool dotted) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  OutlineBatch batch(image);
  batch.setStyle({kInk, dotted});
  batch.line(from, to);
  return inked(image);
}

TEST(OutlineBatch, LinesLeavingThePictureShowExactlyTheirPartOfTheWholeLine) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> inside(0, 47);
  std::uniform_int_distribution<int> far(-4000, 4000);
  for (int n = 0; n < 3000; ++n) {
    const bool dotted = n % 2 == 1;
    const int x0 = inside(random), y0 = inside(random) * 3 / 4;
    const int x1 = far(random), y1 = far(random);
    ASSERT_EQ(batchLine({double(x0), double(y0)}, {double(x1), double(y1)}, 48, 36, dotted),
              stepwise(x0, y0, x1, y1, 48, 36, dotted))
        << x0 << "," << y0 << " to " << x1 << "," << y1 << (dotted ? " dotted" : "");
    ASSERT_EQ(batchLine({double(x1), double(y1)}, {double(x0), double(y0)}, 48, 36, dotted),
              stepwise(x1, y1, x0, y0, 48, 36, dotted))
        << x1 << "," << y1 << " to " << x0 << "," << y0 << (dotted ? " dotted" : "");
  }
}

TEST(OutlineBatch, SolidLinesInsideThePictureFollowTheSameRule) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int> inside(0, 31);
  for (int n = 0; n < 2000; ++n) {
    const int x0 = inside(random), y0 = inside(random), x1 = inside(random), y1 = inside(random);
    ASSERT_EQ(batchLine({double(x0), double(y0)}, {double(x1), double(y1)}, 32, 32, false),
              stepwise(x0, y0, x1, y1, 32, 32, false))
        << x0 << "," << y0 << " to " << x1 << "," << y1;
  }
}

// The pixels of the line from (sx, sy) in each major cell of the picture,
// floor((2 minor i + major) / (2 major)) in 128-bit arithmetic.
Pixels closedForm(std::int64_t sx, std::int64_t sy, std::int64_t ex, std::int64_t ey, int width,
                  int height) {
  using Big = __int128;
  const Big ax = ex > sx ? Big{ex} - sx : Big{sx} - ex;
  const Big ay = ey > sy ? Big{ey} - sy : Big{sy} - ey;
  const bool xMajor = ax > ay;
  const Big major = xMajor ? ax : ay, minor = xMajor ? ay : ax;
  const int majorStep = xMajor ? (ex > sx ? 1 : -1) : (ey > sy ? 1 : -1);
  const int minorStep = xMajor ? (ey > sy ? 1 : -1) : (ex > sx ? 1 : -1);
  Pixels pixels;
  for (int cell = 0; cell < (xMajor ? width : height); ++cell) {
    const Big i = (Big{cell} - (xMajor ? sx : sy)) * majorStep;
    if (i < 0 || i > major) continue;
    const Big offset = major == 0 ? 0 : (2 * minor * i + major) / (2 * major);
    const Big other = Big{xMajor ? sy : sx} + minorStep * offset;
    if (other < 0 || other >= (xMajor ? height : width)) continue;
    pixels.insert(xMajor ? std::pair{cell, int(other)} : std::pair{int(other), cell});
  }
  return pixels;
}

// vt (1e6, 2e6) seen from (0.2, 0.2): in the view's own coordinates (y
// down) a line of slope -2, there and back again.
TEST(ViewComposer, LineTowardsAFarCoordinateKeepsItsDirection) {
  using testing::UvFacet;
  struct Case {
    float u, v;
  };
  const Case cases[] = {{1e6f, 2e6f}, {-4e6f, 1e6f}, {3e5f, -9e6f}};
  for (const Case& c : cases) {
    UvFacet facet;
    facet.corners = {{0.2f, 0.2f}, {c.u, c.v}, {0.2f, 0.2f}};
    const ModelStore store = testing::uvModel({facet});
    ViewScene scene{store, SelectionState{}, nullptr, 101, 101};
    const QImage image = composeView(scene);
    const auto ax = std::int64_t(truncatedCoordinate(100.0f * 0.2f));
    const auto ay = std::int64_t(truncatedCoordinate(100.0f * (1.0f - 0.2f)));
    const auto bx = std::int64_t(truncatedCoordinate(100.0f * c.u));
    const auto by = std::int64_t(truncatedCoordinate(100.0f * (1.0f - c.v)));
    ASSERT_EQ(ax, 20);
    ASSERT_EQ(ay, 80);
    Pixels expected = closedForm(ax, ay, bx, by, 101, 101);
    for (const auto& pixel : closedForm(bx, by, ax, ay, 101, 101)) expected.insert(pixel);
    EXPECT_EQ(inked(image, 0x000000), expected) << c.u << "," << c.v;
  }
  // Slope 2 spelled out: 80 rows up from (20, 80), 40 columns to the right.
  UvFacet facet;
  facet.corners = {{0.2f, 0.2f}, {1e6f, 2e6f}, {0.2f, 0.2f}};
  const ModelStore store = testing::uvModel({facet});
  const QImage image = composeView(ViewScene{store, SelectionState{}, nullptr, 101, 101});
  EXPECT_EQ(image.pixel(60, 0) & 0xFFFFFFu, 0u);
  EXPECT_EQ(image.pixel(100, 0) & 0xFFFFFFu, 0xFFFFFFu);
}

}  // namespace
}  // namespace corvina::painter
