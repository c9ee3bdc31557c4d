// Allocation and release of the store's arrays, normalisation into the unit
// square, and the path helpers.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "model/model_store.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::CornerSpec;
using testing::FacetSpec;
using UvList = std::vector<std::pair<float, float>>;

void expectArraysMatchCounts(const ModelStore& s) {
  EXPECT_EQ(s.vertices.size(), static_cast<std::size_t>(s.numVerts));
  EXPECT_EQ(s.baseVertices.size(), static_cast<std::size_t>(s.numVerts));
  EXPECT_EQ(s.texVertices.size(), static_cast<std::size_t>(s.numTVerts));
  EXPECT_EQ(s.normals.size(), static_cast<std::size_t>(s.numVNormals));
  EXPECT_EQ(s.facetStream.size(), static_cast<std::size_t>(s.numCornerRecords));
  EXPECT_EQ(s.shapeLines.size(), static_cast<std::size_t>(s.numShapeLines));
}

void expectEmpty(const ModelStore& s) {
  EXPECT_EQ(s.numVerts + s.numTVerts + s.numVNormals + s.numFacets + s.numCornerRecords, 0);
  EXPECT_EQ(s.numGroups + s.numGroupStatements + s.numMaterials + s.numMaterialStatements, 0);
  EXPECT_EQ(s.numRegions + s.numRegionStatements + s.numShapeLines, 0);
  EXPECT_EQ(s.modelLoaded, 0);
  for (std::size_t size :
       {s.vertices.capacity(), s.baseVertices.capacity(), s.texVertices.capacity(),
        s.normals.capacity(), s.facetStream.capacity(), s.groups.capacity(), s.materials.capacity(),
        s.regions.capacity(), s.shapeLines.capacity()}) {
    EXPECT_EQ(size, 0u);
  }
}

struct AllocationCase {
  const char* name;
  int verts, tverts, normals, records, groupStatements, materialStatements, regionStatements,
      shapeLines;
  bool succeeds;
};

const AllocationCase kAllocationCases[] = {
    {"all_counts", 8, 14, 6, 31, 2, 1, 3, 4, true},
    {"zero_counts_give_empty_arrays", 0, 0, 0, 0, 0, 0, 0, 0, true},
    {"negative_vertex_count", -1, 3, 0, 5, 0, 0, 0, 0, false},
    {"negative_statement_count_last", 3, 3, 0, 5, 0, 0, -2, 0, false},
};

class AllocateModelTest : public ::testing::TestWithParam<AllocationCase> {};

TEST_P(AllocateModelTest, SizesEveryArrayFromItsCountOrLeavesTheStoreEmpty) {
  const AllocationCase& c = GetParam();
  // A previous model whose arrays must not survive.
  ModelStore store = testing::buildModel(std::vector<Vertex>(5), {{0.5f, 0.5f, 0}},
                                         {FacetSpec{{1, 1}, {2, 1}, {3, 1}}});
  store.numVerts = c.verts;
  store.numTVerts = c.tverts;
  store.numVNormals = c.normals;
  store.numCornerRecords = c.records;
  store.numGroupStatements = c.groupStatements;
  store.numMaterialStatements = c.materialStatements;
  store.numRegionStatements = c.regionStatements;
  store.numShapeLines = c.shapeLines;

  ASSERT_EQ(allocateModel(store), c.succeeds);
  if (!c.succeeds) {
    expectEmpty(store);
    return;
  }
  expectArraysMatchCounts(store);
  EXPECT_EQ(store.groups.size(), static_cast<std::size_t>(c.groupStatements + 1));
  EXPECT_EQ(store.materials.size(), static_cast<std::size_t>(c.materialStatements + 1));
  EXPECT_EQ(store.regions.size(), static_cast<std::size_t>(c.regionStatements + 1));
}

INSTANTIATE_TEST_SUITE_P(Cases, AllocateModelTest, ::testing::ValuesIn(kAllocationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReleaseModel, EmptiesTheStoreButKeepsSettingsAndPaths) {
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), {{0.5f, 0.5f, 0}},
                                         {FacetSpec{{1, 1}, {2, 1}, {3, 1}}});
  store.texVerticesExpanded = 1;
  store.mapWidth = 256;
  store.lastDirectory = "/models";
  releaseModel(store);
  expectEmpty(store);
  EXPECT_EQ(store.texVerticesExpanded, 0);
  EXPECT_EQ(store.mapWidth, 256);
  EXPECT_EQ(store.lastDirectory, "/models");
}

TEST(ResetModelCounts, ZeroesEveryCountAndKeepsArraysConsistent) {
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), {{0.5f, 0.5f, 0}},
                                         {FacetSpec{{1, 1}, {2, 1}, {3, 1}}});
  store.numGroups = store.numGroupStatements = 2;
  store.numShapeLines = 1;
  resetModelCounts(store);
  EXPECT_EQ(store.numVerts + store.numTVerts + store.numFacets + store.numCornerRecords, 0);
  EXPECT_EQ(store.numGroups + store.numGroupStatements + store.numShapeLines, 0);
  expectArraysMatchCounts(store);
}

