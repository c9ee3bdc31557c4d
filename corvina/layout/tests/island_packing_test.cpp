// Packing islands: no two islands closer than the padding, half of it from
// the border, one scale for all, and the same bits every time.

#include "layout/island_packing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <map>
#include <random>

#include "layout/island_measures.h"
#include "layout/tests/island_models.h"
#include "mapping/box_mapping.h"
#include "mapping/spherical_mapping.h"
#include "primitives/primitive_generator.h"
#include "testing/model_builder.h"
#include "tools/selection_state.h"

namespace corvina {
namespace {

using testing::buildModel;

std::vector<TexVertex> coordinatesOf(const ModelStore& store) {
  return store.texVertices;
}

bool sameBits(const std::vector<TexVertex>& a, const std::vector<TexVertex>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(TexVertex)) == 0;
}

// The length in map pixels of every edge, per island, before and after.
std::map<int, std::vector<double>> edgeLengths(const ModelStore& store, int width, int height) {
  UvIslands islands;
  findUvIslands(store, islands);
  const auto polygons = testing::facetPolygons(store, islands, width, height);
  std::map<int, std::vector<double>> lengths;
  for (std::size_t f = 0; f < polygons.size(); ++f)
    for (std::size_t i = 0; i < polygons[f].size(); ++i) {
      const auto& a = polygons[f][i];
      const auto& b = polygons[f][(i + 1) % polygons[f].size()];
      lengths[islands.facetIsland[f]].push_back(std::hypot(a[0] - b[0], a[1] - b[1]));
    }
  return lengths;
}

TEST(IslandPackingTest, RandomPatchModelsNeverOverlap) {
  struct Case {
    int width, height;
    float padding;
    bool rotate;
    int patches;
  };
  const Case cases[] = {
      {256, 256, 4, true, 30},     {256, 128, 4, true, 40}, {200, 300, 2, false, 25},
      {256, 256, 7, true, 60},     {128, 128, 1, true, 15}, {300, 100, 3, true, 20},
      {256, 256, 0.5f, false, 35},
  };
  unsigned seed = 1;
  for (const Case& c : cases) {
    for (int round = 0; round < 3; ++round, ++seed) {
      SCOPED_TRACE(::testing::Message()
                   << c.width << "x" << c.height << " padding " << c.padding << " seed " << seed);
      ModelStore store = buildModel(testing::randomPatchModel(seed, c.patches, true).recipe);
      const auto before = edgeLengths(store, c.width, c.height);
      PackOptions options;
      options.width = c.width;
      options.height = c.height;
      options.padding = c.padding;
      options.allowRotation = c.rotate;
      const PackResult result = packIslands(store, options, PackArea{});
      ASSERT_EQ(result.outcome, PackOutcome::Packed);
      EXPECT_EQ(result.islands, c.patches);
      const auto report = testing::islandOverlap(store, c.width, c.height, c.padding * 0.5);
      EXPECT_EQ(report.sharedPixels, 0);
      EXPECT_EQ(report.cornersNearBorder, 0);
      EXPECT_GT(report.coveredPixels, 0);
      EXPECT_GT(result.coverage, 0.2);
      EXPECT_LE(result.coverage, 1.0);
      // One scale for every island, in pixels of the map.
      const auto after = edgeLengths(store, c.width, c.height);
      for (const auto& [island, lengths] : before) {
        for (std::size_t i = 0; i < lengths.size(); ++i) {
          if (lengths[i] > 1.0) {
            EXPECT_NEAR(after.at(island)[i] / lengths[i], result.scale, result.scale * 1e-3);
          }
        }
      }
    }
  }
}

TEST(IslandPackingTest, GeneratedModelsPackTightlyWithoutOverlap) {
  struct Case {
    const char* what;
    std::function<void(ModelStore&, SelectionState&)> make;
    double coverage;  // at least
  };
  const Case cases[] = {
      {"box map of a box",
       [](ModelStore& s, SelectionState& sel) {
         generateBox(s, sel, BoxOptions{});
         boxMapping(s, sel, BoxMappingOptions{}, {});
       },
       0.6},
      {"spherical map of a sphere",
       [](ModelStore& s, SelectionState& sel) {
         generateSphere(s, sel, SphereOptions{});
         sphericalMapping(s, sel, RadialMappingOptions{}, {});
       },
       0.6},
      {"a torus", [](ModelStore& s, SelectionState& sel) { generateTorus(s, sel, TorusOptions{}); },
       0.6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store;
    SelectionState selection;
    c.make(store, selection);
    PackOptions options;
    const PackResult result = packIslands(store, options, PackArea{});
    ASSERT_EQ(result.outcome, PackOutcome::Packed);
    EXPECT_GE(result.coverage, c.coverage);
    const auto report = testing::islandOverlap(store, options.width, options.height, 2.0);
    EXPECT_EQ(report.sharedPixels, 0);
    EXPECT_EQ(report.cornersNearBorder, 0);
  }
}

TEST(IslandPackingTest, SameModelGivesTheSameBits) {
  for (const bool density : {false, true}) {
    ModelStore first = buildModel(testing::randomPatchModel(7, 50).recipe);
    ModelStore second = buildModel(testing::randomPatchModel(7, 50).recipe);
    PackOptions options;
    options.equalDensity = density;
    ASSERT_EQ(packIslands(first, options, PackArea{}).outcome, PackOutcome::Packed);
    ASSERT_EQ(packIslands(second, options, PackArea{}).outcome, PackOutcome::Packed);
    EXPECT_TRUE(sameBits(coordinatesOf(first), coordinatesOf(second)));
    // Packing a packed model again finds the same layout.
    std::vector<TexVertex> once = coordinatesOf(first);
    ASSERT_EQ(packIslands(first, options, PackArea{}).outcome, PackOutcome::Packed);
    const auto report = testing::islandOverlap(first, options.width, options.height, 2.0);
    EXPECT_EQ(report.sharedPixels, 0);
    EXPECT_EQ(once.size(), first.texVertices.size());
  }
}

TEST(IslandPackingTest, RandomAndExtremeModelsPackWithoutOverlap) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    ModelStore store = buildModel(testing::randomModelRecipe(seed, 40));
    // Some coordinates far out, some islands tiny, some not numbers at all.
    std::mt19937 random(seed);
    for (TexVertex& t : store.texVertices) {
      switch (random() % 12) {
        case 0:
          t.u *= 1e30f;
          break;
        case 1:
          t.v = t.v * 1e-30f;
          t.u = t.u * 1e-30f;
          break;
        case 2:
          t.u = std::numeric_limits<float>::quiet_NaN();
          break;
        case 3:
          t.v = -std::numeric_limits<float>::infinity();
          break;
        default:
          break;
      }
    }
    UvIslands islands;
    ASSERT_TRUE(findUvIslands(store, islands));
    std::vector<bool> numbers(static_cast<std::size_t>(islands.count), true);
    for (std::size_t f = 0; f < islands.facetStart.size(); ++f)
      for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           store.facetStream[j].vertex > 0; ++j)
        if (!std::isfinite(store.texVertices[j].u) || !std::isfinite(store.texVertices[j].v))
          numbers[static_cast<std::size_t>(islands.facetIsland[f])] = false;
    PackOptions options;
    options.width = 200;
    options.height = 150;
    options.padding = 2;
    const PackResult result = packIslands(store, options, PackArea{});
    ASSERT_EQ(result.outcome, PackOutcome::Packed);
    // Every island of numbers is packed inside the half padding; the others stay.
    EXPECT_EQ(result.islands, std::count(numbers.begin(), numbers.end(), true));
    for (std::size_t f = 0; f < islands.facetStart.size(); ++f) {
      if (!numbers[static_cast<std::size_t>(islands.facetIsland[f])]) continue;
      for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           store.facetStream[j].vertex > 0; ++j) {
        EXPECT_GE(store.texVertices[j].u * 200, 1 - 1e-3);
        EXPECT_LE(store.texVertices[j].u * 200, 199 + 1e-3);
        EXPECT_GE(store.texVertices[j].v * 150, 1 - 1e-3);
        EXPECT_LE(store.texVertices[j].v * 150, 149 + 1e-3);
      }
    }
  }
}

