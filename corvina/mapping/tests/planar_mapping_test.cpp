// Planar mapping: the projection plane, the split halves and their margins,
// the map size, and mapping inside an active selection.

#include <gtest/gtest.h>

#include "mapping/degree_tables.h"
#include "mapping/model_rotation.h"
#include "mapping/planar_mapping.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

using testing::UvBounds;

PlanarMappingOptions planarOptions(int alignment, int split, int orientation, bool gaps) {
  PlanarMappingOptions options;
  options.alignment = alignment;
  options.split = split;
  options.orientation = orientation;
  options.gaps = gaps;
  return options;
}

TEST(PlanarMapping, DefaultSplitPutsPlusZLeftAndTheRestMirroredRight) {
  ModelStore cube = testing::unitCube();
  SelectionState selection;
  ASSERT_EQ(planarMapping(cube, selection, PlanarMappingOptions{}, ClientSize{}),
            MappingOutcome::Mapped);
  const std::vector<UvBounds> bounds = testing::facetUvBounds(cube);
  // Left half ends at (1 * 0.95 + 0.025) * 0.5; the mirrored half starts at
  // 1 minus that, leaving 0.025 at the centre line.
  EXPECT_FLOAT_EQ(bounds[testing::kPlusZ].umin, 0.0125f);
  EXPECT_FLOAT_EQ(bounds[testing::kPlusZ].umax, 0.4875f);
  for (int facet :
       {testing::kMinusZ, testing::kPlusX, testing::kMinusX, testing::kPlusY, testing::kMinusY}) {
    EXPECT_GE(bounds[facet].umin, 0.5125f) << "facet " << facet;
    EXPECT_LE(bounds[facet].umax, 0.9875f) << "facet " << facet;
  }
  EXPECT_FLOAT_EQ(bounds[testing::kMinusZ].umin, 0.5125f);
  EXPECT_FLOAT_EQ(bounds[testing::kMinusZ].umax, 0.9875f);
  // v is not split: the gaps' margins only.
  EXPECT_FLOAT_EQ(bounds[testing::kPlusZ].vmin, 0.025f);
  EXPECT_FLOAT_EQ(bounds[testing::kPlusZ].vmax, 0.975f);
  EXPECT_EQ(cube.mapWidth, 1024);  // H = 2 dx, V = dy
  EXPECT_EQ(cube.mapHeight, 512);
}

TEST(PlanarMapping, AxesOrientationAndSplitTable) {
  struct Case {
    const char* name;
    int alignment, split, orientation;
    bool gaps;
    int facet;  // facet whose range is checked
    UvBounds expected;
    int mapWidth, mapHeight;
  };
  // A 2 x 1 x 4 box (x, y, z extents).
  const Case cases[] = {
      {"Z no split", kAxisZ, 0, 0, false, testing::kPlusZ, {0, 1, 0, 1}, 1024, 512},
      {"Z no split gaps",
       kAxisZ,
       0,
       1,
       true,
       testing::kMinusZ,
       {0.025f, 0.975f, 0.025f, 0.975f},
       1024,
       512},
      {"Y vertical split: +Y low",
       kAxisY,
       1,
       1,
       false,
       testing::kPlusY,
       {0, 1, 0, 0.5f},
       256,
       1024},
      {"Y vertical split: -Y high",
       kAxisY,
       1,
       1,
       false,
       testing::kMinusY,
       {0, 1, 0.5f, 1},
       256,
       1024},
      {"X horizontal split: -X right",
       kAxisX,
       1,
       0,
       false,
       testing::kMinusX,
       {0.5f, 1, 0, 1},
       512,
       1024},
      {"X by position: +X left", kAxisX, 2, 0, false, testing::kPlusX, {0, 0.5f, 0, 1}, 512, 1024},
      {"X by position: -X right",
       kAxisX,
       2,
       0,
       false,
       testing::kMinusX,
       {0.5f, 1, 0, 1},
       512,
       1024},
      // The side facets' centres lie on the cut (R = 0): mirrored half, where
      // the +X side (u = 1) ends at the centre line.
      {"Z by position: side right",
       kAxisZ,
       2,
       0,
       false,
       testing::kPlusX,
       {0.5f, 0.5f, 0, 1},
       1024,
       256},
  };
  for (const Case& c : cases) {
    ModelStore box = testing::unitCube();
    for (Vertex& v : box.vertices) {
      v.x *= 2.0f;
      v.z *= 4.0f;
    }
    SelectionState selection;
    planarMapping(box, selection, planarOptions(c.alignment, c.split, c.orientation, c.gaps),
                  ClientSize{});
    const UvBounds b = testing::facetUvBounds(box)[static_cast<std::size_t>(c.facet)];
    EXPECT_FLOAT_EQ(b.umin, c.expected.umin) << c.name;
    EXPECT_FLOAT_EQ(b.umax, c.expected.umax) << c.name;
    EXPECT_FLOAT_EQ(b.vmin, c.expected.vmin) << c.name;
    EXPECT_FLOAT_EQ(b.vmax, c.expected.vmax) << c.name;
    EXPECT_EQ(box.mapWidth, c.mapWidth) << c.name;
    EXPECT_EQ(box.mapHeight, c.mapHeight) << c.name;
  }
}

