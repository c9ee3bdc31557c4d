// The expanded, compact and separate texture-vertex forms and the moves
// between them.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "model/model_store.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::CornerSpec;
using testing::FacetSpec;
using UvList = std::vector<std::pair<float, float>>;

std::vector<TexVertex> texList(const UvList& uvs) {
  std::vector<TexVertex> list;
  for (auto [u, v] : uvs) list.push_back({u, v, 0});
  return list;
}

// Bit-exact comparison, so 0.0 and -0.0 count as different.
void expectSameBits(const UvList& actual, const UvList& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(actual[i].first),
              std::bit_cast<std::uint32_t>(expected[i].first))
        << "u of entry " << i << ": " << actual[i].first << " vs " << expected[i].first;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(actual[i].second),
              std::bit_cast<std::uint32_t>(expected[i].second))
        << "v of entry " << i;
  }
}

UvList texVertexValues(const ModelStore& store) {
  UvList values;
  for (const TexVertex& t : store.texVertices) values.emplace_back(t.u, t.v);
  return values;
}

// Two triangles of a quad, corners numbered into the given texture list.
ModelStore twoFacetModel(const UvList& tex, std::vector<int> texIndices) {
  auto c = [&](int i) { return CornerSpec{i % 4 + 1, texIndices[i]}; };
  return testing::buildModel(std::vector<Vertex>(4), texList(tex),
                             {FacetSpec{c(0), c(1), c(2)}, FacetSpec{c(3), c(4), c(5)}});
}

TEST(ExpandTextureVertices, EveryRecordOwnsOneEntryAndUntexturedOnesTakeTheCorner) {
  // Second facet's middle corner has no texture vertex: it takes (least u,
  // greatest v) of all entries, as do the separators and the end record.
  ModelStore store =
      twoFacetModel({{0.5f, 0.25f}, {0.75f, 0.5f}, {0.25f, 0.125f}}, {1, 2, 3, 2, 0, 1});
  expandTextureVertices(store, false);

  ASSERT_EQ(store.numTVerts, store.numCornerRecords);
  ASSERT_EQ(store.texVertices.size(), 9u);
  EXPECT_EQ(store.texVerticesExpanded, 1);
  for (int j = 0; j < store.numCornerRecords; ++j) EXPECT_EQ(store.facetStream[j].texVertex, j + 1);
  const float lu = 0.25f, gv = 0.5f;
  expectSameBits(texVertexValues(store), {{lu, gv},
                                          {0.5f, 0.25f},
                                          {0.75f, 0.5f},
                                          {0.25f, 0.125f},
                                          {lu, gv},
                                          {0.75f, 0.5f},
                                          {lu, gv},
                                          {0.5f, 0.25f},
                                          {lu, gv}});
}

TEST(ExpandTextureVertices, IndicesOutsideTheArrayTakeTheFiller) {
  // Indices past the end and negative ones name no entry: such corners are
  // treated like corners without a texture vertex.
  ModelStore store = twoFacetModel({{0.5f, 0.25f}, {0.75f, 0.5f}}, {1, 3, 2, -2, 0, 2});
  expandTextureVertices(store, false);
  const float lu = 0.5f, gv = 0.5f;
  expectSameBits(texVertexValues(store), {{lu, gv},
                                          {0.5f, 0.25f},
                                          {lu, gv},
                                          {0.75f, 0.5f},
                                          {lu, gv},
                                          {lu, gv},
                                          {lu, gv},
                                          {0.75f, 0.5f},
                                          {lu, gv}});
}

TEST(ExpandTextureVertices, RunsAgainOnlyWhenForced) {
  ModelStore store = twoFacetModel({{0.5f, 0.5f}}, {1, 1, 1, 1, 1, 1});
  expandTextureVertices(store, false);
  store.texVertices[1].u = 0.125f;
  store.facetStream[1].texVertex = 3;  // an edit the unforced call must not undo
  expandTextureVertices(store, false);
  EXPECT_EQ(store.facetStream[1].texVertex, 3);
  expandTextureVertices(store, true);
  EXPECT_EQ(store.facetStream[1].texVertex, 2);
  EXPECT_EQ(store.texVertices[1].u, 0.5f);  // copied from the entry it pointed at
}

struct CompressCase {
  const char* name;
  UvList tex;
  std::vector<int> texIndices;  // per corner, into tex; 0 none
  UvList expectedTex;
  std::vector<int> expectedIndices;
};

