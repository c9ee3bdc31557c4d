// Per-facet mapping: grid size, where each triangle of a cell lands, and
// models that are not made of triangles only.

#include <gtest/gtest.h>

#include "mapping/per_facet_mapping.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

using testing::FacetSpec;
using UvList = std::vector<std::pair<float, float>>;

TEST(PerFacetGrid, CellsPerSide) {
  struct Case {
    int facets, cells;
  };
  // 1: trunc(sqrt(1)) = 1; 2: 1, then 2 > 1; 8: trunc(sqrt(4)) = 2, then
  // 8 > 4; 9: 5 pairs, trunc(sqrt(5)) = 2, 9 > 4; 50: 25 pairs, 5, 50 > 25.
  const Case cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 2}, {8, 3}, {9, 3}, {50, 6}};
  for (const Case& c : cases) EXPECT_EQ(perFacetGridSize(c.facets), c.cells) << c.facets;
}

void expectUvs(const ModelStore& model, const UvList& expected, std::size_t first = 0) {
  const UvList uvs = testing::cornerUvs(model);
  ASSERT_GE(uvs.size(), first + expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_FLOAT_EQ(uvs[first + k].first, expected[k].first) << "corner " << first + k;
    EXPECT_FLOAT_EQ(uvs[first + k].second, expected[k].second) << "corner " << first + k;
  }
}

TEST(PerFacetMapping, OneFacetFillsTheUpperLeftHalfInsideTheMargins) {
  ModelStore model = testing::triangles(1);
  ASSERT_EQ(perFacetMapping(model, PerFacetMappingOptions{}), MappingOutcome::Mapped);
  // f = 1, d = 0.08, e = 0.04, w = 0.096.
  expectUvs(model, {{0.04f, 0.96f}, {0.04f, 0.096f}, {0.904f, 0.96f}});
  EXPECT_EQ(model.mapWidth, 1024);
  EXPECT_EQ(model.mapHeight, 1024);
}

TEST(PerFacetMapping, TwoFacetsShareTheTopLeftCellOfATwoByTwoGrid) {
  ModelStore model = testing::triangles(2);
  PerFacetMappingOptions options;
  options.mapSize = 256;
  perFacetMapping(model, options);
  // f = 0.5, d = 0.04, e = 0.02, w = 0.048; the cell spans u 0..0.5, v 0.5..1.
  expectUvs(model, {{0.02f, 0.98f},
                    {0.02f, 0.548f},
                    {0.452f, 0.98f},
                    {0.48f, 0.952f},
                    {0.048f, 0.52f},
                    {0.48f, 0.52f}});
  EXPECT_EQ(model.mapWidth, 256);
  EXPECT_EQ(model.mapHeight, 256);
}

TEST(PerFacetMapping, EightFacetsFillTheFirstRowAndOneMoreCell) {
  ModelStore model = testing::triangles(8);
  PerFacetMappingOptions options;
  options.gap = 0.0f;
  perFacetMapping(model, options);
  const float third = 1.0f / 3.0f;
  // Without a gap the cells touch: facet 2k opens cell k at its top-left.
  const std::vector<testing::UvBounds> bounds = testing::facetUvBounds(model);
  const std::pair<float, float> cellTopLeft[] = {
      {0, 1}, {third, 1}, {2 * third, 1}, {0, 1 - third}};
  for (int cell = 0; cell < 4; ++cell) {
    for (int half = 0; half < 2; ++half) {
      const testing::UvBounds& b = bounds[static_cast<std::size_t>(2 * cell + half)];
      EXPECT_FLOAT_EQ(b.umin, cellTopLeft[cell].first) << "facet " << 2 * cell + half;
      EXPECT_NEAR(b.umax, cellTopLeft[cell].first + third, 1e-6f);
      EXPECT_FLOAT_EQ(b.vmax, cellTopLeft[cell].second);
      EXPECT_NEAR(b.vmin, cellTopLeft[cell].second - third, 1e-6f);
    }
  }
}

TEST(PerFacetMapping, MapsEveryFacetWhetherSelectedOrNot) {
  ModelStore model = testing::triangles(3);
  testing::selectFacets(model, {1});
  perFacetMapping(model, PerFacetMappingOptions{});
  for (const auto& [u, v] : testing::cornerUvs(model)) {
    EXPECT_GT(u, 0.0f);
    EXPECT_LT(u, 1.0f);
  }
}

TEST(TriangulationCheck, FindsAnyFacetWithMoreThanThreeCorners) {
  struct Case {
    const char* name;
    std::vector<FacetSpec> facets;
    bool beyond;
  };
  const Case cases[] = {
      {"triangles", {FacetSpec{{1}, {2}, {3}}, FacetSpec{{1}, {2}, {3}}}, false},
      {"one quad among triangles", {FacetSpec{{1}, {2}, {3}}, FacetSpec{{1}, {2}, {3}, {4}}}, true},
      {"a quad last", {FacetSpec{{1}, {2}, {3}, {4}}}, true},
      {"short facets pass", {FacetSpec{{1}, {2}}, FacetSpec{{3}}}, false},
      {"no facets", {}, false},
  };
  for (const Case& c : cases) {
    const ModelStore model = testing::buildModel(std::vector<Vertex>(4), {}, c.facets);
    EXPECT_EQ(hasFacetsBeyondTriangles(model), c.beyond) << c.name;
  }
}

TEST(PerFacetMapping, ShortFacetsKeepTheirSlotsAndReadNothingBeyond) {
  // A two-corner facet, a one-corner facet, then a triangle: each facet takes
  // its own slot (two per cell of a 2 x 2 grid); the triangle is the third
  // facet, the first of the second cell.
  ModelStore model = testing::buildModel(
      std::vector<Vertex>(3), {}, {FacetSpec{{1}, {2}}, FacetSpec{{3}}, FacetSpec{{1}, {2}, {3}}});
  PerFacetMappingOptions options;
  options.gap = 0.0f;
  perFacetMapping(model, options);
  expectUvs(model, {{0, 1}, {0, 0.5f}, {0.5f, 1}, {0.5f, 1}, {0.5f, 0.5f}, {1, 1}});
}

TEST(PerFacetMapping, NoFacetsSetsTheMapSizeOnly) {
  ModelStore model = testing::buildModel({}, {}, {});
  PerFacetMappingOptions options;
  options.mapSize = 64;
  EXPECT_EQ(perFacetMapping(model, options), MappingOutcome::Mapped);
  EXPECT_EQ(model.mapWidth, 64);
}

}  // namespace
}  // namespace corvina
