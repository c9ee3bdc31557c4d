// Projections run inside an active selection: only the selected corners
// change, the map size stays, and the result is fitted into the frame.

#include <gtest/gtest.h>

#include <functional>

#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/planar_mapping.h"
#include "mapping/spherical_mapping.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

using Projection = std::function<MappingOutcome(ModelStore&, SelectionState&, ClientSize)>;

struct ProjectionCase {
  const char* name;
  Projection run;
};

const ProjectionCase kProjections[] = {
    {"planar", [](ModelStore& m, SelectionState& s,
                  ClientSize v) { return planarMapping(m, s, PlanarMappingOptions{}, v); }},
    {"box", [](ModelStore& m, SelectionState& s,
               ClientSize v) { return boxMapping(m, s, BoxMappingOptions{}, v); }},
    {"cylindrical",
     [](ModelStore& m, SelectionState& s, ClientSize v) {
       return cylindricalMapping(m, s, RadialMappingOptions{}, v);
     }},
    {"cylindrical cap",
     [](ModelStore& m, SelectionState& s, ClientSize v) {
       return cylindricalCapMapping(m, s, RadialMappingOptions{}, v);
     }},
    {"spherical", [](ModelStore& m, SelectionState& s,
                     ClientSize v) { return sphericalMapping(m, s, RadialMappingOptions{}, v); }},
};

// A cube with a planar map, facets +X and +Y selected and fitted, and a map
// size no projection would choose.
ModelStore cubeWithSelection(SelectionState& selection) {
  ModelStore cube = testing::unitCube();
  SelectionState none;
  PlanarMappingOptions options;
  options.split = 0;
  planarMapping(cube, none, options, ClientSize{});
  testing::selectFacets(cube, {testing::kPlusX, testing::kPlusY});
  fitFrameToSelection(cube, selection, 512, 512);
  cube.mapWidth = 300;
  cube.mapHeight = 200;
  return cube;
}

TEST(MappingInSelection, OnlySelectedCornersChangeAndTheMapSizeStays) {
  for (const ProjectionCase& projection : kProjections) {
    SelectionState selection;
    ModelStore cube = cubeWithSelection(selection);
    ASSERT_TRUE(selection.selectionActive);
    const FrameRect target = selection.target;
    const std::vector<std::uint32_t> before = testing::uvBits(cube);
    ASSERT_EQ(projection.run(cube, selection, ClientSize{}), MappingOutcome::Mapped);
    const std::vector<std::uint32_t> after = testing::uvBits(cube);

    bool anySelectedChanged = false;
    for (std::size_t j = 0; j < cube.facetStream.size(); ++j) {
      const CornerRecord& record = cube.facetStream[j];
      const bool selected = record.vertex > 0 && (record.group & kSelectedBit) != 0;
      const bool changed = before[2 * j] != after[2 * j] || before[2 * j + 1] != after[2 * j + 1];
      if (selected) {
        anySelectedChanged |= changed;
      } else {
        EXPECT_FALSE(changed) << projection.name << " record " << j;
      }
    }
    EXPECT_TRUE(anySelectedChanged) << projection.name;
    EXPECT_EQ(cube.mapWidth, 300) << projection.name;
    EXPECT_EQ(cube.mapHeight, 200) << projection.name;
    // The result fills the unit square, which is now the source; without
    // "Scale Result" the target stays.
    EXPECT_EQ(selection.source.left, 0.0f);
    EXPECT_EQ(selection.source.right, 1.0f);
    EXPECT_EQ(selection.source.top, 0.0f);
    EXPECT_EQ(selection.source.bottom, 1.0f);
    EXPECT_EQ(selection.target.left, target.left) << projection.name;
    EXPECT_EQ(selection.target.bottom, target.bottom) << projection.name;

    // The pending move then squeezes the new layout into the target.
    applyPendingMove(cube, selection);
    for (const CornerRecord& record : cube.facetStream) {
      if (record.vertex <= 0 || (record.group & kSelectedBit) == 0) continue;
      const TexVertex& t = cube.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
      EXPECT_GE(t.u, target.left - 1e-6f) << projection.name;
      EXPECT_LE(t.u, target.right + 1e-6f) << projection.name;
      EXPECT_GE(t.v, 1.0f - target.bottom - 1e-6f) << projection.name;
      EXPECT_LE(t.v, 1.0f - target.top + 1e-6f) << projection.name;
    }
  }
}

