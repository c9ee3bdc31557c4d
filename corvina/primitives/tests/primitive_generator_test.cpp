// The generated models as a whole: counts, map sizes, group, normals, texture
// coordinates, and what happens when a model would not fit in memory.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "primitives/primitive_generator.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using Generate = std::function<GenerateOutcome(ModelStore&, SelectionState&, std::uint64_t)>;

struct GeneratedCase {
  const char* name;
  Generate generate;
  const char* group;
  int vertices, facets, records, mapWidth, mapHeight;
};

const std::uint64_t kPlenty = std::numeric_limits<std::uint64_t>::max();

class Generated : public ::testing::TestWithParam<GeneratedCase> {};

TEST_P(Generated, DefaultModelHasItsNumbersAndMap) {
  const GeneratedCase& c = GetParam();
  ModelStore store;
  store.lastDirectory = "/models";
  store.pixelsPerUnit = 20.0f;
  SelectionState selection;
  ASSERT_EQ(c.generate(store, selection, kPlenty), GenerateOutcome::Generated);
  EXPECT_EQ(store.numVerts, c.vertices);
  EXPECT_EQ(store.numFacets, c.facets);
  EXPECT_EQ(store.numCornerRecords, c.records);
  EXPECT_EQ(store.mapWidth, c.mapWidth);
  EXPECT_EQ(store.mapHeight, c.mapHeight);
  EXPECT_EQ(store.modelLoaded, 2);
  EXPECT_EQ(store.modelBaseName, "Untitled");
  EXPECT_EQ(store.lastDirectory, "/models");
  EXPECT_EQ(store.pixelsPerUnit, 20.0f);
  EXPECT_EQ(store.numGroups, 1);
  EXPECT_STREQ(store.groups[0].name, c.group);
  EXPECT_EQ(store.numMaterials, 0);
  EXPECT_EQ(store.numRegions, 0);
  EXPECT_EQ(store.texVerticesExpanded, 1);
  EXPECT_EQ(store.numTVerts, store.numCornerRecords);
  EXPECT_EQ(store.baseVertices.size(), store.vertices.size());
  const int corners = store.numCornerRecords - store.numFacets - 1;
  EXPECT_EQ(store.numVNormals, corners);
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    EXPECT_EQ(record.group, 0);
    const Normal& n = store.normals.at(static_cast<std::size_t>(record.normal) - 1);
    EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-4);
    const TexVertex& t = store.texVertices.at(static_cast<std::size_t>(record.texVertex) - 1);
    EXPECT_TRUE(t.u >= 0.0f && t.u <= 1.0f && t.v >= 0.0f && t.v <= 1.0f)
        << "u " << t.u << " v " << t.v;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, Generated,
    ::testing::Values(GeneratedCase{"Box",
                                    [](ModelStore& s, SelectionState& sel, std::uint64_t limit) {
                                      return generateBox(s, sel, {}, limit);
                                    },
                                    "Box", 8, 6, 31, 300, 300},
                      GeneratedCase{"Cone",
                                    [](ModelStore& s, SelectionState& sel, std::uint64_t limit) {
                                      return generateCone(s, sel, {}, limit);
                                    },
                                    "Cone", 17, 17, 82, 589, 375},
                      GeneratedCase{"Cylinder",
                                    [](ModelStore& s, SelectionState& sel, std::uint64_t limit) {
                                      return generateCylinder(s, sel, {}, limit);
                                    },
                                    "Cylinder", 32, 18, 115, 589, 750},
                      GeneratedCase{"Sphere",
                                    [](ModelStore& s, SelectionState& sel, std::uint64_t limit) {
                                      return generateSphere(s, sel, {}, limit);
                                    },
                                    "Sphere", 482, 512, 2497, 1178, 589},
                      GeneratedCase{"Torus",
                                    [](ModelStore& s, SelectionState& sel, std::uint64_t limit) {
                                      return generateTorus(s, sel, {}, limit);
                                    },
                                    "Torus", 512, 512, 2561, 1178, 589}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeneratedBox, KeepsHardEdges) {
  ModelStore store;
  SelectionState selection;
  ASSERT_EQ(generateBox(store, selection, {}, kPlenty), GenerateOutcome::Generated);
  const Normal faces[6] = {{-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
  int corner = 0;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    const Normal& n = store.normals.at(static_cast<std::size_t>(record.normal) - 1);
    const Normal& face = faces[corner++ / 4];
    EXPECT_NEAR(n.x, face.x, 1e-6);
    EXPECT_NEAR(n.y, face.y, 1e-6);
    EXPECT_NEAR(n.z, face.z, 1e-6);
  }
}

TEST(GeneratedTorus, CornersTakeTheGrid) {
  ModelStore store;
  SelectionState selection;
  ASSERT_EQ(generateTorus(store, selection, {1, 2, 2, 4, 0, false, 10}, kPlenty),
            GenerateOutcome::Generated);
  // The quad of ring 1 and column 3 takes columns 3 and 4 of rows 1 and 2.
  const auto uvs = testing::cornerUvs(store);
  const std::size_t quad = (1 * 4 + 3) * 4;
  EXPECT_EQ(uvs[quad], std::make_pair(0.75f, 0.5f));
  EXPECT_EQ(uvs[quad + 1], std::make_pair(1.0f, 0.5f));
  EXPECT_EQ(uvs[quad + 2], std::make_pair(1.0f, 1.0f));
  EXPECT_EQ(uvs[quad + 3], std::make_pair(0.75f, 1.0f));
}

TEST(Generate, CommitsThePendingSelection) {
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), {}, {{{1}, {2}, {3}}});
  expandTextureVertices(store, true);
  store.facetStream[1].group |= kSelectedBit;
  SelectionState selection;
  selection.selectionActive = true;
  ASSERT_EQ(generateSphere(store, selection, {}, kPlenty), GenerateOutcome::Generated);
  EXPECT_FALSE(selection.selectionActive);
}

