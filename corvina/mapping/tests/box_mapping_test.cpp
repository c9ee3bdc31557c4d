// Box mapping: which side a facet goes to and where each side lands.

#include <gtest/gtest.h>

#include "mapping/box_mapping.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

using testing::UvBounds;

constexpr float kTolerance = 1e-6f;

void expectBounds(const UvBounds& actual, const UvBounds& expected, const char* facet) {
  EXPECT_NEAR(actual.umin, expected.umin, kTolerance) << facet;
  EXPECT_NEAR(actual.umax, expected.umax, kTolerance) << facet;
  EXPECT_NEAR(actual.vmin, expected.vmin, kTolerance) << facet;
  EXPECT_NEAR(actual.vmax, expected.vmax, kTolerance) << facet;
}

TEST(BoxSide, XWinsTiesThenYOverZ) {
  struct Case {
    Vector3 normal;
    int side;
  };
  const Case cases[] = {
      {{1, 0, 0}, 0},  {{-1, 0, 0}, 3}, {{0, 1, 0}, 1},     {{0, -1, 0}, 4}, {{0, 0, 1}, 2},
      {{0, 0, -1}, 5}, {{1, 1, 1}, 0},  {{-1, 1, 1}, 3},    {{0, 1, 1}, 1},  {{0, -1, 1}, 4},
      {{0, 1, -2}, 5}, {{0, 0, 0}, 0},  {{0.5f, -2, 1}, 4}, {{3, -3, 2}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(boxSideOf(c.normal), c.side)
        << c.normal.x << ", " << c.normal.y << ", " << c.normal.z;
}

TEST(BoxMapping, UnitCubeSplitWithGapsUnfoldsACross) {
  ModelStore cube = testing::unitCube();
  SelectionState selection;
  ASSERT_EQ(boxMapping(cube, selection, BoxMappingOptions{}, ClientSize{}), MappingOutcome::Mapped);
  const std::vector<UvBounds> bounds = testing::facetUvBounds(cube);
  // Middle row -X, +Z, +X, -Z; +Y above +Z, -Y below it.
  expectBounds(bounds[testing::kMinusX], {0.02f, 0.245f, 0.35f, 0.65f}, "-X");
  expectBounds(bounds[testing::kPlusZ], {0.265f, 0.49f, 0.35f, 0.65f}, "+Z");
  expectBounds(bounds[testing::kPlusX], {0.51f, 0.735f, 0.35f, 0.65f}, "+X");
  expectBounds(bounds[testing::kMinusZ], {0.755f, 0.98f, 0.35f, 0.65f}, "-Z");
  expectBounds(bounds[testing::kMinusY], {0.265f, 0.49f, 0.025f, 0.325f}, "-Y");
  expectBounds(bounds[testing::kPlusY], {0.265f, 0.49f, 0.675f, 0.975f}, "+Y");
  EXPECT_EQ(cube.mapWidth, 1024);
  EXPECT_EQ(cube.mapHeight, 768);
}

TEST(BoxMapping, MirrorsPlusXAndMinusZInUAndPlusYInV) {
  ModelStore cube = testing::unitCube();
  SelectionState selection;
  boxMapping(cube, selection, BoxMappingOptions{}, ClientSize{});
  // Vertex 5 (1, 0, 0) and 7 (1, 1, 0) open the +X quad: z = 0 lies at the
  // right edge of the mirrored +X panel. Vertex 3 (0, 1, 0) opens +Y: z = 0
  // lies at its top.
  const auto uvs = testing::cornerUvs(cube);
  EXPECT_NEAR(uvs[0].first, 0.735f, kTolerance);
  EXPECT_NEAR(uvs[8].second, 0.975f, kTolerance);
}

TEST(BoxMapping, UnitCubeWithoutSplitSharesThreePanels) {
  ModelStore cube = testing::unitCube();
  SelectionState selection;
  BoxMappingOptions options;
  options.split = false;
  boxMapping(cube, selection, options, ClientSize{});
  const std::vector<UvBounds> bounds = testing::facetUvBounds(cube);
  const UvBounds x{0.02f, 0.49f, 0.51f, 0.98f}, z{0.51f, 0.98f, 0.51f, 0.98f},
      y{0.51f, 0.98f, 0.02f, 0.49f};
  expectBounds(bounds[testing::kPlusX], x, "+X");
  expectBounds(bounds[testing::kMinusX], x, "-X");
  expectBounds(bounds[testing::kPlusZ], z, "+Z");
  expectBounds(bounds[testing::kMinusZ], z, "-Z");
  expectBounds(bounds[testing::kPlusY], y, "+Y");
  expectBounds(bounds[testing::kMinusY], y, "-Y");
  EXPECT_EQ(cube.mapWidth, 1024);
  EXPECT_EQ(cube.mapHeight, 1024);
  // Opposite faces overlap unmirrored: the same vertex position, the same uv.
  const auto uvs = testing::cornerUvs(cube);
  EXPECT_EQ(uvs[1], uvs[7]);  // vertex 7 (1,1,0) on +X, vertex 3 (0,1,0) on -X
}

TEST(BoxMapping, WithoutGapsFillsTheUnitSquareEdges) {
  ModelStore cube = testing::unitCube();
  SelectionState selection;
  BoxMappingOptions options;
  options.gaps = false;
  boxMapping(cube, selection, options, ClientSize{});
  const std::vector<UvBounds> bounds = testing::facetUvBounds(cube);
  expectBounds(bounds[testing::kMinusX], {0.0f, 0.25f, 1.0f / 3, 2.0f / 3}, "-X");
  expectBounds(bounds[testing::kMinusZ], {0.75f, 1.0f, 1.0f / 3, 2.0f / 3}, "-Z");
  expectBounds(bounds[testing::kPlusY], {0.25f, 0.5f, 2.0f / 3, 1.0f}, "+Y");
}

TEST(BoxMapping, MapSizeFollowsTheLayoutShape) {
  struct Case {
    float width, height, depth;
    bool split;
    int mapSize, expectedWidth, expectedHeight;
  };
  const Case cases[] = {
      {1, 1, 1, true, 1024, 1024, 768},    // H 4, V 3
      {1, 1, 1, false, 1000, 1000, 1000},  // H 2, V 2
      {2, 4, 1, false, 900, 540, 900},     // H 3, V 5
      {1, 0, 1, true, 512, 512, 256},      // flat in y: H 4, V 2
      {0, 0, 0, true, 512, 512, 512},      // a single point: no shape to follow
  };
  for (const Case& c : cases) {
    ModelStore model = testing::buildModel(
        {Vertex{0, 0, 0}, Vertex{c.width, c.height, c.depth}, Vertex{c.width, 0, 0}}, {},
        {testing::FacetSpec{{1}, {2}, {3}}});
    SelectionState selection;
    BoxMappingOptions options;
    options.split = c.split;
    options.mapSize = c.mapSize;
    boxMapping(model, selection, options, ClientSize{});
    EXPECT_EQ(model.mapWidth, c.expectedWidth) << c.width << "x" << c.height << "x" << c.depth;
    EXPECT_EQ(model.mapHeight, c.expectedHeight) << c.width << "x" << c.height << "x" << c.depth;
    EXPECT_TRUE(testing::allFinite(model));
  }
}

}  // namespace
}  // namespace corvina
