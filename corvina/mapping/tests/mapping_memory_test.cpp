// A projection that cannot get one texture vertex per corner record maps
// nothing and says so. This test program's allocator can be told to refuse
// large blocks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <new>

#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/per_facet_mapping.h"
#include "mapping/planar_mapping.h"
#include "mapping/spherical_mapping.h"
#include "mapping/tests/mapping_models.h"
#include "mapping/tiling.h"

namespace {
std::size_t refuseFrom = std::numeric_limits<std::size_t>::max();
}

void* operator new(std::size_t size) {
  if (size >= refuseFrom) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace corvina {
namespace {

// Blocks of at least `bytes` are refused while it lives.
class RefuseLargeBlocks {
 public:
  explicit RefuseLargeBlocks(std::size_t bytes) { refuseFrom = bytes; }
  ~RefuseLargeBlocks() { refuseFrom = std::numeric_limits<std::size_t>::max(); }
};

using MappingRun = std::function<MappingOutcome(ModelStore&, SelectionState&)>;

TEST(MappingWithoutMemory, ReportsItAndLeavesTheModelAsItWas) {
  const std::pair<const char*, MappingRun> runs[] = {
      {"planar",
       [](ModelStore& m, SelectionState& s) {
         return planarMapping(m, s, PlanarMappingOptions{}, ClientSize{});
       }},
      {"box",
       [](ModelStore& m, SelectionState& s) {
         return boxMapping(m, s, BoxMappingOptions{}, ClientSize{});
       }},
      {"cylindrical",
       [](ModelStore& m, SelectionState& s) {
         return cylindricalMapping(m, s, RadialMappingOptions{}, ClientSize{});
       }},
      {"cylindrical cap",
       [](ModelStore& m, SelectionState& s) {
         return cylindricalCapMapping(m, s, RadialMappingOptions{}, ClientSize{});
       }},
      {"spherical",
       [](ModelStore& m, SelectionState& s) {
         return sphericalMapping(m, s, RadialMappingOptions{}, ClientSize{});
       }},
      {"per facet",
       [](ModelStore& m, SelectionState&) { return perFacetMapping(m, PerFacetMappingOptions{}); }},
      {"tiling", [](ModelStore& m,
                    SelectionState& s) { return tileBySet(m, s, SetKind::Group, TileOptions{}); }},
  };
  for (const auto& [name, run] : runs) {
    // 100 triangles sharing three texture vertices: compact, so mapping
    // must first expand to 401 texture vertices.
    ModelStore model = testing::triangles(100);
    model.texVertices = {{0.1f, 0.1f, 0}, {0.9f, 0.1f, 0}, {0.1f, 0.9f, 0}};
    model.numTVerts = 3;
    int corner = 0;
    for (CornerRecord& record : model.facetStream)
      if (record.vertex > 0) record.texVertex = corner++ % 3 + 1;
    model.numGroups = 1;
    model.mapWidth = 300;
    const ModelStore before = model;
    SelectionState selection;
    MappingOutcome outcome;
    {
      RefuseLargeBlocks refuse(model.facetStream.size() * sizeof(TexVertex));
      outcome = run(model, selection);
    }
    EXPECT_EQ(outcome, MappingOutcome::InsufficientMemory) << name;
    EXPECT_EQ(model.texVerticesExpanded, 0) << name;
    EXPECT_EQ(model.numTVerts, 3) << name;
    EXPECT_EQ(testing::uvBits(model), testing::uvBits(before)) << name;
    EXPECT_EQ(testing::cornerTexIndices(model), testing::cornerTexIndices(before)) << name;
    EXPECT_EQ(model.mapWidth, 300) << name;

    // With memory the same call maps.
    EXPECT_EQ(run(model, selection), MappingOutcome::Mapped) << name;
  }
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

TEST(PrepareTextureVertices, ExpandsAfreshWhenTheFlagDisagreesWithTheCounts) {
  ModelStore model = testing::triangles(2);
  expandTextureVertices(model, false);
  model.texVertices.resize(3);  // flagged expanded, but too short
  model.numTVerts = 3;
  EXPECT_TRUE(prepareTextureVertices(model));
  EXPECT_EQ(model.numTVerts, model.numCornerRecords);
  EXPECT_EQ(model.texVertices.size(), model.facetStream.size());
}

}  // namespace
}  // namespace corvina
