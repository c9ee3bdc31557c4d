// The distortion measures on hand-made facets with known answers: raw areas
// and angles of one facet, the area shares of several, the degenerate facets,
// the pending move, and the summaries.

#include "preview/distortion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "preview/facet_shape.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::FacetSpec;

// One facet whose corner k has vertex k + 1 and texture vertex k + 1.
ModelStore oneFacet(const std::vector<Vertex>& vertices, const std::vector<TexVertex>& uvs,
                    int mapWidth = 512, int mapHeight = 512) {
  FacetSpec facet;
  for (int k = 0; k < static_cast<int>(vertices.size()); ++k) facet.push_back({k + 1, k + 1, 0});
  ModelStore store = testing::buildModel(vertices, uvs, {facet});
  store.mapWidth = mapWidth;
  store.mapHeight = mapHeight;
  return store;
}

// The first facet of the stream.
FacetShape shapeOf(const ModelStore& store, const SelectionState* move = nullptr) {
  std::size_t end = 1;
  while (store.facetStream[end].vertex > 0) ++end;
  return measureFacetShape(store, 1, end, move);
}

const std::vector<Vertex> kUnitSquare = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
const std::vector<Vertex> kRightTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};

TEST(DistortionTest, OneFacetsAreasAndAngles) {
  struct Case {
    const char* what;
    std::vector<Vertex> model;
    std::vector<TexVertex> map;
    int width, height;
    double modelArea, mapArea, angle;
  };
  const Case cases[] = {
      {"unit square mapped to half size",
       kUnitSquare,
       {{0, 0}, {0.5f, 0}, {0.5f, 0.5f}, {0, 0.5f}},
       512,
       512,
       1.0,
       0.25,
       0.0},
      {"square in space, tilted",
       {{0, 0, 0}, {0, 2, 0}, {0, 2, 2}, {0, 0, 2}},
       {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
       512,
       512,
       4.0,
       1.0,
       0.0},
      {"right triangle sheared on the map: 45 degrees lost",
       kRightTriangle,
       {{0, 0}, {1, 0}, {1, 1}},
       512,
       512,
       0.5,
       0.5,
       45.0},
      {"right triangle on a 2:1 map",
       kRightTriangle,
       {{0, 0}, {1, 0}, {0, 1}},
       1024,
       512,
       0.5,
       0.5,
       45.0 - std::atan(0.5) * 180.0 / 3.14159265358979323846},
      {"concave L of three unit squares, as a fan",
       {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}},
       {{0, 0}, {0.2f, 0}, {0.2f, 0.1f}, {0.1f, 0.1f}, {0.1f, 0.2f}, {0, 0.2f}},
       512,
       512,
       3.0,
       0.03,
       0.0},
      {"mirrored on the map: areas are unsigned",
       kUnitSquare,
       {{1, 0}, {0, 0}, {0, 1}, {1, 1}},
       512,
       512,
       1.0,
       1.0,
       0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FacetShape shape = shapeOf(oneFacet(c.model, c.map, c.width, c.height));
    EXPECT_TRUE(shape.measured);
    EXPECT_NEAR(shape.modelArea, c.modelArea, 1e-9);
    EXPECT_NEAR(shape.mapArea, c.mapArea, 1e-7);
    EXPECT_NEAR(shape.angleError, c.angle, 1e-5);
  }
}

// Degenerate facets give finite, stated values and are left out of totals.
TEST(DistortionTest, DegenerateFacetsGiveStatedValues) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* what;
    std::vector<Vertex> model;
    std::vector<TexVertex> map;
    bool measured;
    double mapArea, angle;
  };
  const Case cases[] = {
      {"flat on the model",
       {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
       {{0, 0}, {1, 0}, {0, 1}},
       false,
       0,
       0},
      {"one point on the model",
       {{3, 3, 3}, {3, 3, 3}, {3, 3, 3}},
       {{0, 0}, {1, 0}, {0, 1}},
       false,
       0,
       0},
      // Every map side has length 0: each map angle reads 0, so the error is
      // the largest model angle.
      {"one point on the map",
       kRightTriangle,
       {{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}},
       true,
       0,
       90},
      {"a line on the map", kRightTriangle, {{0, 0}, {1, 0}, {0.5f, 0}}, true, 0, 135},
      {"no-UV marker", kRightTriangle, {{0, 0}, {kNoUvU, kNoUvV}, {0, 1}}, false, 0, 0},
      {"not a number on the map", kRightTriangle, {{0, 0}, {nan, 0}, {0, 1}}, false, 0, 0},
      {"infinite on the map", kRightTriangle, {{0, 0}, {1, inf}, {0, 1}}, false, 0, 0},
      {"not a number on the model",
       {{0, 0, 0}, {1, nan, 0}, {0, 1, 0}},
       {{0, 0}, {1, 0}, {0, 1}},
       false,
       0,
       0},
      {"two corners", {{0, 0, 0}, {1, 0, 0}}, {{0, 0}, {1, 0}}, false, 0, 0},
      {"far out on the map",
       kRightTriangle,
       {{0, 0}, {3e38f, 0}, {0, 3e38f}},
       true,
       0.5 * static_cast<double>(3e38f) * static_cast<double>(3e38f),
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store = oneFacet(c.model, c.map);
    const FacetShape shape = shapeOf(store);
    EXPECT_EQ(shape.measured, c.measured);
    EXPECT_NEAR(shape.mapArea, c.mapArea, 1e-9 * std::max(1.0, c.mapArea));
    EXPECT_NEAR(shape.angleError, c.angle, 1e-4);
    // A second, ordinary facet beside it: the degenerate one reads its stated
    // values and the ordinary one keeps its share whole.
    FacetDistortion d;
    ASSERT_TRUE(measureDistortion(store, nullptr, d));
    ASSERT_EQ(d.area.size(), 1u);
    EXPECT_TRUE(std::isfinite(d.area[0]));
    EXPECT_TRUE(std::isfinite(d.angle[0]));
    EXPECT_EQ(d.measured[0] != 0, c.measured);
    if (!c.measured) {
      EXPECT_EQ(d.area[0], 1.0f);
      EXPECT_EQ(d.angle[0], 0.0f);
    }
  }
}

TEST(DistortionTest, MissingIndicesAreNotMeasured) {
  ModelStore store = oneFacet(kRightTriangle, {{0, 0}, {1, 0}, {0, 1}});
  for (const auto& [vertex, texVertex] : {std::pair{9, 2}, {-3, 2}, {2, 0}, {2, 7}}) {
    ModelStore copy = store;
    copy.facetStream[2].vertex = vertex;
    copy.facetStream[2].texVertex = texVertex;
    EXPECT_FALSE(shapeOf(copy).measured) << vertex << " " << texVertex;
  }
}

// Facet A, a unit square, takes a quarter of the square it is given; B, the
// same square elsewhere, half of the map; C is flat on the model.
ModelStore threeFacets() {
  return testing::buildModel({{0, 0, 0},
                              {1, 0, 0},
                              {1, 1, 0},
                              {0, 1, 0},
                              {2, 0, 0},
                              {3, 0, 0},
                              {3, 1, 0},
                              {2, 1, 0},
                              {5, 0, 0},
                              {6, 0, 0},
                              {7, 0, 0}},
                             {{0, 0},
                              {0.5f, 0},
                              {0.5f, 0.5f},
                              {0, 0.5f},
                              {0.5f, 0},
                              {1, 0},
                              {1, 1},
                              {0.5f, 1},
                              {0, 0.9f},
                              {0.1f, 0.9f},
                              {0.1f, 1}},
                             {{{1, 1}, {2, 2}, {3, 3}, {4, 4}},
                              {{5, 5}, {6, 6}, {7, 7}, {8, 8}},
                              {{9, 9}, {10, 10}, {11, 11}}});
}

TEST(DistortionTest, AreaIsTheShareOfTheMapOverTheShareOfTheSurface) {
  const ModelStore store = threeFacets();
  FacetDistortion d;
  ASSERT_TRUE(measureDistortion(store, nullptr, d));
  // Map: 0.25 + 0.5 = 0.75; surface 1 + 1 = 2 (C left out).
  ASSERT_EQ(d.area.size(), 3u);
  EXPECT_FLOAT_EQ(d.area[0], static_cast<float>((0.25 / 0.75) / 0.5));
  EXPECT_FLOAT_EQ(d.area[1], static_cast<float>((0.5 / 0.75) / 0.5));
  EXPECT_EQ(d.area[2], 1.0f);
  EXPECT_EQ(std::vector<std::uint8_t>(d.measured), (std::vector<std::uint8_t>{1, 1, 0}));
  // B is a 1 x 2 rectangle on a square map: its right angles are kept.
  EXPECT_NEAR(d.angle[1], 0.0f, 1e-5);
}

TEST(DistortionTest, APendingMoveChangesTheFacetsItMoves) {
  ModelStore store = threeFacets();
  for (std::size_t j = 1; j <= 4; ++j) store.facetStream[j].group |= kSelectedBit;
  // Facet A's frame (view y = 1 - v) doubled in size from its top-left
  // corner's opposite: A then covers 1 x 1 of the map.
  SelectionState move;
  move.selectionActive = true;
  move.source = {0, 0.5f, 0.5f, 1};
  move.target = {0, 1, 0, 1};
  EXPECT_NEAR(shapeOf(store, &move).mapArea, 1.0, 1e-9);
  EXPECT_NEAR(shapeOf(store, nullptr).mapArea, 0.25, 1e-9);
  FacetDistortion d;
  ASSERT_TRUE(measureDistortion(store, &move, d));
  EXPECT_FLOAT_EQ(d.area[0], static_cast<float>((1 / 1.5) / 0.5));
  // Once the selection ends the frame is not applied.
  move.selectionActive = false;
  ASSERT_TRUE(measureDistortion(store, &move, d));
  EXPECT_FLOAT_EQ(d.area[0], static_cast<float>((0.25 / 0.75) / 0.5));
}

TEST(DistortionTest, ExtremeRatiosAreHeldFinite) {
  // A speck of surface given half the map beside a vast facet given a speck.
  ModelStore store = testing::buildModel(
      {{0, 0, 0}, {1e-19f, 0, 0}, {0, 1e-19f, 0}, {0, 0, 0}, {1e18f, 0, 0}, {0, 1e18f, 0}},
      {{0, 0}, {1, 0}, {0, 1}, {0, 0}, {1e-30f, 0}, {0, 1e-30f}},
      {{{1, 1}, {2, 2}, {3, 3}}, {{4, 4}, {5, 5}, {6, 6}}});
  FacetDistortion d;
  ASSERT_TRUE(measureDistortion(store, nullptr, d));
  EXPECT_EQ(d.area[0], kMaxAreaRatio);
  EXPECT_TRUE(std::isfinite(d.area[1]));
  EXPECT_GE(d.area[1], 0.0f);
  const DistortionSummary s = summarizeDistortion(d);
  EXPECT_EQ(s.areaMax, kMaxAreaRatio);
  EXPECT_TRUE(std::isfinite(s.areaMedian));
}

TEST(DistortionTest, NoTextureAreaAtAllGivesZeroShares) {
  ModelStore store = threeFacets();
  for (TexVertex& t : store.texVertices) t = {0.5f, 0.5f, 0};
  FacetDistortion d;
  ASSERT_TRUE(measureDistortion(store, nullptr, d));
  EXPECT_EQ(d.area[0], 0.0f);
  EXPECT_EQ(d.area[1], 0.0f);
}

TEST(DistortionTest, MedianOfTables) {
  const std::vector<std::pair<std::vector<float>, double>> cases = {
      {{}, 0}, {{3}, 3}, {{1, 3}, 2}, {{5, 1, 3}, 3}, {{4, 1, 3, 2}, 2.5}, {{7, 7, 1, 7}, 7}};
  for (auto [values, expected] : cases) EXPECT_DOUBLE_EQ(medianOf(values), expected);
}

TEST(DistortionTest, SummariesOverTheMeasuredFacets) {
  struct Case {
    std::vector<float> area, angle;
    std::vector<std::uint8_t> measured;
    DistortionSummary expected;
  };
  const Case cases[] = {
      {{}, {}, {}, {}},
      {{5}, {3}, {0}, {}},
      // 2 and 0.5 are not beyond 2x; 0.25, 3 and 2.5 are; 100 is not measured.
      {{0.25f, 1, 3, 0.5f, 2, 2.5f, 100},
       {10, 0, 5, 1, 2, 3, 90},
       {1, 1, 1, 1, 1, 1, 0},
       {6, 0.25, 1.5, 3, 50, 0, 2.5, 10}},
      {{1, 1}, {0, 0}, {1, 1}, {2, 1, 1, 1, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const DistortionSummary s = summarizeDistortion(FacetDistortion{c.area, c.angle, c.measured});
    EXPECT_EQ(s.measured, c.expected.measured);
    EXPECT_DOUBLE_EQ(s.areaMin, c.expected.areaMin);
    EXPECT_DOUBLE_EQ(s.areaMedian, c.expected.areaMedian);
    EXPECT_DOUBLE_EQ(s.areaMax, c.expected.areaMax);
    EXPECT_DOUBLE_EQ(s.beyond2xPercent, c.expected.beyond2xPercent);
    EXPECT_DOUBLE_EQ(s.angleMin, c.expected.angleMin);
    EXPECT_DOUBLE_EQ(s.angleMedian, c.expected.angleMedian);
    EXPECT_DOUBLE_EQ(s.angleMax, c.expected.angleMax);
  }
}

}  // namespace
}  // namespace corvina
