// The template raster: Bresenham lines against the rule they follow, and small
// models drawn into tiny rasters whose pixels are spelled out.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor/texture_map_raster.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using Pixels = std::set<std::pair<int, int>>;  // (x, y)

Pixels drawnPixels(const TextureMapRaster& raster, std::uint8_t ground = kRasterGround) {
  Pixels drawn;
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      if (raster.at(x, y) != ground) drawn.insert({x, y});
    }
  }
  return drawn;
}

// The line as the rule states it, step by step: start at the end with the
// smaller y (the pen when equal), decision term 2b - a, a + 1 points, each
// kept when it lies inside width x height.
Pixels referenceLine(RasterPoint pen, RasterPoint point, int width, int height) {
  RasterPoint start = pen, end = point;
  if (end.y < start.y) std::swap(start, end);
  long long dy = end.y - start.y, dx = end.x - start.x;
  const int xStep = dx > 0 ? 1 : -1;
  dx = std::llabs(dx);
  const bool xMajor = dx > dy;
  const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  long long term = 2 * minor - major;
  long long x = start.x, y = start.y;
  Pixels pixels;
  for (long long i = 0; i <= major; ++i) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels.insert({int(x), int(y)});
    if (xMajor) {
      x += xStep;
    } else {
      ++y;
    }
    if (term >= 0) {
      if (xMajor) {
        ++y;
      } else {
        x += xStep;
      }
      term += 2 * minor - 2 * major;
    } else {
      term += 2 * minor;
    }
  }
  return pixels;
}

Pixels drawnLine(RasterPoint pen, RasterPoint point, int width, int height) {
  TextureMapRaster raster;
  EXPECT_TRUE(allocateRaster(raster, width, height));
  drawRasterLine(raster, pen, point, 7);
  return drawnPixels(raster);
}

TEST(RasterLine, SpelledOutLines) {
  struct Case {
    std::string name;
    RasterPoint pen, point;
    Pixels expected;
  };
  const std::vector<Case> cases = {
      {"shallow", {0, 0}, {4, 1}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}},
      {"shallow drawn backwards", {4, 1}, {0, 0}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}},
      {"45 degrees steps along y", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"leftwards out of the raster", {0, 0}, {-3, 2}, {{0, 0}}},
      {"leftwards inside", {5, 0}, {2, 2}, {{5, 0}, {4, 1}, {3, 1}, {2, 2}}},
      {"steep", {1, 0}, {2, 4}, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {2, 4}}},
      {"one point", {3, 3}, {3, 3}, {{3, 3}}},
      {"horizontal from the pen", {5, 2}, {2, 2}, {{2, 2}, {3, 2}, {4, 2}, {5, 2}}},
      {"starts left of the raster", {-2, 1}, {2, 1}, {{0, 1}, {1, 1}, {2, 1}}},
      {"passes below the raster", {0, -5}, {7, -1}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(drawnLine(c.pen, c.point, 8, 6), c.expected) << c.name;
  }
}

TEST(RasterLine, MatchesTheStepwiseRuleForRandomLines) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-40, 60);
  for (int i = 0; i < 3000; ++i) {
    const RasterPoint pen{coordinate(random), coordinate(random)};
    const RasterPoint point{coordinate(random), coordinate(random)};
    ASSERT_EQ(drawnLine(pen, point, 32, 24), referenceLine(pen, point, 32, 24))
        << pen.x << "," << pen.y << " to " << point.x << "," << point.y;
  }
}

TEST(RasterLine, LongLinesFromFarOutsideMatchTheRule) {
  const std::vector<std::pair<RasterPoint, RasterPoint>> lines = {
      {{-3000, -1000}, {2500, 1700}},
      {{1999, -2000}, {-1500, 2100}},
      {{10, -2900}, {13, 2900}},
      {{-2900, 7}, {2900, 9}},
  };
  for (const auto& [pen, point] : lines) {
    EXPECT_EQ(drawnLine(pen, point, 40, 30), referenceLine(pen, point, 40, 30));
  }
}