struct NormalizeCase {
  const char* name;
  UvList cornerUv;             // six corners, each its own entry
  std::vector<bool> selected;  // per corner; empty: none
  bool selectionActive;
  float shrink;
  UvList expected;
};

const NormalizeCase kNormalizeCases[] = {
    {"fills_unit_square",
     {{2, -1}, {4, 0}, {6, 3}, {2, 3}, {4, -1}, {6, 0}},
     {},
     false,
     0.0f,
     {{0, 0}, {0.5f, 0.25f}, {1, 1}, {0, 1}, {0.5f, 0}, {1, 0.25f}}},
    {"shrink_leaves_a_margin",
     {{2, -1}, {4, 0}, {6, 3}, {2, 3}, {4, -1}, {6, 0}},
     {},
     false,
     0.05f,
     {{0.025f, 0.025f},
      {0.5f, 0.2625f},
      {0.975f, 0.975f},
      {0.025f, 0.975f},
      {0.5f, 0.025f},
      {0.975f, 0.2625f}}},
    {"selection_moves_only_selected_corners",
     {{2, -1}, {4, 0}, {6, 3}, {-5, 9}, {4, -1}, {6, 0}},
     {true, true, true, false, false, false},
     true,
     0.0f,
     {{0, 0}, {0.5f, 0.25f}, {1, 1}, {-5, 9}, {4, -1}, {6, 0}}},
    {"selected_bits_ignored_without_active_selection",
     {{0, 0}, {1, 2}, {2, 4}, {3, 6}, {4, 8}, {8, 16}},
     {true, false, false, false, false, false},
     false,
     0.0f,
     {{0, 0}, {0.125f, 0.125f}, {0.25f, 0.25f}, {0.375f, 0.375f}, {0.5f, 0.5f}, {1, 1}}},
    {"zero_u_range_goes_to_the_middle",
     {{3, 0}, {3, 2}, {3, 4}, {3, 0}, {3, 2}, {3, 4}},
     {},
     false,
     0.0f,
     {{0.5f, 0}, {0.5f, 0.5f}, {0.5f, 1}, {0.5f, 0}, {0.5f, 0.5f}, {0.5f, 1}}},
    {"zero_ranges_with_shrink_stay_in_the_middle",
     {{3, 7}, {3, 7}, {3, 7}, {3, 7}, {3, 7}, {3, 7}},
     {},
     false,
     0.05f,
     UvList(6, {0.5f, 0.5f})},
    {"active_selection_with_nothing_selected_changes_nothing",
     {{2, -1}, {4, 0}, {6, 3}, {2, 3}, {4, -1}, {6, 0}},
     {},
     true,
     0.0f,
     {{2, -1}, {4, 0}, {6, 3}, {2, 3}, {4, -1}, {6, 0}}},
};

class NormalizeTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeTest, RescalesParticipatingCorners) {
  const NormalizeCase& c = GetParam();
  std::vector<TexVertex> tex;
  for (auto [u, v] : c.cornerUv) tex.push_back({u, v, 0});
  ModelStore store =
      testing::buildModel(std::vector<Vertex>(3), tex,
                          {FacetSpec{{1, 1}, {2, 2}, {3, 3}}, FacetSpec{{1, 4}, {2, 5}, {3, 6}}});
  int corner = 0;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    if (!c.selected.empty() && c.selected[corner]) record.group |= kSelectedBit;
    ++corner;
  }

  normalizeToUnitSquare(store, c.shrink, c.selectionActive);

  EXPECT_EQ(store.texVerticesExpanded, 1);
  const UvList actual = testing::cornerUvs(store);
  ASSERT_EQ(actual.size(), c.expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_FLOAT_EQ(actual[i].first, c.expected[i].first) << "u of corner " << i;
    EXPECT_FLOAT_EQ(actual[i].second, c.expected[i].second) << "v of corner " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NormalizeTest, ::testing::ValuesIn(kNormalizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PathCase {
  const char* path;
  const char* withoutExtension;
  const char* directory;
};

const PathCase kPathCases[] = {
    {"models/cube.obj", "models/cube", "models"},
    {"dir/a.b.obj", "dir/a.b", "dir"},
    {"dir.v2/model", "dir.v2/model", "dir.v2"},
    {"C:\\art\\ship.obj", "C:\\art\\ship", "C:\\art"},
    {"C:\\art.old\\ship", "C:\\art.old\\ship", "C:\\art.old"},
    {"mixed/dir\\file.obj", "mixed/dir\\file", "mixed/dir"},
    {"cube.obj", "cube", ""},
    {"cube", "cube", ""},
    {"/cube.obj", "/cube", "/"},
    {"dir/", "dir/", "dir"},
    {"", "", ""},
};

TEST(PathHelpers, CutOnlyTheLastComponentsExtension) {
  for (const PathCase& c : kPathCases) {
    EXPECT_EQ(pathWithoutExtension(c.path), c.withoutExtension) << c.path;
    EXPECT_EQ(directoryOf(c.path), c.directory) << c.path;
  }
}

}  // namespace
}  // namespace corvina
