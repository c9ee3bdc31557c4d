// Triangulation into fans and the removal of degenerate facets.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tools/degenerate_facets.h"
#include "tools/tests/mesh_models.h"
#include "tools/triangulation.h"

namespace corvina {
namespace {

using testing::facetsOf;
using testing::facetVertexLists;
using Lists = std::vector<std::vector<int>>;

struct FanCase {
  const char* name;
  Lists facets;
  TriangulateOutcome outcome;
  Lists expected;
};

class Triangulate : public ::testing::TestWithParam<FanCase> {};

TEST_P(Triangulate, SplitsFacetsIntoFans) {
  const FanCase& c = GetParam();
  ModelStore store = testing::buildModel(std::vector<Vertex>(9), {}, facetsOf(c.facets));
  EXPECT_EQ(triangulate(store), c.outcome);
  EXPECT_EQ(facetVertexLists(store), c.expected);
  EXPECT_EQ(store.numFacets, static_cast<int>(c.expected.size()));
  EXPECT_EQ(store.numCornerRecords, static_cast<int>(store.facetStream.size()));
  EXPECT_EQ(store.facetStream.back().vertex, kEndOfList);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Triangulate,
    ::testing::Values(FanCase{"TrianglesOnly",
                              {{1, 2, 3}, {2, 3, 4}},
                              TriangulateOutcome::AlreadyTriangulated,
                              {{1, 2, 3}, {2, 3, 4}}},
                      FanCase{"FiveCornerFan",
                              {{1, 2, 3, 4, 5}},
                              TriangulateOutcome::Done,
                              {{1, 2, 3}, {1, 3, 4}, {1, 4, 5}}},
                      FanCase{"QuadAmongTriangles",
                              {{1, 2, 3}, {4, 5, 6, 7}, {7, 8, 9}},
                              TriangulateOutcome::Done,
                              {{1, 2, 3}, {4, 5, 6}, {4, 6, 7}, {7, 8, 9}}},
                      FanCase{"ShortFacetsKept",
                              {{1}, {2, 3}, {5, 6, 7, 8}},
                              TriangulateOutcome::Done,
                              {{1}, {2, 3}, {5, 6, 7}, {5, 7, 8}}},
                      FanCase{"NoFacets", {}, TriangulateOutcome::AlreadyTriangulated, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Triangulate, CopiesWholeRecordsAndGivesEveryRecordItsTextureVertex) {
  std::vector<TexVertex> uvs = {{0.1f, 0.1f, 0}, {0.2f, 0.2f, 0}, {0.3f, 0.3f, 0}, {0.4f, 0.4f, 0}};
  ModelStore store =
      testing::buildModel(std::vector<Vertex>(4), uvs, {{{1, 1}, {2, 2}, {3, 3}, {4, 4}}});
  store.facetStream[1].group |= kSelectedBit;  // the fan's centre
  store.facetStream[3].flags = kHiddenBit;     // corner 3 is copied as "previous"
  ASSERT_EQ(triangulate(store), TriangulateOutcome::Done);

  const std::vector<std::pair<float, float>> expectedUvs = {
      {0.1f, 0.1f}, {0.2f, 0.2f}, {0.3f, 0.3f}, {0.1f, 0.1f}, {0.3f, 0.3f}, {0.4f, 0.4f}};
  EXPECT_EQ(testing::cornerUvs(store), expectedUvs);
  EXPECT_EQ(store.numTVerts, store.numCornerRecords);
  for (std::size_t j = 0; j < store.facetStream.size(); ++j) {
    EXPECT_EQ(store.facetStream[j].texVertex, static_cast<int>(j) + 1);
  }
  // Corners of the second triangle: centre (selected) and corner 3 (hidden).
  EXPECT_TRUE(store.facetStream[5].group & kSelectedBit);
  EXPECT_EQ(store.facetStream[6].flags, kHiddenBit);
}

std::vector<Vertex> positions(const std::vector<std::array<float, 3>>& xyz) {
  std::vector<Vertex> vertices;
  for (const auto& p : xyz) vertices.push_back({p[0], p[1], p[2], 0});
  return vertices;
}

struct DegenerateCase {
  const char* name;
  std::vector<std::array<float, 3>> vertices;
  Lists facets;
  int count;
  Lists kept;  // after selecting and removing the degenerate ones
  // Facets (0-based) whose corners carry selected bits beforehand, as an
  // inactive selection leaves them.
  std::vector<int> leftSelected = {};
};

class Degenerates : public ::testing::TestWithParam<DegenerateCase> {};

TEST_P(Degenerates, AreCountedAndRemoved) {
  const DegenerateCase& c = GetParam();
  ModelStore store = testing::buildModel(positions(c.vertices), {}, facetsOf(c.facets));
  int facet = -1;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex == kSeparator) ++facet;
    const bool left =
        std::find(c.leftSelected.begin(), c.leftSelected.end(), facet) != c.leftSelected.end();
    if (record.vertex > 0 && left) record.group |= kSelectedBit;
  }
  EXPECT_EQ(countDegenerateFacets(store), c.count);
  selectDegenerateFacets(store);
  ASSERT_TRUE(removeSelectedFacets(store));
  EXPECT_EQ(facetVertexLists(store), c.kept);
  EXPECT_EQ(store.numFacets, static_cast<int>(c.kept.size()));
  ASSERT_GE(store.facetStream.size(), 2u);
  EXPECT_EQ(store.facetStream[0].vertex, kSeparator);
  EXPECT_EQ(store.facetStream.back().vertex, kEndOfList);
  EXPECT_EQ(store.numCornerRecords, static_cast<int>(store.facetStream.size()));
  EXPECT_EQ(store.numTVerts, store.numCornerRecords);
}

const std::vector<std::array<float, 3>> kFourApart = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

INSTANTIATE_TEST_SUITE_P(
    Cases, Degenerates,
    ::testing::Values(
        DegenerateCase{"LaterCornersCoincideOnly", kFourApart, {{1, 2, 2}}, 0, {{1, 2, 2}}},
        DegenerateCase{
            "QuadRepeatsFirstVertex", kFourApart, {{1, 2, 1, 3}, {1, 2, 3}}, 1, {{1, 2, 3}}},
        DegenerateCase{"FirstPositionRepeatedByAnotherVertex",
                       {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}},
                       {{1, 2, 3}, {2, 3, 1}},
                       1,
                       {{2, 3, 1}}},
        DegenerateCase{"ZeroAndMinusZeroDiffer",
                       {{0, 0, 0}, {1, 0, 0}, {-0.0f, 0, 0}},
                       {{1, 2, 3}},
                       0,
                       {{1, 2, 3}}},
        DegenerateCase{"EveryFacetRemoved", kFourApart, {{1, 1, 2}, {3, 4, 3}}, 2, {}},
        DegenerateCase{"NoFacets", kFourApart, {}, 0, {}},
        DegenerateCase{"BitsLeftByAnInactiveSelectionAreNotRemoved",
                       kFourApart,
                       {{1, 2, 3}, {2, 3, 4}, {1, 2, 1}},
                       1,
                       {{1, 2, 3}, {2, 3, 4}},
                       {1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RemoveSelectedFacets, DropsSelectedCornersAndEmptiedFacets) {
  ModelStore store =
      testing::buildModel(std::vector<Vertex>(6), {}, facetsOf({{1, 2, 3}, {4, 5, 6}, {1, 5, 6}}));
  // Facet 1 entirely, and one corner of facet 3.
  for (int j : {1, 2, 3, 11}) store.facetStream[j].group |= kSelectedBit;
  store.facetStream[4].group |= kSelectedBit;  // the separator of facet 2
  ASSERT_TRUE(removeSelectedFacets(store));
  EXPECT_EQ(facetVertexLists(store), (Lists{{4, 5, 6}, {1, 5}}));
  EXPECT_EQ(store.numFacets, 2);
  EXPECT_FALSE(store.facetStream[0].group & kSelectedBit);  // held-back separators are cleared
}

TEST(RemoveSelectedFacets, EveryFacetGoneLeavesSeparatorAndEnd) {
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), {}, facetsOf({{1, 2, 3}}));
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex > 0) record.group |= kSelectedBit;
  }
  ASSERT_TRUE(removeSelectedFacets(store));
  ASSERT_EQ(store.facetStream.size(), 2u);
  EXPECT_EQ(store.facetStream[0].vertex, kSeparator);
  EXPECT_EQ(store.facetStream[1].vertex, kEndOfList);
  EXPECT_EQ(store.numFacets, 0);
}

}  // namespace
}  // namespace corvina
