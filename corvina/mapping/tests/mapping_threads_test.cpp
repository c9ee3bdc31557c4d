// The projections run over ranges of the facet stream on several threads: on
// random models with awkward positions, selections and damaged corners, every
// thread count gives the texture vertices, map size and frame of one walk.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/per_facet_mapping.h"
#include "mapping/planar_mapping.h"
#include "mapping/spherical_mapping.h"
#include "model/parallel_parts.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

// A random model in the expanded form, with positions that tie at signed
// zeros, are not numbers or are infinite, corners naming no vertex, some
// corners selected and, for some seeds, the list ending early.
ModelStore awkwardModel(unsigned seed) {
  testing::ModelRecipe recipe = testing::randomModelRecipe(seed, 250);
  std::mt19937 random(seed);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const float awkward[] = {0.0f,
                           -0.0f,
                           std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(),
                           100000.0f,
                           -100000.0f};
  const float zeros[] = {0.0f, -0.0f, 1.0f};
  for (auto& v : recipe.vertices) {
    if (below(8) == 0) v[static_cast<std::size_t>(below(3))] = awkward[below(6)];
    // The last seed's positions tie at the minimum with both signed zeros,
    // so the parts' extremes must combine in stream order.
    if (seed == 5) v = {zeros[below(3)], zeros[below(3)], zeros[below(3)]};
  }
  ModelStore store = testing::buildModel(recipe);
  for (std::size_t j = 0; j + 1 < store.facetStream.size(); ++j) {
    CornerRecord& record = store.facetStream[j];
    if (record.vertex <= 0) continue;
    if (below(3) == 0) record.group |= kSelectedBit;
    if (below(97) == 0) record.vertex = store.numVerts + 1 + below(5);
  }
  if (seed % 3 == 0) store.facetStream[store.facetStream.size() / 2].vertex = kEndOfList;
  return store;
}

using Projection = std::function<void(ModelStore&, SelectionState&)>;

std::vector<std::pair<std::string, Projection>> projections() {
  PlanarMappingOptions byPosition;
  byPosition.split = 2;
  byPosition.offset = 0.25f;
  byPosition.alignment = kAxisX;
  PlanarMappingOptions whole;
  whole.split = 0;
  whole.gaps = false;
  whole.scaleResult = true;
  BoxMappingOptions three;
  three.split = false;
  RadialMappingOptions turned;
  turned.rotation = 77;
  turned.alignment = kAxisZ;
  turned.spreadAtPoles = false;
  turned.offsetX = 0.5f;
  const ClientSize view{640, 480};
  return {
      {"planar", [=](ModelStore& m,
                     SelectionState& s) { planarMapping(m, s, PlanarMappingOptions{}, view); }},
      {"planar by position",
       [=](ModelStore& m, SelectionState& s) { planarMapping(m, s, byPosition, view); }},
      {"planar whole", [=](ModelStore& m, SelectionState& s) { planarMapping(m, s, whole, view); }},
      {"box",
       [=](ModelStore& m, SelectionState& s) { boxMapping(m, s, BoxMappingOptions{}, view); }},
      {"box three", [=](ModelStore& m, SelectionState& s) { boxMapping(m, s, three, view); }},
      {"cylindrical",
       [=](ModelStore& m, SelectionState& s) {
         cylindricalMapping(m, s, RadialMappingOptions{}, view);
       }},
      {"cylindrical turned",
       [=](ModelStore& m, SelectionState& s) { cylindricalMapping(m, s, turned, view); }},
      {"cylindrical cap",
       [=](ModelStore& m, SelectionState& s) {
         cylindricalCapMapping(m, s, RadialMappingOptions{}, view);
       }},
      {"cylindrical cap turned",
       [=](ModelStore& m, SelectionState& s) { cylindricalCapMapping(m, s, turned, view); }},
      {"spherical",
       [=](ModelStore& m, SelectionState& s) {
         sphericalMapping(m, s, RadialMappingOptions{}, view);
       }},
      {"spherical turned",
       [=](ModelStore& m, SelectionState& s) { sphericalMapping(m, s, turned, view); }},
      {"per facet",
       [](ModelStore& m, SelectionState&) { perFacetMapping(m, PerFacetMappingOptions{}); }},
  };
}

struct Result {
  ModelStore store;
  SelectionState selection;
};

Result project(const ModelStore& model, bool selectionActive, const Projection& run) {
  Result result{model, SelectionState{}};
  result.selection.selectionActive = selectionActive;
  result.selection.target = FrameRect{0.2f, 0.7f, 0.1f, 0.9f};
  run(result.store, result.selection);
  return result;
}

// Bit for bit: a NaN equals itself, -0 differs from 0.
bool sameBits(const std::vector<TexVertex>& a, const std::vector<TexVertex>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(TexVertex)) == 0);
}

bool sameFrame(const SelectionState& a, const SelectionState& b) {
  auto bits = [](const FrameRect& r) {
    return std::vector<float>{r.left, r.right, r.top, r.bottom};
  };
  auto sameFloats = [&](const FrameRect& x, const FrameRect& y) {
    return std::memcmp(bits(x).data(), bits(y).data(), 4 * sizeof(float)) == 0;
  };
  return sameFloats(a.source, b.source) && sameFloats(a.target, b.target) &&
         a.framePixels.left == b.framePixels.left && a.framePixels.right == b.framePixels.right &&
         a.framePixels.top == b.framePixels.top && a.framePixels.bottom == b.framePixels.bottom;
}

TEST(MappingThreads, EveryThreadCountMapsAsOneWalk) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    const ModelStore model = awkwardModel(seed);
    for (const auto& [name, run] : projections()) {
      for (bool selectionActive : {false, true}) {
        Result reference;
        {
          ScopedParallelThreads one(1);
          reference = project(model, selectionActive, run);
        }
        for (std::size_t threads : {1, 2, 3, 8}) {
          ScopedParallelThreads chosen(threads, 5);
          const Result result = project(model, selectionActive, run);
          const std::string what = name + ", seed " + std::to_string(seed) + ", " +
                                   std::to_string(threads) + " threads" +
                                   (selectionActive ? ", selection" : "");
          EXPECT_TRUE(sameBits(result.store.texVertices, reference.store.texVertices)) << what;
          EXPECT_EQ(result.store.mapWidth, reference.store.mapWidth) << what;
          EXPECT_EQ(result.store.mapHeight, reference.store.mapHeight) << what;
          EXPECT_TRUE(sameFrame(result.selection, reference.selection)) << what;
        }
      }
    }
  }
}

}  // namespace
}  // namespace corvina