TEST(IslandPackingTest, ZeroAreaIslandsAndFacetsPack) {
  // Every facet collapsed: to a point, to a line, or a repeated corner.
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  recipe.texVertices = {{0.2f, 0.2f}, {0.2f, 0.2f}, {0.5f, 0.2f}, {0.9f, 0.9f}};
  recipe.facets = {{{1, 1}, {2, 1}, {3, 1}},
                   {{1, 2}, {2, 3}, {3, 3}},
                   {{2, 4}, {3, 4}, {4, 4}},
                   {{1, 1}, {1, 1}, {1, 1}}};
  ModelStore store = buildModel(recipe);
  PackOptions options;
  const PackResult result = packIslands(store, options, PackArea{});
  ASSERT_EQ(result.outcome, PackOutcome::Packed);
  EXPECT_EQ(result.coverage, 0.0);
  const auto report = testing::islandOverlap(store, options.width, options.height, 2.0);
  EXPECT_EQ(report.sharedPixels, 0);
  EXPECT_EQ(report.cornersNearBorder, 0);
}

TEST(IslandPackingTest, RefusalsLeaveTheCoordinatesAlone) {
  struct Case {
    const char* what;
    int patches;
    PackOptions options;
    bool selectSome;
    PackOutcome expected;
  };
  PackOptions crowded;
  crowded.width = crowded.height = 64;
  crowded.padding = 16;
  PackOptions selectedOnly;
  selectedOnly.selectedOnly = true;
  const Case cases[] = {
      {"padding leaves no room", 40, crowded, false, PackOutcome::DoesNotFit},
      {"nothing selected", 10, selectedOnly, false, PackOutcome::NothingToPack},
      {"no facets", 0, PackOptions{}, false, PackOutcome::NothingToPack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store = buildModel(testing::randomPatchModel(3, c.patches).recipe);
    const std::vector<TexVertex> before = coordinatesOf(store);
    EXPECT_EQ(packIslands(store, c.options, PackArea{}).outcome, c.expected);
    EXPECT_TRUE(sameBits(before, coordinatesOf(store)));
  }
}

TEST(IslandPackingTest, IslandsWithoutCoordinatesStayInPlace) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    SCOPED_TRACE(seed);
    ModelStore store = buildModel(testing::randomPatchModel(seed, 8).recipe);
    // The first corner of every third facet has no texture coordinate.
    int facet = 0;
    for (std::size_t j = 0; j + 1 < store.facetStream.size(); ++j)
      if (store.facetStream[j].vertex == kSeparator && facet++ % 3 == 0)
        store.texVertices[static_cast<std::size_t>(store.facetStream[j + 1].texVertex - 1)] = {
            kNoUvU, kNoUvV, 0};
    UvIslands islands;
    ASSERT_TRUE(findUvIslands(store, islands));
    std::vector<bool> fixed(static_cast<std::size_t>(islands.count), false);
    for (std::size_t f = 0; f < islands.facetStart.size(); ++f)
      for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           store.facetStream[j].vertex > 0; ++j)
        if (store.texVertices[static_cast<std::size_t>(j)].u == kNoUvU)
          fixed[static_cast<std::size_t>(islands.facetIsland[f])] = true;
    const std::vector<TexVertex> before = coordinatesOf(store);
    const PackResult result = packIslands(store, PackOptions{}, PackArea{});
    ASSERT_EQ(result.outcome, PackOutcome::Packed);
    EXPECT_EQ(result.islands, std::count(fixed.begin(), fixed.end(), false));
    for (std::size_t f = 0; f < islands.facetStart.size(); ++f)
      for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           store.facetStream[j].vertex > 0; ++j)
        if (fixed[static_cast<std::size_t>(islands.facetIsland[f])]) {
          EXPECT_EQ(std::memcmp(&before[j], &store.texVertices[j], sizeof(TexVertex)), 0);
        }
  }
}

