// Weld, Fix Seams and smoothing share their work among threads (the corner
// lists, the sort by position, the smoothed normals): on random models with
// coinciding, signed-zero and non-number positions, every thread count leaves
// the model one thread leaves, and steps the bar as often.

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/parallel_parts.h"
#include "testing/model_builder.h"
#include "tools/normal_smoothing.h"
#include "tools/position_order.h"
#include "tools/seam_normals.h"
#include "tools/weld_vertices.h"

namespace corvina {
namespace {

// Positions drawn from a few, so that many coincide; some differ only in the
// sign of a zero or are not numbers. Some corners are selected.
ModelStore coincidingModel(unsigned seed) {
  testing::ModelRecipe recipe = testing::randomModelRecipe(seed, 500);
  std::mt19937 random(seed);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const float values[] = {0.0f, -0.0f, 1.0f, 2.5f, std::numeric_limits<float>::quiet_NaN()};
  for (auto& v : recipe.vertices) v = {values[below(5)], values[below(3)], values[below(4)]};
  ModelStore store = testing::buildModel(recipe);
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex > 0 && below(2) == 0) record.group |= kSelectedBit;
  }
  return store;
}

template <typename T>
std::vector<std::uint32_t> bitsOf(const std::vector<T>& values) {
  std::vector<std::uint32_t> bits;
  for (const T& value : values) {
    for (float f : {value.x, value.y, value.z}) bits.push_back(std::bit_cast<std::uint32_t>(f));
  }
  return bits;
}

std::vector<std::int64_t> streamOf(const ModelStore& store) {
  std::vector<std::int64_t> fields;
  for (const CornerRecord& r : store.facetStream) {
    fields.insert(fields.end(),
                  {r.vertex, r.texVertex, r.normal, r.group, r.material, r.region, r.flags});
  }
  return fields;
}

struct Outcome {
  ModelStore store;
  int steps = 0;
};

using Tool = std::function<void(ModelStore&, const ProgressStep&)>;

Outcome run(const ModelStore& model, const Tool& tool) {
  Outcome outcome{model, 0};
  tool(outcome.store, [&] { ++outcome.steps; });
  return outcome;
}

TEST(ToolsThreads, EveryThreadCountLeavesTheModelOneThreadLeaves) {
  const std::vector<std::pair<std::string, Tool>> tools = {
      {"weld", [](ModelStore& m, const ProgressStep& s) { weldVertices(m, s); }},
      {"fix seams", [](ModelStore& m, const ProgressStep& s) { fixSeams(m, s); }},
      {"smooth all",
       [](ModelStore& m, const ProgressStep& s) {
         smoothNormals(m, 60.0f, SmoothingScope::AllFacets, false, s);
       }},
      {"smooth by group in the selection",
       [](ModelStore& m, const ProgressStep& s) {
         smoothNormals(m, 170.0f, SmoothingScope::ByGroup, true, s);
       }},
      {"smooth by material",
       [](ModelStore& m, const ProgressStep& s) {
         smoothNormals(m, 30.0f, SmoothingScope::ByMaterial, false, s);
       }},
  };
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const ModelStore model = coincidingModel(seed);
    for (const auto& [name, tool] : tools) {
      Outcome reference;
      {
        ScopedParallelThreads one(1);
        reference = run(model, tool);
      }
      for (std::size_t threads : {1, 2, 3, 8}) {
        ScopedParallelThreads chosen(threads, 3);
        const Outcome outcome = run(model, tool);
        const std::string what =
            name + ", seed " + std::to_string(seed) + ", " + std::to_string(threads) + " threads";
        EXPECT_EQ(streamOf(outcome.store), streamOf(reference.store)) << what;
        EXPECT_EQ(bitsOf(outcome.store.normals), bitsOf(reference.store.normals)) << what;
        EXPECT_EQ(bitsOf(outcome.store.vertices), bitsOf(reference.store.vertices)) << what;
        EXPECT_EQ(outcome.store.numVNormals, reference.store.numVNormals) << what;
        EXPECT_EQ(outcome.store.numFacets, reference.store.numFacets) << what;
        EXPECT_EQ(outcome.steps, reference.steps) << what;
      }
    }
  }
}

TEST(ToolsThreads, SortByPositionGivesTheOneOrderAtEveryThreadCount) {
  std::mt19937 random(5);
  std::vector<KeyedItem> items;
  for (std::int32_t item = 1; item <= 3000; ++item) {
    const Vertex p{static_cast<float>(random() % 7), random() % 2 ? 0.0f : -0.0f, 1.0f};
    items.push_back({positionKey(p), item});
  }
  std::vector<KeyedItem> reference = items;
  {
    ScopedParallelThreads one(1);
    sortByPosition(reference);
  }
  for (std::size_t k = 1; k < reference.size(); ++k) {
    ASSERT_TRUE(
        ordersBefore(reference[k - 1].key, reference[k].key) ||
        (reference[k - 1].key == reference[k].key && reference[k - 1].item < reference[k].item));
  }
  for (std::size_t threads : {2, 3, 8}) {
    ScopedParallelThreads chosen(threads, 10);
    std::vector<KeyedItem> sorted = items;
    sortByPosition(sorted);
    ASSERT_EQ(sorted.size(), reference.size());
    for (std::size_t k = 0; k < sorted.size(); ++k) {
      ASSERT_EQ(sorted[k].item, reference[k].item) << threads << " threads, at " << k;
    }
  }
}

}  // namespace
}  // namespace corvina