TEST(MappingInSelection, ScaleResultSizesTheFrameByPixelsPerUnit) {
  struct Case {
    bool gaps;
    float widen;  // 1.0526316 with gaps
  };
  for (const Case& c : {Case{true, 1.0526316f}, Case{false, 1.0f}}) {
    SelectionState selection;
    ModelStore cube = testing::unitCube();
    SelectionState none;
    planarMapping(cube, none, PlanarMappingOptions{}, ClientSize{});
    testing::selectFacets(cube, {testing::kPlusZ});  // x 0..1, y 0..1 at z = 1
    fitFrameToSelection(cube, selection, 400, 300);
    cube.mapWidth = 300;
    cube.mapHeight = 200;
    cube.pixelsPerUnit = 50.0f;
    const FrameRect before = selection.target;
    PlanarMappingOptions options;
    options.scaleResult = true;
    options.gaps = c.gaps;
    planarMapping(cube, selection, options, ClientSize{400, 300});
    const FrameRect& t = selection.target;
    // Split by orientation doubles the horizontal extent: H = 2, V = 1.
    EXPECT_NEAR(t.right - t.left, 2.0f * c.widen * 50.0f / 300.0f, 1e-6f);
    EXPECT_NEAR(t.bottom - t.top, 1.0f * c.widen * 50.0f / 200.0f, 1e-6f);
    EXPECT_NEAR((t.left + t.right) * 0.5f, (before.left + before.right) * 0.5f, 1e-6f);
    EXPECT_NEAR((t.top + t.bottom) * 0.5f, (before.top + before.bottom) * 0.5f, 1e-6f);
    EXPECT_EQ(selection.framePixels.left, static_cast<int>(400.0f * t.left));
    EXPECT_EQ(selection.framePixels.right, static_cast<int>(400.0f * t.right));
    EXPECT_EQ(selection.framePixels.top, static_cast<int>(300.0f * t.top));
    EXPECT_EQ(selection.framePixels.bottom, static_cast<int>(300.0f * t.bottom));
  }
}

TEST(MappingInSelection, ScaleResultWithoutMapPixelsKeepsTheTarget) {
  SelectionState selection;
  ModelStore cube = cubeWithSelection(selection);
  cube.mapWidth = 0;  // no pixels to measure by
  const FrameRect before = selection.target;
  PlanarMappingOptions options;
  options.scaleResult = true;
  planarMapping(cube, selection, options, ClientSize{});
  EXPECT_EQ(selection.target.left, before.left);
  EXPECT_EQ(selection.target.right, before.right);
  EXPECT_TRUE(testing::allFinite(cube));
}

TEST(MappingWithoutModel, ModelReadWithoutTextureCoordinatesGetsThemAll) {
  ModelStore cube = testing::unitCube();
  ASSERT_EQ(cube.numTVerts, 0);
  for (const ProjectionCase& projection : kProjections) {
    ModelStore model = cube;
    SelectionState selection;
    projection.run(model, selection, ClientSize{});
    for (const auto& [u, v] : testing::cornerUvs(model)) {
      EXPECT_GE(u, 0.0f) << projection.name;
      EXPECT_LE(u, 1.0f) << projection.name;
      EXPECT_GE(v, 0.0f) << projection.name;
      EXPECT_LE(v, 1.0f) << projection.name;
    }
  }
}

}  // namespace
}  // namespace corvina
