// Equalize Texel Density: each island scaled about its centre to the model's
// average texels per unit of surface.

#include "layout/texel_density.h"

#include <gtest/gtest.h>

#include "testing/model_builder.h"

namespace corvina {
namespace {

// Three squares on the model: 1 x 1, 2 x 2 and a collapsed one; in the map
// 0.1, 0.1 and 0.05 wide.
testing::ModelRecipe threeSquares() {
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {3, 0, 0}, {5, 0, 0},
                     {5, 2, 0}, {3, 2, 0}, {7, 0, 0}, {7, 0, 0}, {7, 0, 0}, {7, 0, 0}};
  recipe.texVertices = {{0.1f, 0.1f}, {0.2f, 0.1f},  {0.2f, 0.2f},   {0.1f, 0.2f},
                        {0.5f, 0.5f}, {0.6f, 0.5f},  {0.6f, 0.6f},   {0.5f, 0.6f},
                        {0.8f, 0.8f}, {0.85f, 0.8f}, {0.85f, 0.85f}, {0.8f, 0.85f}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}, {4, 4}},
                   {{5, 5}, {6, 6}, {7, 7}, {8, 8}},
                   {{9, 9}, {10, 10}, {11, 11}, {12, 12}}};
  return recipe;
}

TEST(TexelDensityTest, IslandsTakeTheAverageDensityAboutTheirCentres) {
  for (const bool selectedOnly : {false, true}) {
    SCOPED_TRACE(selectedOnly);
    ModelStore store = testing::buildModel(threeSquares());
    if (selectedOnly)  // the two real squares
      for (std::size_t j = 0; j < 10; ++j)
        if (store.facetStream[j].vertex > 0) store.facetStream[j].group |= kSelectedBit;
    ASSERT_EQ(equalizeTexelDensity(store, selectedOnly), DensityOutcome::Equalized);
    // Average: texture area 0.02 over surface 5: 0.004 per unit; the unit
    // square gets side sqrt(0.004), the 2 x 2 square twice that.
    const double side = std::sqrt(0.004);
    const auto& t = store.texVertices;
    EXPECT_NEAR(t[2].u - t[1].u, side, 1e-6);
    EXPECT_NEAR(t[3].v - t[2].v, side, 1e-6);
    EXPECT_NEAR((t[1].u + t[2].u) * 0.5, 0.15, 1e-6);
    EXPECT_NEAR(t[7].u - t[6].u, 2 * side, 1e-6);
    EXPECT_NEAR((t[6].v + t[8].v) * 0.5, 0.55, 1e-6);
    // The collapsed square has no surface: it stays.
    EXPECT_FLOAT_EQ(t[12].u - t[11].u, 0.05f);
  }
}

TEST(TexelDensityTest, NothingToScaleWithoutSurfaceOrSelection) {
  ModelStore store = testing::buildModel(threeSquares());
  EXPECT_EQ(equalizeTexelDensity(store, true), DensityOutcome::NothingToScale);
  ModelStore empty;
  EXPECT_EQ(equalizeTexelDensity(empty, false), DensityOutcome::NothingToScale);
}

}  // namespace
}  // namespace corvina
