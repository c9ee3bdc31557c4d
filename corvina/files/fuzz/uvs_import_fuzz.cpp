// Fuzz target for the UVS import: any byte sequence applied to a small model
// (itself made from the input's first bytes) must import or be refused, never
// crash, hang or use memory the input does not justify. A refused file leaves
// the model exactly as it was; an imported one leaves expanded texture
// vertices whose indices stay inside their array.

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

// The model a file is applied to is described by the input's first bytes, so
// the fuzzer can pair files with models of every facet structure: byte 0 gives
// 1 to 8 facets, then one byte per facet gives its corner count (1 to 6, from
// its low three bits) and whether a group, material or region statement opens
// it (bits 3, 4 and 5; bits 6 and 7 pick the statement's name). Missing bytes
// count as 0. The rest of the input is the file.
struct FuzzInput {
  corvina::testing::ModelRecipe model;
  std::string_view file;
};

FuzzInput splitInput(std::string_view bytes) {
  std::size_t at = 0;
  auto take = [&]() -> unsigned {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at++]) : 0u;
  };
  const char* names[] = {"a", "b", "r", "top"};
  FuzzInput input;
  corvina::testing::ModelRecipe& recipe = input.model;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  recipe.texVertices = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  const unsigned facets = 1 + take() % 8;
  for (unsigned f = 0; f < facets; ++f) {
    const unsigned shape = take();
    const int corners = 1 + static_cast<int>(shape & 7) % 6;
    const std::pair<int, std::string> statement{static_cast<int>(f), names[shape >> 6]};
    if (shape & 0x08) recipe.groups.push_back(statement);
    if (shape & 0x10) recipe.materials.push_back(statement);
    if (shape & 0x20) recipe.regions.push_back(statement);
    corvina::testing::FacetSpec facet;
    for (int c = 0; c < corners; ++c) {
      const int corner = 1 + static_cast<int>((f + static_cast<unsigned>(c)) % 4);
      facet.push_back({corner, corner});
    }
    recipe.facets.push_back(facet);
  }
  input.file = bytes.substr(at);
  return input;
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
  const FuzzInput input = splitInput(std::string_view(reinterpret_cast<const char*>(data), size));
  ModelStore store = corvina::testing::buildModel(input.model);
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
  ObjMemorySource source(input.file);
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