TEST(RasterLine, ExtremeEndsDrawOnlyTheirCrossing) {
  const int far = 1 << 28;
  Pixels row;
  for (int x = 0; x < 16; ++x) row.insert({x, 5});
  EXPECT_EQ(drawnLine({-far, 5}, {far, 5}, 16, 8), row);
  Pixels column;
  for (int y = 0; y < 8; ++y) column.insert({3, y});
  EXPECT_EQ(drawnLine({3, far}, {3, -far}, 16, 8), column);
}

TEST(TexturePixel, TruncatesTowardZeroAndHoldsExtremes) {
  struct Case {
    float t;
    int size;
    double expected;
  };
  const float largest = std::numeric_limits<float>::max();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const std::vector<Case> cases = {
      {0.0f, 512, 0},
      {1.0f, 512, 511},
      {0.5f, 512, 255},
      {-0.5f, 512, -255},
      {0.999f, 2, 0},
      {1.0f, 1, 0},
      {2.0f, 9, 16},
      {nan, 512, 0},
      // Far values stay exact: the line towards them keeps its direction.
      {1e30f, 512, static_cast<double>(511.0f * 1e30f)},
      {-infinity, 8, -static_cast<double>(largest)},
      {2e6f, 512, 1022000000.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(texturePixel(c.t, c.size), c.expected) << c.t << " on " << c.size;
  }
}

TEST(RasterAllocation, RefusesSidesOutsideTheirRange) {
  struct Case {
    int width, height;
    bool allocated;
  };
  const std::vector<Case> cases = {{1, 1, true},   {8192, 1, true},  {0, 5, false},
                                   {5, -1, false}, {8193, 1, false}, {1, 8193, false}};
  for (const Case& c : cases) {
    TextureMapRaster raster;
    EXPECT_EQ(allocateRaster(raster, c.width, c.height), c.allocated) << c.width << "x" << c.height;
    EXPECT_EQ(raster.pixels.size(),
              c.allocated ? std::size_t(c.width) * std::size_t(c.height) : std::size_t{0});
  }
}

TEST(TemplatePalette, SetColoursThenGreys) {
  const auto palette = templatePalette();
  EXPECT_EQ(palette[0].red + palette[0].green + palette[0].blue, 0);
  EXPECT_EQ(palette[1].red, 255);
  EXPECT_EQ(palette[1].green + palette[1].blue, 0);
  EXPECT_EQ(palette[13].red, 127);
  EXPECT_EQ(palette[14].red, 14);
  EXPECT_EQ(palette[14].blue, 14);
  EXPECT_EQ(palette[200].green, 200);
  EXPECT_EQ(palette[255].red, 255);
  EXPECT_EQ(palette[255].green, 255);
  EXPECT_EQ(palette[255].blue, 255);
}

// 5 x 5 raster, v = 0 in row 0:
//   row 4  X . . . .
//   row 3  X X . . .        one triangle (0,0) (1,0) (0,1)
//   row 2  X . X . .
//   row 1  X . . X .
//   row 0  X X X X X
Pixels unitTriangle() {
  return {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {0, 1},
          {3, 1}, {0, 2}, {2, 2}, {0, 3}, {1, 3}, {0, 4}};
}

testing::ModelRecipe triangles(int count) {
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  recipe.texVertices = {{0, 0}, {1, 0}, {0, 1}, {0.5f, 0.5f}};
  for (int i = 0; i < count; ++i) recipe.facets.push_back({{1, 1}, {2, 2}, {3, 3}});
  return recipe;
}

TextureMapRaster drawModel(const ModelStore& store, int colorMode, bool excludeHidden,
                           bool* complete = nullptr, int width = 5, int height = 5) {
  TextureMapRaster raster;
  EXPECT_TRUE(allocateRaster(raster, width, height));
  const bool drawn = drawTextureMap(store, colorMode, excludeHidden, raster);
  if (complete) *complete = drawn;
  return raster;
}

TEST(TextureMapDrawing, OneTriangleClosesItsOutline) {
  const ModelStore store = testing::buildModel(triangles(1));
  bool complete = false;
  const TextureMapRaster raster = drawModel(store, 0, false, &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(drawnPixels(raster), unitTriangle());
  EXPECT_EQ(raster.at(0, 0), 0);
}

TEST(TextureMapDrawing, ColourComesFromTheModesSetIndexModulo14) {
  testing::ModelRecipe recipe = triangles(1);
  recipe.groups = {{0, "g0"}};
  recipe.materials = {{0, "m0"}};
  recipe.regions = {{0, "r0"}};
  ModelStore store = testing::buildModel(recipe);
  for (CornerRecord& corner : store.facetStream) {
    if (corner.vertex <= 0) continue;
    corner.group = 15;
    corner.material = 3;
    corner.region = 27 | kSelectedBit;
  }
  const std::vector<std::pair<int, std::uint8_t>> modes = {{0, 0}, {1, 1}, {2, 3}, {3, 13}};
  for (const auto& [mode, colour] : modes) {
    const TextureMapRaster raster = drawModel(store, mode, false);
    EXPECT_EQ(raster.at(0, 0), colour) << "mode " << mode;
    EXPECT_EQ(raster.at(2, 2), colour) << "mode " << mode;
  }
}

TEST(TextureMapDrawing, HiddenFacetsAreLeftOutOnlyWhenExcluded) {
  testing::ModelRecipe recipe = triangles(2);
  recipe.texVertices.push_back({1, 1});
  recipe.facets[1] = {{1, 4}, {2, 5}, {3, 2}};  // (2, 2) (4, 4) (4, 0)
  ModelStore store = testing::buildModel(recipe);
  for (std::size_t j = 5; j < 8; ++j) store.facetStream[j].flags = kHiddenBit;

  Pixels both = unitTriangle();
  for (const auto& pixel : Pixels{{3, 3}, {4, 4}, {4, 1}, {4, 2}, {4, 3}}) both.insert(pixel);
  EXPECT_EQ(drawnPixels(drawModel(store, 0, false)), both);
  EXPECT_EQ(drawnPixels(drawModel(store, 0, true)), unitTriangle());
}

TEST(TextureMapDrawing, HiddenCornerLeavesItsFacetOpen) {
  ModelStore store = testing::buildModel(triangles(1));
  store.facetStream[3].flags = kHiddenBit;  // the third corner: (0, 1)
  const Pixels openLine = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}};
  EXPECT_EQ(drawnPixels(drawModel(store, 0, true)), openLine);
}

