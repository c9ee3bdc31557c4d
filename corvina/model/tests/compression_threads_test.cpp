// Texture-vertex compression numbers the distinct (u, v) values on several
// threads: every thread count gives the numbering of one walk, on models with
// signed zeros, NaNs of two signs, corners without texture coordinates and an
// early end of the list.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "model/model_store.h"
#include "model/parallel_parts.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

ModelStore awkwardUvModel(unsigned seed) {
  testing::ModelRecipe recipe = testing::randomModelRecipe(seed, 700);
  std::mt19937 random(seed);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const float values[] = {0.0f,
                          -0.0f,
                          0.5f,
                          std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::quiet_NaN(),
                          kNoUvU};
  for (auto& t : recipe.texVertices) {
    if (below(2) == 0) t = {values[below(6)], values[below(6)]};
  }
  ModelStore store = testing::buildModel(recipe);  // expanded, as a load leaves it
  if (seed % 2 == 0) store.facetStream[store.facetStream.size() * 2 / 3].vertex = kEndOfList;
  return store;
}

std::vector<std::uint64_t> compressed(const ModelStore& store) {
  std::vector<std::uint64_t> all{static_cast<std::uint64_t>(store.numTVerts)};
  for (const TexVertex& t : store.texVertices) {
    all.push_back(std::uint64_t{std::bit_cast<std::uint32_t>(t.u)} << 32 |
                  std::bit_cast<std::uint32_t>(t.v));
  }
  for (const CornerRecord& r : store.facetStream) {
    all.push_back(static_cast<std::uint32_t>(r.texVertex));
  }
  return all;
}

TEST(CompressionThreads, EveryThreadCountNumbersAsOneWalk) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const ModelStore model = awkwardUvModel(seed);
    ModelStore reference = model;
    {
      ScopedParallelThreads one(1);
      compressTextureVertices(reference);
    }
    ASSERT_LT(reference.numTVerts, model.numTVerts);
    for (std::size_t threads : {1, 2, 3, 8}) {
      ScopedParallelThreads chosen(threads, 4);
      ModelStore store = model;
      compressTextureVertices(store);
      EXPECT_EQ(compressed(store), compressed(reference))
          << "seed " << seed << ", " << threads << " threads";
    }
  }
}

}  // namespace
}  // namespace corvina
