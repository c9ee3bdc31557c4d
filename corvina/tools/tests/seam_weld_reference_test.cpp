// Fix Seams and Weld sort with an O(n log n) method; these tests hold them to
// the results of the plain one-by-one method on random models full of shared
// positions, shared normals, missing normals and crowded vertices.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "tools/normal_math.h"
#include "tools/position_order.h"
#include "tools/seam_normals.h"
#include "tools/tests/mesh_models.h"
#include "tools/weld_vertices.h"

namespace corvina {
namespace {

// Inserts `item` after every entry whose key is the same or orders before it.
void insertAfterEquals(std::vector<KeyedItem>& list, const KeyedItem& item) {
  auto at = std::upper_bound(
      list.begin(), list.end(), item,
      [](const KeyedItem& a, const KeyedItem& b) { return ordersBefore(a.key, b.key); });
  list.insert(at, item);
}

void referenceFixSeams(ModelStore& store) {
  std::vector<KeyedItem> list;
  for (std::size_t at = 0; store.facetStream[at].vertex >= 0; ++at) {
    const CornerRecord& c = store.facetStream[at];
    if (c.vertex < 1 || c.normal < 1) continue;
    insertAfterEquals(list, {positionKey(store.vertices[c.vertex - 1]), static_cast<int>(at)});
  }
  auto normalOf = [&](const KeyedItem& e) -> Normal& {
    return store.normals[store.facetStream[e.item].normal - 1];
  };
  std::size_t runStart = 0;
  for (std::size_t i = 1; i < list.size(); ++i) {
    if (!(list[i].key == list[i - 1].key)) {
      runStart = i;
    } else if (!sameBits(normalOf(list[i]), normalOf(list[i - 1]))) {
      const Normal n = normalisedMean(normalOf(list[i - 1]), normalOf(list[i]));
      std::size_t runEnd = i;
      while (runEnd + 1 < list.size() && list[runEnd + 1].key == list[i].key) ++runEnd;
      for (std::size_t k = runStart; k <= runEnd; ++k) normalOf(list[k]) = n;
      i = runEnd;  // the next entry starts a new run
      runStart = runEnd + 1;
    }
  }
}

void referenceWeld(ModelStore& store) {
  const int vertices = store.numVerts, normals = store.numVNormals;
  std::vector<KeyedItem> order;
  for (int v = 1; v <= vertices; ++v)
    insertAfterEquals(order, {positionKey(store.vertices[v - 1]), v});
  std::vector<std::vector<int>> listed(static_cast<std::size_t>(vertices) + 1);
  std::vector<bool> overflowing(static_cast<std::size_t>(vertices) + 1, false);
  for (std::size_t at = 0; store.facetStream[at].vertex >= 0; ++at) {
    const int v = store.facetStream[at].vertex;
    if (v < 1) continue;
    if (listed[v].size() < 16)
      listed[v].push_back(static_cast<int>(at));
    else
      overflowing[v] = true;
  }
  auto write = [&](CornerRecord& c, const Normal& n, bool have) {
    if (have && c.normal >= 1 && c.normal <= normals) store.normals[c.normal - 1] = n;
  };
  for (std::size_t k = 1; k < order.size(); ++k) {
    if (!(order[k].key == order[k - 1].key)) continue;
    const int m = order[k - 1].item, o = order[k].item;
    const bool have = m <= normals && o <= normals;
    const Normal n = have ? normalisedMean(store.normals[m - 1], store.normals[o - 1]) : Normal{};
    if (!overflowing[m] && !overflowing[o]) {
      for (int at : listed[m]) write(store.facetStream[at], n, have);
      for (int at : listed[o]) {
        CornerRecord& c = store.facetStream[at];
        write(c, n, have);
        if (c.normal == c.vertex && m <= normals) c.normal = m;
        c.vertex = m;
      }
    } else {
      for (std::size_t at = 0; store.facetStream[at].vertex >= 0; ++at) {
        CornerRecord& c = store.facetStream[at];
        if (c.vertex != m && c.vertex != o) continue;
        write(c, n, have);
        c.vertex = m;
      }
    }
  }
}

// Few distinct positions (0.0 and -0.0 among them) and normals, many facets.
ModelStore randomModel(std::mt19937& random, bool normalPerVertex) {
  const float coordinates[] = {0.0f, -0.0f, 1.0f, 2.5f};
  const Normal directions[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0.6f, 0.8f, 0}};
  const int vertices = 2 + static_cast<int>(random() % 12);
  std::vector<Vertex> positions;
  for (int v = 0; v < vertices; ++v) {
    positions.push_back({coordinates[random() % 4], coordinates[random() % 2], 0, 0});
  }
  std::vector<testing::FacetSpec> facets;
  const int count = 1 + static_cast<int>(random() % 30);
  for (int f = 0; f < count; ++f) {
    testing::FacetSpec facet;
    const int corners = 3 + static_cast<int>(random() % 2);
    for (int k = 0; k < corners; ++k)
      facet.push_back({1 + static_cast<int>(random() % vertices), 0});
    facets.push_back(facet);
  }
  ModelStore store = testing::buildModel(positions, {}, facets);
  const int normals = normalPerVertex ? vertices - static_cast<int>(random() % 2)
                                      : 1 + static_cast<int>(random() % 6);
  for (int n = 0; n < normals; ++n) store.normals.push_back(directions[random() % 5]);
  store.numVNormals = normals;
  for (CornerRecord& c : store.facetStream) {
    if (c.vertex <= 0) continue;
    if (normalPerVertex)
      c.normal = c.vertex <= normals ? c.vertex : 0;
    else
      c.normal = static_cast<int>(random() % (normals + 1));  // 0: no normal
  }
  return store;
}

void expectSame(const ModelStore& actual, const ModelStore& expected, int seed) {
  ASSERT_EQ(actual.normals.size(), expected.normals.size()) << "seed " << seed;
  for (std::size_t n = 0; n < expected.normals.size(); ++n) {
    EXPECT_TRUE(sameBits(actual.normals[n], expected.normals[n]))
        << "seed " << seed << " normal " << n;
  }
  for (std::size_t j = 0; j < expected.facetStream.size(); ++j) {
    EXPECT_EQ(actual.facetStream[j].vertex, expected.facetStream[j].vertex) << "seed " << seed;
    EXPECT_EQ(actual.facetStream[j].normal, expected.facetStream[j].normal) << "seed " << seed;
  }
}

TEST(FixSeams, MatchesTheOneByOneMethodOnRandomModels) {
  for (int seed = 0; seed < 300; ++seed) {
    std::mt19937 random(static_cast<unsigned>(seed));
    ModelStore model = randomModel(random, false);
    ModelStore expected = model;
    referenceFixSeams(expected);
    ASSERT_EQ(fixSeams(model), NormalToolOutcome::Done);
    expectSame(model, expected, seed);
  }
}

TEST(Weld, MatchesTheOneByOneMethodOnRandomModels) {
  int crowded = 0;
  for (int seed = 0; seed < 300; ++seed) {
    std::mt19937 random(static_cast<unsigned>(seed));
    ModelStore model = randomModel(random, true);
    std::vector<int> uses(static_cast<std::size_t>(model.numVerts) + 1, 0);
    for (const CornerRecord& c : model.facetStream) {
      if (c.vertex > 0 && ++uses[c.vertex] == 17) ++crowded;
    }
    ModelStore expected = model;
    referenceWeld(expected);
    ASSERT_EQ(weldVertices(model), NormalToolOutcome::Done);
    expectSame(model, expected, seed);
  }
  EXPECT_GT(crowded, 20);  // the stream path was taken often enough to matter
}

}  // namespace
}  // namespace corvina