TEST(PlanarMapping, OffsetMovesTheCutTowardTheNegativeSide) {
  // Facet centres at z = 1/6 and z = 5/6 of a 0..1 model; the cut lies at
  // centre - offset = 0.5 - offset.
  struct Case {
    float offset;
    bool lowerFacetLeft, upperFacetLeft;
  };
  const Case cases[] = {{0.0f, false, true}, {0.4f, true, true}, {-0.4f, false, false}};
  for (const Case& c : cases) {
    ModelStore model = testing::buildModel(
        {Vertex{0, 0, 0}, Vertex{1, 0, 0}, Vertex{0, 1, 0.5f}, Vertex{0, 0, 0.5f}, Vertex{1, 0, 1},
         Vertex{0, 1, 1}},
        {}, {testing::FacetSpec{{1}, {2}, {3}}, testing::FacetSpec{{4}, {5}, {6}}});
    SelectionState selection;
    PlanarMappingOptions options = planarOptions(kAxisZ, 2, 0, false);
    options.offset = c.offset;
    planarMapping(model, selection, options, ClientSize{});
    const std::vector<UvBounds> bounds = testing::facetUvBounds(model);
    EXPECT_EQ(bounds[0].umax <= 0.5f, c.lowerFacetLeft) << "offset " << c.offset;
    EXPECT_EQ(bounds[1].umax <= 0.5f, c.upperFacetLeft) << "offset " << c.offset;
  }
}

TEST(PlanarMapping, FlatModelMapsTheFlatCoordinateToTheMiddle) {
  for (bool gaps : {false, true}) {
    // Every vertex at y = 3: along Z, v has no extent.
    ModelStore model = testing::buildModel({Vertex{0, 3, 0}, Vertex{1, 3, 0}, Vertex{1, 3, 1}}, {},
                                           {testing::FacetSpec{{1}, {2}, {3}}});
    SelectionState selection;
    planarMapping(model, selection, planarOptions(kAxisZ, 0, 0, gaps), ClientSize{});
    for (const auto& [u, v] : testing::cornerUvs(model)) EXPECT_EQ(v, 0.5f);
    EXPECT_EQ(model.mapWidth, 1024);
    EXPECT_EQ(model.mapHeight, 1);  // a flat layout still has one pixel row
  }
}

// Computes u * 0.95 + 0.025 with the product rounded to float first, the way
// the mapping must (no fused multiply-add).
float gapped(float u) {
  volatile float product = u * 0.95f;
  return product + 0.025f;
}

TEST(PlanarMapping, GapsRoundTheProductBeforeTheSum) {
  // Odd vertex positions so that any contraction into a fused multiply-add
  // would show in the last bit of some corner.
  std::vector<Vertex> vertices;
  std::vector<testing::FacetSpec> facets;
  for (int k = 0; k < 90; ++k) {
    vertices.push_back(
        Vertex{static_cast<float>(k) / 89.0f, static_cast<float>(k * k % 89) / 88.0f, 0});
    if (k >= 2) facets.push_back({{k - 1}, {k}, {k + 1}});
  }
  ModelStore model = testing::buildModel(vertices, {}, facets);
  SelectionState selection;
  planarMapping(model, selection, planarOptions(kAxisZ, 0, 0, true), ClientSize{});
  std::size_t corner = 0;
  for (const CornerRecord& record : model.facetStream) {
    if (record.vertex <= 0) continue;
    const Vertex& p = model.vertices[static_cast<std::size_t>(record.vertex) - 1];
    const TexVertex& t = model.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
    EXPECT_EQ(t.u, gapped((p.x - 0.0f) / 1.0f)) << "corner " << corner;
    EXPECT_EQ(t.v, gapped((p.y - 0.0f) / 1.0f)) << "corner " << corner;
    ++corner;
  }
}

TEST(PlanarMapping, AfterRotatingNinetyAboutXTheYSideFacesTheZProjection) {
  ModelStore cube = testing::unitCube();
  RotateModelOptions rotation;
  rotation.x = 90;
  rotateModel(cube, rotation, makeDegreeTables());
  SelectionState selection;
  planarMapping(cube, selection, PlanarMappingOptions{}, ClientSize{});
  const std::vector<UvBounds> bounds = testing::facetUvBounds(cube);
  // (x, y, z) -> (x, -z, y): what faced +Y now faces +Z and fills the left
  // half; what faced -Y now faces -Z, mirrored on the right.
  EXPECT_FLOAT_EQ(bounds[testing::kPlusY].umin, 0.0125f);
  EXPECT_FLOAT_EQ(bounds[testing::kPlusY].umax, 0.4875f);
  // The table's 90 degrees is a hair short of a right angle.
  EXPECT_NEAR(bounds[testing::kPlusY].vmin, 0.025f, 1e-5f);
  EXPECT_NEAR(bounds[testing::kPlusY].vmax, 0.975f, 1e-5f);
  EXPECT_FLOAT_EQ(bounds[testing::kMinusY].umin, 0.5125f);
  EXPECT_FLOAT_EQ(bounds[testing::kMinusY].umax, 0.9875f);
}

}  // namespace
}  // namespace corvina
