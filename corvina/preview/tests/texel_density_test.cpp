// Texel density of the whole model and of the selection, in texels per model
// unit at the map's width and height.

#include "preview/texel_density.h"

#include <gtest/gtest.h>

#include <cmath>

#include "testing/model_builder.h"

namespace corvina {
namespace {

// A unit square given a quarter of the map, a 2 x 2 square given another
// quarter, and a facet flat on the model given the rest.
ModelStore squares(int width, int height) {
  ModelStore store = testing::buildModel({{0, 0, 0},
                                          {1, 0, 0},
                                          {1, 1, 0},
                                          {0, 1, 0},
                                          {3, 0, 0},
                                          {5, 0, 0},
                                          {5, 2, 0},
                                          {3, 2, 0},
                                          {0, 9, 0},
                                          {1, 9, 0},
                                          {2, 9, 0}},
                                         {{0, 0},
                                          {0.5f, 0},
                                          {0.5f, 0.5f},
                                          {0, 0.5f},
                                          {0.5f, 0},
                                          {1, 0},
                                          {1, 0.5f},
                                          {0.5f, 0.5f},
                                          {0, 0.5f},
                                          {1, 0.5f},
                                          {1, 1}},
                                         {{{1, 1}, {2, 2}, {3, 3}, {4, 4}},
                                          {{5, 5}, {6, 6}, {7, 7}, {8, 8}},
                                          {{9, 9}, {10, 10}, {11, 11}}});
  store.mapWidth = width;
  store.mapHeight = height;
  return store;
}

TEST(TexelDensityTest, TexelsPerModelUnit) {
  struct Case {
    const char* what;
    int width, height;
    int selectedFacet;  // -1: no selection
    double model, selection;
  };
  // A quarter of 512 x 512 texels is 65536: 256 per unit on the unit square,
  // 128 on the 2 x 2 one; together 131072 texels over 5 units of surface.
  const double both = std::sqrt(131072.0 / 5.0);
  const Case cases[] = {
      {"no selection", 512, 512, -1, both, 0},
      {"the unit square selected", 512, 512, 0, both, 256},
      {"the large square selected", 512, 512, 1, both, 128},
      {"the flat facet selected: no surface", 512, 512, 2, both, 0},
      {"a 1024 x 256 map has as many texels", 1024, 256, 0, both, 256},
      {"a 1024 x 1024 map: twice as many per unit", 1024, 1024, 1, 2 * both, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store = squares(c.width, c.height);
    SelectionState selection;
    if (c.selectedFacet >= 0) {
      selection.selectionActive = true;
      store.facetStream[static_cast<std::size_t>(1 + 5 * c.selectedFacet)].group |= kSelectedBit;
    }
    const TexelDensity density = measureTexelDensity(store, &selection);
    EXPECT_EQ(density.hasSelection, c.selectedFacet >= 0);
    EXPECT_NEAR(density.model, c.model, 1e-9);
    EXPECT_NEAR(density.selection, c.selection, 1e-9);
  }
}

TEST(TexelDensityTest, EmptyAndFlatModelsReadZero) {
  ModelStore empty;
  EXPECT_EQ(measureTexelDensity(empty, nullptr).model, 0.0);
  ModelStore store = squares(512, 512);
  for (Vertex& v : store.vertices) v = {1, 1, 1, 0};
  const TexelDensity density = measureTexelDensity(store, nullptr);
  EXPECT_EQ(density.model, 0.0);
  EXPECT_FALSE(density.hasSelection);
}

}  // namespace
}  // namespace corvina