TEST(TextureMapDrawing, StopsAtTheFirstCornerWithoutTextureVertex) {
  struct Case {
    std::string name;
    int badRecord;  // index into the stream of three triangles
    int badIndex;
    Pixels expected;
  };
  const Pixels first = unitTriangle();
  const std::vector<Case> cases = {
      {"first corner of the second facet", 5, 0, first},
      {"index beyond the texture vertices", 5, 999, first},
      {"negative index", 5, -3, first},
      {"second corner of the first facet", 2, 0, {}},
  };
  for (const Case& c : cases) {
    ModelStore store = testing::buildModel(triangles(3));
    // Move the later facets so that a drawn one would show.
    for (std::size_t j = 5; j < 12; ++j) store.texVertices[j] = {0.75f, 0.75f, 0};
    store.facetStream[static_cast<std::size_t>(c.badRecord)].texVertex = c.badIndex;
    bool complete = true;
    const Pixels drawn = drawnPixels(drawModel(store, 0, false, &complete));
    EXPECT_FALSE(complete) << c.name;
    EXPECT_EQ(drawn, c.expected) << c.name;
  }
}

TEST(TextureMapDrawing, CoordinatesOutsideTheSquareAreCutAtTheBorder) {
  testing::ModelRecipe recipe = triangles(1);
  recipe.texVertices = {{-1.0f, 0.25f}, {2.0f, 0.25f}, {0.5f, 0.25f}};
  const ModelStore store = testing::buildModel(recipe);
  Pixels row;
  for (int x = 0; x < 5; ++x) row.insert({x, 1});
  EXPECT_EQ(drawnPixels(drawModel(store, 0, false)), row);
}

TEST(TextureMapDrawing, OnePixelSidesCollapseEveryLine) {
  const ModelStore store = testing::buildModel(triangles(1));
  EXPECT_EQ(drawnPixels(drawModel(store, 0, false, nullptr, 1, 6)),
            (Pixels{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}}));
  EXPECT_EQ(drawnPixels(drawModel(store, 0, false, nullptr, 7, 1)),
            (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}));
}

}  // namespace
}  // namespace corvina
