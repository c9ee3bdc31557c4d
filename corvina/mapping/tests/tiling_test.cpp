// Tiling by group, material or region.

#include <gtest/gtest.h>

#include "mapping/tests/mapping_models.h"
#include "mapping/tiling.h"

namespace corvina {
namespace {

using testing::FacetSpec;
using testing::UvBounds;

// One triangle per set (its index given per facet), corners at u, v in
// {0.2, 0.6}: each set covers only part of the unit square.
ModelStore modelWithSets(SetKind kind, const std::vector<int>& setOfFacet, int sets) {
  std::vector<TexVertex> tex = {{0.2f, 0.2f, 0}, {0.6f, 0.2f, 0}, {0.2f, 0.6f, 0}};
  std::vector<FacetSpec> facets(setOfFacet.size(), FacetSpec{{1, 1}, {2, 2}, {3, 3}});
  ModelStore model =
      testing::buildModel({Vertex{0, 0, 0}, Vertex{1, 0, 0}, Vertex{0, 1, 0}}, tex, facets);
  expandTextureVertices(model, false);
  int facet = -1;
  for (CornerRecord& record : model.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) {
      ++facet;
      continue;
    }
    const auto index = static_cast<std::uint16_t>(setOfFacet[static_cast<std::size_t>(facet)]);
    if (kind == SetKind::Group) record.group = index;
    if (kind == SetKind::Material) record.material = index;
    if (kind == SetKind::Region) record.region = index;
  }
  if (kind == SetKind::Group) model.numGroups = sets;
  if (kind == SetKind::Material) model.numMaterials = sets;
  if (kind == SetKind::Region) model.numRegions = sets;
  return model;
}

TEST(TileCell, ThreeSetsUseATwoByTwoGrid) {
  struct Case {
    int index;
    bool gaps;
    float left, right, bottom, top;
  };
  const Case cases[] = {
      {0, false, 0, 0.5f, 0.5f, 1},
      {1, false, 0.5f, 1, 0.5f, 1},
      {2, false, 0, 0.5f, 0, 0.5f},
      {0, true, 0.0125f, 0.4875f, 0.5125f, 0.9875f},
      {2, true, 0.0125f, 0.4875f, 0.0125f, 0.4875f},
  };
  for (const Case& c : cases) {
    const TileCell cell = tileCell(c.index, 2, c.gaps);
    EXPECT_FLOAT_EQ(cell.left, c.left) << c.index << " gaps " << c.gaps;
    EXPECT_FLOAT_EQ(cell.right, c.right) << c.index << " gaps " << c.gaps;
    EXPECT_FLOAT_EQ(cell.bottom, c.bottom) << c.index << " gaps " << c.gaps;
    EXPECT_FLOAT_EQ(cell.top, c.top) << c.index << " gaps " << c.gaps;
  }
}

TEST(Tiling, ThreeGroupsTakeTopLeftTopRightAndBottomLeft) {
  struct Case {
    bool rescale;
    UvBounds group0, group1, group2;
  };
  const Case cases[] = {
      // The whole unit square is squeezed into the cell: 0.2..0.6 of it.
      {false, {0.1f, 0.3f, 0.6f, 0.8f}, {0.6f, 0.8f, 0.6f, 0.8f}, {0.1f, 0.3f, 0.1f, 0.3f}},
      // Each set first stretched to fill the unit square.
      {true, {0, 0.5f, 0.5f, 1}, {0.5f, 1, 0.5f, 1}, {0, 0.5f, 0, 0.5f}},
  };
  for (SetKind kind : {SetKind::Group, SetKind::Material, SetKind::Region}) {
    for (const Case& c : cases) {
      ModelStore model = modelWithSets(kind, {0, 1, 2}, 3);
      SelectionState selection;
      TileOptions options;
      options.gaps = false;
      options.rescale = c.rescale;
      ASSERT_EQ(tileBySet(model, selection, kind, options), MappingOutcome::Mapped);
      const std::vector<UvBounds> bounds = testing::facetUvBounds(model);
      const UvBounds* expected[] = {&c.group0, &c.group1, &c.group2};
      for (int set = 0; set < 3; ++set) {
        EXPECT_FLOAT_EQ(bounds[set].umin, expected[set]->umin) << set;
        EXPECT_FLOAT_EQ(bounds[set].umax, expected[set]->umax) << set;
        EXPECT_FLOAT_EQ(bounds[set].vmin, expected[set]->vmin) << set;
        EXPECT_FLOAT_EQ(bounds[set].vmax, expected[set]->vmax) << set;
      }
    }
  }
}

// Tiling handles every set in one pass; it must give what normalising each
// set alone (as a selection) and then squeezing it into its cell gives.
TEST(Tiling, RescaleMatchesNormalisingEachSetAsASelection) {
  const std::vector<int> sets = {0, 3, 1, 1, 4, 0, 2, 3};
  ModelStore tiled = modelWithSets(SetKind::Group, sets, 5);
  // Vary the coordinates per corner so every set has its own range.
  for (std::size_t k = 0; k < tiled.texVertices.size(); ++k) {
    tiled.texVertices[k].u = static_cast<float>(k % 7) * 0.13f - 0.2f;
    tiled.texVertices[k].v = static_cast<float>(k % 5) * 0.21f + 0.05f;
  }
  ModelStore reference = tiled;
  SelectionState selection;
  TileOptions options;
  options.rescale = true;
  tileBySet(tiled, selection, SetKind::Group, options);

  for (int set = 0; set < 5; ++set) {
    for (CornerRecord& record : reference.facetStream) {
      record.group &= static_cast<std::uint16_t>(~kSelectedBit);
      if (record.vertex > 0 && (record.group & kSetIndexMask) == set) record.group |= kSelectedBit;
    }
    normalizeToUnitSquare(reference, 0.0f, true);
    const TileCell cell = tileCell(set, 3, true);
    for (CornerRecord& record : reference.facetStream) {
      if (record.vertex <= 0 || (record.group & kSelectedBit) == 0) continue;
      TexVertex& t = reference.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
      t.u = cell.left + (cell.right - cell.left) * t.u;
      t.v = cell.bottom + (cell.top - cell.bottom) * t.v;
    }
  }
  EXPECT_EQ(testing::uvBits(tiled), testing::uvBits(reference));
}

TEST(Tiling, EndsWithNothingSelectedAndNoSelection) {
  ModelStore model = modelWithSets(SetKind::Group, {0, 1}, 2);
  testing::selectFacets(model, {0});
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = selection.target = FrameRect{0, 1, 0, 1};
  model.mapWidth = 300;
  tileBySet(model, selection, SetKind::Group, TileOptions{});
  EXPECT_FALSE(selection.selectionActive);
  for (const CornerRecord& record : model.facetStream)
    EXPECT_EQ(record.group & kSelectedBit, 0) << "vertex " << record.vertex;
  EXPECT_EQ(model.mapWidth, 300);
}

TEST(Tiling, ASetWithoutFacetsLeavesItsCellEmptyAndStillCounts) {
  // Four sets, set 1 unused: n = 2; set 3 takes the bottom-right cell.
  ModelStore model = modelWithSets(SetKind::Material, {0, 3}, 4);
  SelectionState selection;
  TileOptions options;
  options.gaps = false;
  options.rescale = true;
  tileBySet(model, selection, SetKind::Material, options);
  const std::vector<UvBounds> bounds = testing::facetUvBounds(model);
  EXPECT_FLOAT_EQ(bounds[1].umin, 0.5f);
  EXPECT_FLOAT_EQ(bounds[1].vmax, 0.5f);
}

TEST(Tiling, CornersOfNoKnownSetKeepTheirCoordinates) {
  ModelStore model = modelWithSets(SetKind::Region, {0, 9}, 2);
  const auto before = testing::cornerUvs(model);
  SelectionState selection;
  tileBySet(model, selection, SetKind::Region, TileOptions{});
  const auto after = testing::cornerUvs(model);
  for (std::size_t k = 3; k < 6; ++k) EXPECT_EQ(after[k], before[k]);
}

}  // namespace
}  // namespace corvina