const CompressCase kCompressCases[] = {
    {"shared_values_in_first_appearance_order",
     {{0.75f, 0.75f}, {0.125f, 0.25f}, {0.5f, 0.5f}},
     {1, 2, 3, 3, 2, 1},
     {{0.75f, 0.75f}, {0.125f, 0.25f}, {0.5f, 0.5f}},
     {1, 2, 3, 3, 2, 1}},
    {"duplicate_entries_merge",
     {{0.5f, 0.5f}, {0.25f, 0.0f}, {0.5f, 0.5f}, {0.25f, 0.0f}},
     {1, 2, 3, 4, 1, 3},
     {{0.5f, 0.5f}, {0.25f, 0.0f}},
     {1, 2, 1, 2, 1, 1}},
    {"negative_zero_is_its_own_value",
     {{0.0f, 0.5f}, {-0.0f, 0.5f}, {0.0f, -0.0f}},
     {1, 2, 3, 1, 2, 3},
     {{0.0f, 0.5f}, {-0.0f, 0.5f}, {0.0f, -0.0f}},
     {1, 2, 3, 1, 2, 3}},
    {"same_u_different_v",
     {{0.5f, 0.25f}, {0.5f, 0.75f}},
     {2, 1, 2, 1, 2, 1},
     {{0.5f, 0.75f}, {0.5f, 0.25f}},
     {1, 2, 1, 2, 1, 2}},
    {"no_texture_vertices_at_all", {}, {0, 0, 0, 0, 0, 0}, {}, {0, 0, 0, 0, 0, 0}},
    // The marker beside real values is an ordinary value: it stays.
    {"marker_beside_real_values",
     {{0.5f, 0.5f}, {kNoUvU, kNoUvV}},
     {1, 2, 2, 2, 2, 1},
     {{0.5f, 0.5f}, {kNoUvU, kNoUvV}},
     {1, 2, 2, 2, 2, 1}},
    // Untextured corners are filled with (least u, greatest v) on expansion,
    // which here equals the first entry.
    {"untextured_corners_take_least_u_greatest_v",
     {{0.25f, 0.75f}, {0.5f, 0.25f}},
     {1, 0, 2, 0, 1, 2},
     {{0.25f, 0.75f}, {0.5f, 0.25f}},
     {1, 1, 2, 1, 1, 2}},
};

class CompressTest : public ::testing::TestWithParam<CompressCase> {};

TEST_P(CompressTest, OneEntryPerDistinctBitPatternInStreamOrder) {
  const CompressCase& c = GetParam();
  ModelStore store = twoFacetModel(c.tex, c.texIndices);
  expandTextureVertices(store, false);
  const UvList before = testing::cornerUvs(store);

  compressTextureVertices(store);

  EXPECT_EQ(store.texVerticesExpanded, 0);
  EXPECT_EQ(store.numTVerts, static_cast<int>(c.expectedTex.size()));
  expectSameBits(texVertexValues(store), c.expectedTex);
  EXPECT_EQ(testing::cornerTexIndices(store), c.expectedIndices);
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) {
      EXPECT_EQ(record.texVertex, 0) << "separator or end record";
    }
  }
  // Expanding again gives every corner back the value it had.
  expandTextureVertices(store, false);
  expectSameBits(testing::cornerUvs(store), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CompressTest, ::testing::ValuesIn(kCompressCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CompressTextureVertices, MarkerOnlyModelReadsAsUntextured) {
  ModelStore store = twoFacetModel({}, {0, 0, 0, 0, 0, 0});
  expandTextureVertices(store, false);
  expectSameBits(testing::cornerUvs(store), UvList(6, {kNoUvU, kNoUvV}));
  compressTextureVertices(store);
  EXPECT_EQ(store.numTVerts, 0);
  EXPECT_TRUE(store.texVertices.empty());
  EXPECT_EQ(testing::cornerTexIndices(store), std::vector<int>(6, 0));
}

TEST(CompressTextureVertices, ManyCornersKeepTheirValues) {
  // Enough corners that the sort reorders heavily; values repeat with period 7.
  std::vector<FacetSpec> facets;
  UvList tex;
  for (int i = 0; i < 7; ++i) tex.emplace_back(static_cast<float>(6 - i) * 0.125f, 0.5f);
  for (int f = 0; f < 300; ++f) {
    facets.push_back({{1, f % 7 + 1}, {2, (f * 3) % 7 + 1}, {3, (f * 5 + 1) % 7 + 1}});
  }
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), texList(tex), facets);
  expandTextureVertices(store, false);
  const UvList before = testing::cornerUvs(store);
  compressTextureVertices(store);
  EXPECT_EQ(store.numTVerts, 7);
  expectSameBits(testing::cornerUvs(store), before);
  // The first corners carry 1, 1, 2 (tex 1, 1, 2): first appearance order.
  EXPECT_EQ(store.facetStream[1].texVertex, 1);
  EXPECT_EQ(store.facetStream[3].texVertex, 2);
}

TEST(SeparateTextureVertices, EveryCornerGetsItsOwnEntryInStreamOrder) {
  ModelStore store = twoFacetModel({{0.5f, 0.25f}, {0.75f, 0.5f}}, {1, 1, 2, 0, 2, 1});
  separateTextureVertices(store);
  EXPECT_EQ(store.numTVerts, 6);
  EXPECT_EQ(store.texVerticesExpanded, 0);
  EXPECT_EQ(testing::cornerTexIndices(store), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  // The untextured corner takes (least u, greatest v).
  expectSameBits(
      texVertexValues(store),
      {{0.5f, 0.25f}, {0.5f, 0.25f}, {0.75f, 0.5f}, {0.5f, 0.5f}, {0.75f, 0.5f}, {0.5f, 0.25f}});
  EXPECT_EQ(store.facetStream[0].texVertex, 0);
  EXPECT_EQ(store.facetStream[4].texVertex, 0);
}

TEST(SeparateTextureVertices, AfterCompressionKeepsEveryCornersValue) {
  ModelStore store = twoFacetModel({{0.5f, 0.25f}, {0.75f, 0.5f}}, {1, 1, 2, 2, 2, 1});
  expandTextureVertices(store, false);
  const UvList before = testing::cornerUvs(store);
  compressTextureVertices(store);
  separateTextureVertices(store);
  EXPECT_EQ(store.numTVerts, 6);
  expectSameBits(testing::cornerUvs(store), before);
}

}  // namespace
}  // namespace corvina
