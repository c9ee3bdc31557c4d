// The model walk: present counts, checked indices, the corners and facets of
// a stream up to its end-of-list record, and participating corners.

#include "model/model_walk.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace corvina {
namespace {

TEST(ModelWalkTest, IndicesAreCheckedAgainstCountAndArray) {
  struct Case {
    std::int32_t index;
    int count;
    std::size_t arraySize;
    bool valid;
  };
  const Case cases[] = {
      {1, 3, 3, true},  {3, 3, 3, true}, {0, 3, 3, false}, {-1, 3, 3, false}, {4, 3, 3, false},
      {3, 5, 2, false}, {2, 5, 2, true}, {1, 0, 3, false}, {1, -2, 3, false}, {3, 3, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << " of " << c.count << " in " << c.arraySize);
    EXPECT_EQ(validIndex(c.index, c.count, c.arraySize), c.valid);
  }
  const std::vector<int> three(3);
  EXPECT_EQ(presentCount(5, three), 3u);
  EXPECT_EQ(presentCount(2, three), 2u);
  EXPECT_EQ(presentCount(-7, three), 0u);
}

ModelStore streamOf(std::vector<CornerRecord> stream, int declared = -1) {
  ModelStore store;
  store.numCornerRecords = declared < 0 ? static_cast<int>(stream.size()) : declared;
  store.facetStream = std::move(stream);
  return store;
}

TEST(ModelWalkTest, WalksStopAtTheEndOfListAndAtTheArraysEnd) {
  struct Case {
    const char* what;
    ModelStore store;
    std::vector<int> corners;                                 // vertex of each corner visited
    std::vector<std::pair<std::size_t, std::size_t>> facets;  // [first, end)
  };
  CornerRecord sep{kSeparator}, end{kEndOfList};
  const Case cases[] = {
      {"two facets",
       streamOf({sep, {1}, {2}, {3}, sep, {3}, {4}, {1}, end}),
       {1, 2, 3, 3, 4, 1},
       {{1, 4}, {5, 8}}},
      {"nothing after the end of list",
       streamOf({sep, {1}, {2}, end, sep, {5}, {6}}),
       {1, 2},
       {{1, 3}}},
      {"a facet without corners", streamOf({sep, sep, {7}, end}), {7}, {{1, 1}, {2, 3}}},
      {"count shorter than the array",
       streamOf({sep, {1}, {2}, sep, {9}, end}, 3),
       {1, 2},
       {{1, 3}}},
      {"count longer than the array", streamOf({sep, {1}}, 40), {1}, {{1, 2}}},
      {"empty", streamOf({}), {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<int> corners;
    forEachCorner(c.store, [&](const CornerRecord& corner) {
      corners.push_back(corner.vertex);
      return true;
    });
    EXPECT_EQ(corners, c.corners);
    std::vector<std::pair<std::size_t, std::size_t>> facets;
    forEachFacetSpan(
        c.store, [&](std::size_t first, std::size_t last) { facets.emplace_back(first, last); });
    EXPECT_EQ(facets, c.facets);
  }
}

TEST(ModelWalkTest, AVisitorStopsTheWalk) {
  ModelStore store = streamOf({{kSeparator}, {1}, {2}, {3}, {kEndOfList}});
  int visited = 0;
  forEachCorner(store, [&](const CornerRecord&) { return ++visited < 2; });
  EXPECT_EQ(visited, 2);
}

TEST(ModelWalkTest, ParticipatingCorners) {
  struct Case {
    CornerRecord corner;
    bool selectionActive;
    bool participates;
  };
  const Case cases[] = {
      {{1}, false, true},
      {{1}, true, false},
      {{1, 0, 0, kSelectedBit}, true, true},
      {{1, 0, 0, kSelectedBit | 5}, false, true},
      {{kSeparator, 0, 0, kSelectedBit}, true, false},
      {{kEndOfList}, false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isParticipating(c.corner, c.selectionActive), c.participates)
        << c.corner.vertex << " " << c.corner.group << " " << c.selectionActive;
}

TEST(ModelWalkTest, TextureVertexOfAChecksItsIndex) {
  ModelStore store;
  store.texVertices = {{0.25f, 0.5f, 0}, {kNoUvU, kNoUvV, 0}};
  store.numTVerts = 2;
  EXPECT_EQ(texVertexOf(store, CornerRecord{1, 1}), &store.texVertices[0]);
  EXPECT_TRUE(isNoUvMarker(*texVertexOf(store, CornerRecord{1, 2})));
  EXPECT_EQ(texVertexOf(store, CornerRecord{1, 3}), nullptr);
  EXPECT_EQ(texVertexOf(store, CornerRecord{1, 0}), nullptr);
  store.numTVerts = 1;
  EXPECT_EQ(texVertexOf(store, CornerRecord{1, 2}), nullptr);
}

}  // namespace
}  // namespace corvina
