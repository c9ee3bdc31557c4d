// Fuzz target for the UVS import: any byte sequence applied to a small model
// must import or be refused, never crash, hang or use memory the input does
// not justify. A refused file leaves the model exactly as it was; an imported
// one leaves expanded texture vertices whose indices stay inside their array.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "files/obj_line_reader.h"
#include "files/obj_line_source.h"
#include "files/uvs_reader.h"
#include "testing/counting_progress.h"
#include "testing/model_builder.h"

namespace {

using namespace corvina;

void check(bool condition) {
  if (!condition) std::abort();
}

// Three triangles, a quad and a one-corner facet, with groups and a region.
corvina::testing::ModelRecipe fuzzModel() {
  corvina::testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  recipe.texVertices = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}},
                   {{2, 2}, {4, 4}, {3, 3}},
                   {{1, 1}, {2, 2}, {4, 4}, {3, 3}},
                   {{4, 4}},
                   {{3, 3}, {2, 2}, {1, 1}}};
  recipe.groups = {{0, "a"}, {2, "b"}};
  recipe.regions = {{1, "r"}};
  return recipe;
}

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void checkImportedStore(const ModelStore& store) {
  check(store.texVerticesExpanded == 1);
  check(store.texVertices.size() == static_cast<std::size_t>(store.numTVerts));
  check(store.facetStream.size() == static_cast<std::size_t>(store.numCornerRecords));
  check(store.groups.size() == static_cast<std::size_t>(store.numGroupStatements) + 1);
  check(store.materials.size() == static_cast<std::size_t>(store.numMaterialStatements) + 1);
  check(store.regions.size() == static_cast<std::size_t>(store.numRegionStatements) + 1);
  for (const CornerRecord& record : store.facetStream) {
    check(record.texVertex >= 1 && record.texVertex <= store.numTVerts);
    if (record.vertex > 0) {
      check((record.group & kSetIndexMask) < std::max(store.numGroups, 1));
      check((record.material & kSetIndexMask) < std::max(store.numMaterials, 1));
      check((record.region & kSetIndexMask) < std::max(store.numRegions, 1));
    }
  }
  check(store.mapWidth >= 1 && store.mapWidth <= 8192);
  check(store.colorMode >= 0 && store.colorMode <= 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ModelStore store = corvina::testing::buildModel(fuzzModel());
  // The input's length chooses the layout and whether a selection is active,
  // so every way through the import is exercised.
  SelectionState selection;
  selection.selectionActive = size % 3 == 1;
  if (selection.selectionActive) {
    for (std::size_t j = 0; j < store.facetStream.size(); j += 2) {
      store.facetStream[j].group |= kSelectedBit;
    }
  }
  const ModelStore before = store;
  corvina::testing::CountingProgress ui;
  ObjMemorySource source(bytes);
  const char* path = size % 2 == 0 ? "fuzz/part.uvs" : "fuzz/part.obj";
  const UvsImportResult result =
      readUvs(store, selection, source, path, ui, ObjLineReader::kMinimumChunkSize);
  check(ui.progressBegun == ui.progressEnded);
  if (result.outcome == UvsImportOutcome::Imported) {
    checkImportedStore(store);
  } else {
    check(!result.outOfRange);
    check(sameBytes(store.facetStream, before.facetStream));
    check(sameBytes(store.texVertices, before.texVertices));
    check(sameBytes(store.groups, before.groups) && sameBytes(store.regions, before.regions));
    check(store.numTVerts == before.numTVerts && store.numGroups == before.numGroups);
  }
  return 0;
}
