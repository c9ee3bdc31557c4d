// Lines between far ends: the visible part must be the pixels the line's own
// arithmetic gives, checked against the stepwise rule on a virtual canvas
// large enough for the whole line, and against the closed form where the
// line is too long to walk.

#include "editor/texture_map_raster_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "editor/texture_map_raster.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using Pixels = std::set<std::pair<int, int>>;        // (x, y)
using Phased = std::set<std::tuple<int, int, int>>;  // (x, y, phase)

Phased visible(LinePoint start, LinePoint end, int width, int height, int period = 1) {
  Phased pixels;
  forEachVisibleLinePixel(start, end, width, height, period, [&](int x, int y, int phase) {
    pixels.insert({x, y, phase});
  });
  return pixels;
}

// Every point of the line from `start`, walked one step at a time with the
// decision term, kept when it lies inside the picture.
Phased stepwise(std::int64_t x, std::int64_t y, std::int64_t ex, std::int64_t ey, int width,
                int height, int period = 1) {
  const std::int64_t ax = std::llabs(ex - x), ay = std::llabs(ey - y);
  const int xStep = ex > x ? 1 : -1, yStep = ey > y ? 1 : -1;
  const bool xMajor = ax > ay;
  const std::int64_t major = xMajor ? ax : ay, minor = xMajor ? ay : ax;
  std::int64_t term = 2 * minor - major;
  Phased pixels;
  for (std::int64_t i = 0; i <= major; ++i) {
    if (x >= 0 && y >= 0 && x < width && y < height)
      pixels.insert({int(x), int(y), int(i % period)});
    if (xMajor) {
      x += xStep;
    } else {
      y += yStep;
    }
    if (term >= 0) {
      if (xMajor) {
        y += yStep;
      } else {
        x += xStep;
      }
      term -= 2 * major;
    }
    term += 2 * minor;
  }
  return pixels;
}

// The pixel of each major cell inside the picture from the closed form
// floor((2 minor i + major) / (2 major)), in 128-bit arithmetic; for ends
// within 2^60.
Phased closedForm(std::int64_t sx, std::int64_t sy, std::int64_t ex, std::int64_t ey, int width,
                  int height) {
  using Big = __int128;
  const Big ax = ex > sx ? Big{ex} - sx : Big{sx} - ex;
  const Big ay = ey > sy ? Big{ey} - sy : Big{sy} - ey;
  const bool xMajor = ax > ay;
  const Big major = xMajor ? ax : ay, minor = xMajor ? ay : ax;
  const int majorStep = xMajor ? (ex > sx ? 1 : -1) : (ey > sy ? 1 : -1);
  const int minorStep = xMajor ? (ey > sy ? 1 : -1) : (ex > sx ? 1 : -1);
  Phased pixels;
  for (int cell = 0; cell < (xMajor ? width : height); ++cell) {
    const Big i = (Big{cell} - (xMajor ? sx : sy)) * majorStep;
    if (i < 0 || i > major) continue;
    const Big offset = major == 0 ? 0 : (2 * minor * i + major) / (2 * major);
    const Big other = Big{xMajor ? sy : sx} + minorStep * offset;
    const int limit = xMajor ? height : width;
    if (other < 0 || other >= limit) continue;
    pixels.insert(xMajor ? std::tuple{cell, int(other), 0} : std::tuple{int(other), cell, 0});
  }
  return pixels;
}

TEST(VisibleLinePixels, MatchTheStepwiseRuleWithPhase) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coordinate(-300, 340);
  std::uniform_int_distribution<int> periods(1, 7);
  for (int n = 0; n < 4000; ++n) {
    const int x0 = coordinate(random), y0 = coordinate(random);
    const int x1 = coordinate(random), y1 = coordinate(random);
    const int period = periods(random);
    ASSERT_EQ(visible({double(x0), double(y0)}, {double(x1), double(y1)}, 37, 23, period),
              stepwise(x0, y0, x1, y1, 37, 23, period))
        << x0 << "," << y0 << " to " << x1 << "," << y1 << " period " << period;
  }
}

TEST(VisibleLinePixels, MatchTheClosedFormForEndsUpTo2To60) {
  std::mt19937_64 random(5);
  const std::int64_t reaches[] = {std::int64_t{1} << 20, std::int64_t{1} << 31,
                                  std::int64_t{1} << 45, std::int64_t{1} << 60};
  for (const std::int64_t reach : reaches) {
    std::uniform_int_distribution<std::int64_t> far(-reach, reach);
    std::uniform_int_distribution<std::int64_t> near(-5, 70);
    for (int n = 0; n < 600; ++n) {
      // One end near the picture so that many lines cross it; ends kept to
      // whole doubles.
      const std::int64_t sx = near(random), sy = near(random);
      const auto ex = static_cast<std::int64_t>(static_cast<double>(far(random)));
      const auto ey = static_cast<std::int64_t>(static_cast<double>(far(random)));
      const LinePoint s{double(sx), double(sy)}, e{double(ex), double(ey)};
      ASSERT_EQ(visible(s, e, 64, 48), closedForm(sx, sy, ex, ey, 64, 48))
          << sx << "," << sy << " to " << ex << "," << ey;
      ASSERT_EQ(visible(e, s, 64, 48), closedForm(ex, ey, sx, sy, 64, 48))
          << ex << "," << ey << " to " << sx << "," << sy;
    }
  }
}

