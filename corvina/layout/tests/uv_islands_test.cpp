// Islands: facets joined by edges whose ends carry equal texture coordinates
// on both sides.

#include "layout/uv_islands.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "layout/tests/island_models.h"
#include "mapping/box_mapping.h"
#include "mapping/per_facet_mapping.h"
#include "mapping/spherical_mapping.h"
#include "primitives/primitive_generator.h"
#include "testing/model_builder.h"
#include "tools/selection_state.h"
#include "tools/triangulation.h"

namespace corvina {
namespace {

using testing::buildModel;
using testing::ModelRecipe;

// Facets' islands as a partition: the island of each facet renumbered by first
// appearance, so two partitions compare equal whatever their numbers.
std::vector<int> partition(const std::vector<std::int32_t>& island) {
  std::vector<int> names(island.size(), -1), result;
  int next = 0;
  for (std::int32_t i : island) {
    if (names[static_cast<std::size_t>(i)] < 0) names[static_cast<std::size_t>(i)] = next++;
    result.push_back(names[static_cast<std::size_t>(i)]);
  }
  return result;
}

UvIslands islandsOf(const ModelStore& store) {
  UvIslands islands;
  EXPECT_TRUE(findUvIslands(store, islands));
  return islands;
}

TEST(UvIslandsTest, HandMadeFacets) {
  //  4---3      Two triangles over the square 1-2-3-4, sharing edge 1-3,
  //  | / |      with texture vertices as the case gives them.
  //  1---2
  const std::vector<std::array<float, 3>> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  struct Case {
    const char* what;
    std::vector<std::array<float, 2>> texVertices;
    std::vector<testing::FacetSpec> facets;
    std::vector<int> expected;
  };
  const std::vector<std::array<float, 2>> uv = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 1}};
  const Case cases[] = {
      {"shared edge, same coordinates",
       uv,
       {{{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 3}, {4, 4}}},
       {0, 0}},
      {"shared edge, one end differs",
       uv,
       {{{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 5}, {4, 4}}},
       {0, 1}},
      {"equal values in different texture vertices",
       {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 1}},
       {{{1, 1}, {2, 2}, {3, 3}}, {{1, 5}, {3, 6}, {4, 4}}},
       {0, 0}},
      {"zero and minus zero are equal",
       {{0.0f, 0}, {1, 0}, {1, 1}, {0, 1}, {-0.0f, -0.0f}},
       {{{1, 1}, {2, 2}, {3, 3}}, {{1, 5}, {3, 3}, {4, 4}}},
       {0, 0}},
      {"only a corner shared", uv, {{{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {4, 4}, {4, 4}}}, {0, 1}},
      {"a collapsed facet on the edge joins",
       uv,
       {{{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 3}, {3, 3}}, {{1, 1}, {3, 3}, {4, 4}}},
       {0, 0, 0}},
      {"three separate facets",
       uv,
       {{{1, 1}, {2, 2}, {3, 3}}, {{1, 2}, {3, 4}, {4, 1}}, {{2, 1}, {3, 3}, {4, 5}}},
       {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelRecipe recipe;
    recipe.vertices = square;
    recipe.texVertices = c.texVertices;
    recipe.facets = c.facets;
    ModelStore store = buildModel(recipe);
    const UvIslands islands = islandsOf(store);
    EXPECT_EQ(std::vector<int>(islands.facetIsland.begin(), islands.facetIsland.end()), c.expected);
    EXPECT_EQ(islands.count, *std::max_element(c.expected.begin(), c.expected.end()) + 1);
    ASSERT_EQ(islands.facetStart.size(), c.facets.size());
    for (std::int32_t start : islands.facetStart)
      EXPECT_EQ(store.facetStream[static_cast<std::size_t>(start)].vertex, kSeparator);
  }
}

TEST(UvIslandsTest, CornersOutsideTheTextureVerticesJoinNothing) {
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  recipe.texVertices = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 3}, {4, 4}}};
  for (const int index : {0, -3, 1000}) {
    SCOPED_TRACE(index);
    ModelStore store = buildModel(recipe);
    store.facetStream[3].texVertex = index;  // corner 3 of the first facet
    const UvIslands islands = islandsOf(store);
    EXPECT_EQ(std::vector<int>(islands.facetIsland.begin(), islands.facetIsland.end()),
              (std::vector<int>{0, 1}));
  }
}

TEST(UvIslandsTest, EmptyModelHasNoIslands) {
  ModelStore store;
  const UvIslands islands = islandsOf(store);
  EXPECT_EQ(islands.count, 0);
  EXPECT_TRUE(islands.facetIsland.empty());
}