TEST(IslandPackingTest, SelectedIslandsGoIntoTheArea) {
  ModelStore store = buildModel(testing::randomPatchModel(11, 20).recipe);
  UvIslands islands;
  ASSERT_TRUE(findUvIslands(store, islands));
  // Select the facets of the even islands.
  for (std::size_t f = 0; f < islands.facetStart.size(); ++f)
    if (islands.facetIsland[f] % 2 == 0)
      for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           store.facetStream[j].vertex > 0; ++j)
        store.facetStream[j].group |= kSelectedBit;
  const std::vector<TexVertex> before = coordinatesOf(store);
  PackOptions options;
  options.selectedOnly = true;
  const PackArea area{0.25, 0.75, 0.5, 1.0};
  const PackResult result = packIslands(store, options, area);
  ASSERT_EQ(result.outcome, PackOutcome::Packed);
  EXPECT_EQ(result.islands, (islands.count + 1) / 2);
  const double halfPadding = 2.0 / 512;
  for (std::size_t f = 0; f < islands.facetStart.size(); ++f)
    for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
         store.facetStream[j].vertex > 0; ++j) {
      const auto k = static_cast<std::size_t>(store.facetStream[j].texVertex - 1);
      const TexVertex& t = store.texVertices[k];
      if (islands.facetIsland[f] % 2 == 0) {
        EXPECT_GE(t.u, area.minU + halfPadding - 1e-5);
        EXPECT_LE(t.u, area.maxU - halfPadding + 1e-5);
        EXPECT_GE(t.v, area.minV + halfPadding - 1e-5);
        EXPECT_LE(t.v, area.maxV - halfPadding + 1e-5);
      } else {
        EXPECT_EQ(std::memcmp(&before[k], &t, sizeof(TexVertex)), 0);
      }
    }
}

TEST(IslandPackingTest, EqualDensityMakesIslandsOfEqualSurfaceEqualInTexels) {
  // Two unit squares on the model, one drawn four times larger in the map.
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                     {5, 0, 0}, {6, 0, 0}, {6, 1, 0}, {5, 1, 0}};
  recipe.texVertices = {{0, 0},    {0.1f, 0}, {0.1f, 0.1f}, {0, 0.1f},
                        {0.5f, 0}, {0.9f, 0}, {0.9f, 0.4f}, {0.5f, 0.4f}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {{5, 5}, {6, 6}, {7, 7}, {8, 8}}};
  for (const bool equal : {false, true}) {
    SCOPED_TRACE(equal);
    ModelStore store = buildModel(recipe);
    PackOptions options;
    options.equalDensity = equal;
    ASSERT_EQ(packIslands(store, options, PackArea{}).outcome, PackOutcome::Packed);
    const double first = facetTextureArea(store, 0);
    const double second = facetTextureArea(store, 5);
    if (equal)
      EXPECT_NEAR(first / second, 1.0, 1e-4);
    else
      EXPECT_NEAR(second / first, 16.0, 1e-3);
  }
}

}  // namespace
}  // namespace corvina