struct TooLargeCase {
  const char* name;
  std::function<GenerateOutcome(ModelStore&, SelectionState&)> generate;
};

class TooLarge : public ::testing::TestWithParam<TooLargeCase> {};

TEST_P(TooLarge, LeavesTheOldModelInPlace) {
  ModelStore store =
      testing::buildModel({{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}}, {}, {{{1}, {2}, {3}}});
  store.modelBaseName = "/models/kept";
  SelectionState selection;
  EXPECT_EQ(GetParam().generate(store, selection), GenerateOutcome::InsufficientMemory);
  EXPECT_EQ(store.modelLoaded, 1);
  EXPECT_EQ(store.modelBaseName, "/models/kept");
  EXPECT_EQ(store.numVerts, 3);
  ASSERT_EQ(store.vertices.size(), 3u);
  EXPECT_EQ(store.vertices[2].z, 9.0f);
  EXPECT_EQ(store.numCornerRecords, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TooLarge,
    ::testing::Values(
        // 8192 x 8192 divisions need tens of gigabytes; 1 GB is not enough.
        TooLargeCase{"LargestSphere",
                     [](ModelStore& s, SelectionState& sel) {
                       return generateSphere(s, sel, {2.5f, 8192, 8192, false, 75}, 1u << 30);
                     }},
        TooLargeCase{"LargestTorus",
                     [](ModelStore& s, SelectionState& sel) {
                       return generateTorus(s, sel, {2.5f, 5, 8192, 8192, 0, false, 75}, 1u << 30);
                     }},
        TooLargeCase{
            "BoxWithNoMemory",
            [](ModelStore& s, SelectionState& sel) { return generateBox(s, sel, {}, 100); }},
        // Counts beyond the store's int range are refused whatever the memory.
        TooLargeCase{"CountsBeyondRange",
                     [](ModelStore& s, SelectionState& sel) {
                       return generateSphere(s, sel, {1, 100000, 100000, false, 75}, kPlenty);
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapSide, TruncatesIntoTheMapRange) {
  const std::pair<float, int> cases[] = {
      {300.9f, 300}, {1.0f, 1},          {0.5f, 1},
      {0.0f, 1},     {-20.0f, 1},        {8192.0f, 8192},
      {1e12f, 8192}, {std::nanf(""), 1}, {std::numeric_limits<float>::infinity(), 8192}};
  for (const auto& [pixels, side] : cases) EXPECT_EQ(mapSide(pixels), side) << pixels;
}

TEST(FittedMapSides, ScaleBothSidesByOneFactor) {
  struct Case {
    float width, height;
    int fittedWidth, fittedHeight;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {300.9f, 5000.5f, 300, 5000},  // within the limit: truncated only
      {16384.0f, 8000.0f, 8192, 4000}, {8000.0f, 16384.0f, 4000, 8192},
      {20000.0f, 5.0f, 8192, 2},   // 5 * 8192 / 20000 = 2.048
      {100000.0f, 5.0f, 8192, 1},  // 0.4096 pixels: one pixel
      {9000.0f, 9000.0f, 8192, 8192},  {0.0f, 0.0f, 1, 1},
      {-3.0f, 20000.0f, 1, 8192},      {std::nanf(""), 100.0f, 1, 100},
      {inf, 100.0f, 8192, 1},
  };
  for (const Case& c : cases) {
    const MapSides sides = fittedMapSides(c.width, c.height);
    EXPECT_EQ(sides.width, c.fittedWidth) << c.width << " x " << c.height;
    EXPECT_EQ(sides.height, c.fittedHeight) << c.width << " x " << c.height;
  }
}

TEST(GeneratedMap, KeepsItsProportionsAtTheLimit) {
  struct Case {
    const char* name;
    std::function<GenerateOutcome(ModelStore&, SelectionState&)> generate;
    int width, height;
  };
  const Case cases[] = {
      // 15707.96 x 7853.98 pixels
      {"Sphere",
       [](ModelStore& s, SelectionState& sel) {
         return generateSphere(s, sel, {2.5f, 16, 32, false, 1000.0f}, kPlenty);
       },
       8192, 4096},
      // 15707.96 x 20000 pixels: 8192 / 20000 of each
      {"Cylinder",
       [](ModelStore& s, SelectionState& sel) {
         return generateCylinder(s, sel, {5.0f, 2.5f, 2.5f, 16, true, 2000}, kPlenty);
       },
       6433, 8192},
  };
  for (const Case& c : cases) {
    ModelStore store;
    SelectionState selection;
    ASSERT_EQ(c.generate(store, selection), GenerateOutcome::Generated) << c.name;
    EXPECT_EQ(store.mapWidth, c.width) << c.name;
    EXPECT_EQ(store.mapHeight, c.height) << c.name;
  }
}

TEST(GeneratedCylinder, ClosedTopKeepsFiniteCoordinates) {
  ModelStore store;
  SelectionState selection;
  ASSERT_EQ(generateCylinder(store, selection, {5, 0, 2.5f, 16, true, 75}, kPlenty),
            GenerateOutcome::Generated);
  for (const auto& [u, v] : testing::cornerUvs(store)) {
    EXPECT_TRUE(std::isfinite(u) && std::isfinite(v));
  }
}

}  // namespace
}  // namespace corvina