// The islands by brute force: facets joined when some edge of one and some
// edge of the other have the same two vertices with equal coordinates at both
// ends; then the connected sets.
std::vector<int> islandsByHand(const ModelStore& store) {
  const auto polygons = [&] {
    std::vector<std::vector<std::pair<int, std::array<float, 2>>>> facets;
    for (std::size_t j = 0; j < store.facetStream.size() && store.facetStream[j].vertex >= 0; ++j) {
      if (store.facetStream[j].vertex == kSeparator) {
        facets.emplace_back();
        continue;
      }
      const TexVertex* t = cornerTexVertex(store, store.facetStream[j]);
      facets.back().push_back({store.facetStream[j].vertex, t ? std::array<float, 2>{t->u, t->v}
                                                              : std::array<float, 2>{NAN, NAN}});
    }
    return facets;
  }();
  const std::size_t n = polygons.size();
  auto touching = [&](std::size_t a, std::size_t b) {
    const auto& p = polygons[a];
    const auto& q = polygons[b];
    for (std::size_t i = 0; i < p.size(); ++i) {
      const auto& p0 = p[i];
      const auto& p1 = p[(i + 1) % p.size()];
      for (std::size_t k = 0; k < q.size(); ++k) {
        const auto& q0 = q[k];
        const auto& q1 = q[(k + 1) % q.size()];
        auto same = [](const auto& x, const auto& y) {
          return x.first == y.first && x.second[0] == y.second[0] && x.second[1] == y.second[1];
        };
        if ((same(p0, q0) && same(p1, q1)) || (same(p0, q1) && same(p1, q0))) return true;
      }
    }
    return false;
  };
  std::vector<int> island(n, -1);
  int next = 0;
  for (std::size_t start = 0; start < n; ++start) {
    if (island[start] >= 0) continue;
    std::vector<std::size_t> todo{start};
    island[start] = next;
    while (!todo.empty()) {
      const std::size_t f = todo.back();
      todo.pop_back();
      for (std::size_t g = 0; g < n; ++g)
        if (island[g] < 0 && touching(f, g)) {
          island[g] = next;
          todo.push_back(g);
        }
    }
    ++next;
  }
  return island;
}

TEST(UvIslandsTest, RandomModelsMatchTheIslandsFoundByHand) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    ModelStore store = buildModel(testing::randomModelRecipe(seed, 60));
    // Few texture values, so that many edges join.
    for (TexVertex& t : store.texVertices) {
      t.u = std::round(t.u * 2) / 2;
      t.v = std::round(t.v * 2) / 2;
    }
    const UvIslands islands = islandsOf(store);
    EXPECT_EQ(partition(islands.facetIsland), islandsByHand(store));
    // Compact or expanded, the islands are the same.
    compressTextureVertices(store);
    EXPECT_EQ(partition(islandsOf(store).facetIsland), partition(islands.facetIsland));
  }
}

TEST(UvIslandsTest, PatchModelsHaveOneIslandPerPatch) {
  for (unsigned seed = 1; seed <= 10; ++seed) {
    testing::PatchModel model = testing::randomPatchModel(seed, 30, true);
    ModelStore store = buildModel(model.recipe);
    EXPECT_EQ(islandsOf(store).count, model.patches) << seed;
  }
}

TEST(UvIslandsTest, GeneratedPrimitivesAndProjections) {
  using Make = std::function<void(ModelStore&, SelectionState&)>;
  struct Case {
    const char* what;
    Make make;
    int expected;  // -1: one island per facet
  };
  const Case cases[] = {
      {"box map of a cube",
       [](ModelStore& s, SelectionState& sel) {
         BoxOptions cube;
         cube.height = cube.width = cube.depth = 2;
         ASSERT_EQ(generateBox(s, sel, cube), GenerateOutcome::Generated);
         ASSERT_EQ(boxMapping(s, sel, BoxMappingOptions{}, {}), MappingOutcome::Mapped);
       },
       6},
      {"box map of a box, not split",
       [](ModelStore& s, SelectionState& sel) {
         ASSERT_EQ(generateBox(s, sel, BoxOptions{}), GenerateOutcome::Generated);
         BoxMappingOptions options;
         options.split = false;
         ASSERT_EQ(boxMapping(s, sel, options, {}), MappingOutcome::Mapped);
       },
       6},  // front and back share their place in the map, not an edge
      {"spherical map of a sphere",
       [](ModelStore& s, SelectionState& sel) {
         ASSERT_EQ(generateSphere(s, sel, SphereOptions{}), GenerateOutcome::Generated);
         ASSERT_EQ(sphericalMapping(s, sel, RadialMappingOptions{}, {}), MappingOutcome::Mapped);
       },
       1},
      {"per-facet map of a sphere",
       [](ModelStore& s, SelectionState& sel) {
         ASSERT_EQ(generateSphere(s, sel, SphereOptions{}), GenerateOutcome::Generated);
         ASSERT_EQ(triangulate(s), TriangulateOutcome::Done);
         ASSERT_FALSE(hasFacetsBeyondTriangles(s));
         ASSERT_EQ(perFacetMapping(s, PerFacetMappingOptions{}), MappingOutcome::Mapped);
       },
       -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store;
    SelectionState selection;
    c.make(store, selection);
    const UvIslands islands = islandsOf(store);
    EXPECT_EQ(islands.count, c.expected < 0 ? store.numFacets : c.expected);
    EXPECT_EQ(static_cast<int>(islands.facetIsland.size()), store.numFacets);
  }
}

}  // namespace
}  // namespace corvina