// A line between K (p, q) and -K (p, q) passes exactly through the origin,
// and from there on its offsets are those of the short line through the
// same points, whatever K: the visible part must not depend on K.
TEST(VisibleLinePixels, FarCollinearEndsDrawTheSameAsNearOnes) {
  const std::pair<int, int> directions[] = {{1, 2}, {2, 1}, {3, 7}, {7, 3}, {5, 5},
                                            {1, 0}, {0, 1}, {9, 4}, {4, 9}, {15, 1}};
  const double scales[] = {0x1p40, 0x1p100, 0x1p123};
  for (const auto& [p, q] : directions) {
    const std::int64_t m = 256;
    const Phased nearForward = stepwise(-m * p, -m * q, m * p, m * q, 40, 30);
    const Phased nearBackward = stepwise(m * p, m * q, -m * p, -m * q, 40, 30);
    for (const double k : scales) {
      const LinePoint a{-k * p, -k * q}, b{k * p, k * q};
      EXPECT_EQ(visible(a, b, 40, 30), nearForward) << p << "," << q << " at " << k;
      EXPECT_EQ(visible(b, a, 40, 30), nearBackward) << p << "," << q << " at " << k;
    }
  }
}

TEST(VisibleLinePixels, ExtremeAndStrangeEndsDrawSafely) {
  const float largest = std::numeric_limits<float>::max();
  const double far = truncatedPixel(largest, 0), infinite = truncatedPixel(-INFINITY, 0);
  EXPECT_EQ(infinite, -far);
  EXPECT_EQ(truncatedPixel(NAN, -7.0), -7.0);
  EXPECT_EQ(truncatedPixel(-2.75f, 0), -2.0);
  // Along the diagonal from the largest negative to the largest positive
  // float: exactly the diagonal of the square picture.
  Phased diagonal;
  for (int i = 0; i < 16; ++i) diagonal.insert({i, i, 0});
  EXPECT_EQ(visible({-far, -far}, {far, far}, 16, 16), diagonal);
  EXPECT_EQ(visible({far, -far}, {far, far}, 16, 16), Phased{});
  EXPECT_EQ(visible({3, 3}, {3, 3}, 16, 16), (Phased{{3, 3, 0}}));
  EXPECT_EQ(visible({3, 3}, {3, 3}, 0, 16), Phased{});
}

testing::ModelRecipe lineModel(float u0, float v0, float u1, float v1) {
  // A triangle whose third corner repeats the first: its outline is the line
  // there and back, and the way back draws the same pixels.
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  recipe.texVertices = {{u0, v0}, {u1, v1}};
  recipe.facets.push_back({{1, 1}, {2, 2}, {3, 1}});
  return recipe;
}

// vt (1e6, 2e6) seen from (0.2, 0.2) on a 512 x 512 template: a line of
// slope 2, drawn where the closed form puts it.
TEST(TextureMapDrawing, LineTowardsAFarCoordinateKeepsItsDirection) {
  struct Case {
    float u, v;
  };
  const Case cases[] = {{1e6f, 2e6f}, {-3e7f, 1e7f}, {1e30f, 2e30f}, {2e6f, -1e6f}};
  for (const Case& c : cases) {
    const ModelStore store = testing::buildModel(lineModel(0.2f, 0.2f, c.u, c.v));
    TextureMapRaster raster;
    ASSERT_TRUE(allocateRaster(raster, 512, 512));
    ASSERT_TRUE(drawTextureMap(store, 0, false, raster));
    Pixels drawn;
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x)
        if (raster.at(x, y) != kRasterGround) drawn.insert({x, y});

    const double sx = texturePixel(0.2f, 512), sy = texturePixel(0.2f, 512);
    const double ex = texturePixel(c.u, 512), ey = texturePixel(c.v, 512);
    ASSERT_EQ(sx, 102.0);
    // The start is the end with the smaller y.
    const bool fromStart = sy <= ey;
    Pixels expected;
    if (std::fabs(ex) < 0x1p60 && std::fabs(ey) < 0x1p60) {
      const Phased reference =
          fromStart ? closedForm(102, 102, std::int64_t(ex), std::int64_t(ey), 512, 512)
                    : closedForm(std::int64_t(ex), std::int64_t(ey), 102, 102, 512, 512);
      for (const auto& [x, y, phase] : reference) expected.insert({x, y});
    } else {
      // (1e30, 2e30) lands at (e, 2e) with e = 511 x 1e30 in float, so
      // dy = 2 dx + 102: every offset lies just below its half step and the
      // line climbs two rows per column from (102, 102).
      for (int y = 102; y < 512; ++y) expected.insert({102 + (y - 102) / 2, y});
    }
    EXPECT_EQ(drawn, expected) << c.u << "," << c.v;
  }
  // The slope-2 case spelled out at its top row.
  const ModelStore store = testing::buildModel(lineModel(0.2f, 0.2f, 1e6f, 2e6f));
  TextureMapRaster raster;
  ASSERT_TRUE(allocateRaster(raster, 512, 512));
  drawTextureMap(store, 0, false, raster);
  EXPECT_EQ(raster.at(306, 511), 0);
  EXPECT_EQ(raster.at(511, 511), kRasterGround);
}

}  // namespace
}  // namespace corvina
