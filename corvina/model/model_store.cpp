#include "model/model_store.h"

#include "model/model_walk.h"

#include "model/distinct_uv_numbering.h"
#include "model/large_array.h"
#include "model/parallel_parts.h"
#include "model/stream_ranges.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace corvina {

namespace {

// Frees a vector's storage, not just its elements, so a released array holds
// no memory and no stale records.
template <typename T>
void freeArray(std::vector<T>& array) {
  std::vector<T>().swap(array);
}

void releaseArrays(ModelStore& store) {
  freeArray(store.vertices);
  freeArray(store.baseVertices);
  freeArray(store.texVertices);
  freeArray(store.normals);
  freeArray(store.groups);
  freeArray(store.facetStream);
  freeArray(store.materials);
  freeArray(store.shapeLines);
  freeArray(store.regions);
}

void zeroCounts(ModelStore& store) {
  store.numRegions = store.numRegionStatements = 0;
  store.numMaterials = store.numMaterialStatements = 0;
  store.numGroups = store.numGroupStatements = 0;
  store.numVNormals = store.numTVerts = store.numVerts = 0;
  store.numShapeLines = store.numFacets = store.numCornerRecords = 0;
}

// Sizes a released array from a count; a negative count cannot be had.
template <typename T>
void sizeArray(std::vector<T>& array, long long count) {
  if (count < 0) throw std::length_error("negative element count");
  sizeLargeArray(array, static_cast<std::size_t>(count));
}

std::size_t texVertexCount(const ModelStore& store) {
  return presentCount(store.numTVerts, store.texVertices);
}

// The least u and greatest v of all texture vertices: the value a corner
// without a texture coordinate receives. With no texture vertices this is the
// no-UV marker.
TexVertex fillerTexVertex(const ModelStore& store) {
  TexVertex filler{kNoUvU, kNoUvV, 0};
  const std::size_t count = texVertexCount(store);
  for (std::size_t i = 0; i < count; ++i) {
    filler.u = std::min(filler.u, store.texVertices[i].u);
    filler.v = std::max(filler.v, store.texVertices[i].v);
  }
  return filler;
}

// The number of leading records that form the stream proper: everything up
// to, not including, the first end-of-list record.
std::size_t recordsBeforeEnd(const ModelStore& store) {
  const std::size_t length = streamLength(store);
  std::size_t j = 0;
  while (j < length && store.facetStream[j].vertex >= 0) ++j;
  return j;
}

// Advances a table's current statement past every statement that came before
// facet n, and returns the set index the table gives the facet's corners.
struct SetTableCursor {
  const std::vector<SetRecord>& table;
  int distinctNames;
  int statements;
  int current = 0;

  void enterFacet(int facetNumber) {
    if (distinctNames <= 1) return;
    while (current < statements && static_cast<std::size_t>(current) + 1 < table.size() &&
           table[static_cast<std::size_t>(current) + 1].firstFacet < facetNumber) {
      ++current;
    }
  }

  std::uint16_t setIndex() const {
    if (distinctNames <= 0 || static_cast<std::size_t>(current) >= table.size()) return 0;
    return static_cast<std::uint16_t>(table[static_cast<std::size_t>(current)].setIndex) &
           kSetIndexMask;
  }
};

}  // namespace

void resetModelCounts(ModelStore& store) {
  zeroCounts(store);
  // Zero counts with filled arrays would let code that trusts the arrays'
  // sizes see a model that no longer exists.
  releaseArrays(store);
}

bool allocateModel(ModelStore& store) {
  releaseArrays(store);
  try {
    sizeArray(store.vertices, store.numVerts);
    sizeArray(store.baseVertices, store.numVerts);
    sizeArray(store.texVertices, store.numTVerts);
    sizeArray(store.normals, store.numVNormals);
    sizeArray(store.groups, static_cast<long long>(store.numGroupStatements) + 1);
    sizeArray(store.facetStream, store.numCornerRecords);
    sizeArray(store.materials, static_cast<long long>(store.numMaterialStatements) + 1);
    sizeArray(store.shapeLines, store.numShapeLines);
    sizeArray(store.regions, static_cast<long long>(store.numRegionStatements) + 1);
  } catch (const std::bad_alloc&) {
    releaseModel(store);
    return false;
  } catch (const std::length_error&) {
    releaseModel(store);
    return false;
  }
  return true;
}

void releaseModel(ModelStore& store) {
  releaseArrays(store);
  zeroCounts(store);
  store.modelLoaded = kModelNone;
  store.texVerticesExpanded = 0;
}

void assignSetIndices(ModelStore& store) {
  SetTableCursor groups{store.groups, store.numGroups, store.numGroupStatements};
  SetTableCursor materials{store.materials, store.numMaterials, store.numMaterialStatements};
  SetTableCursor regions{store.regions, store.numRegions, store.numRegionStatements};
  const std::size_t length = streamLength(store);
  CornerRecord* records = store.facetStream.data();
  // The set indices change only at separators, so the corners between two
  // separators all take the same three values.
  std::uint16_t group = groups.setIndex();
  std::uint16_t material = materials.setIndex();
  std::uint16_t region = regions.setIndex();
  int facetNumber = 0;
  for (std::size_t j = 0; j < length; ++j) {
    CornerRecord& record = records[j];
    if (record.vertex < 0) break;
    if (record.vertex == kSeparator) {
      record.flags = 0;
      ++facetNumber;
      groups.enterFacet(facetNumber);
      materials.enterFacet(facetNumber);
      regions.enterFacet(facetNumber);
      group = groups.setIndex();
      material = materials.setIndex();
      region = regions.setIndex();
      continue;
    }
    record.group = group;
    record.material = material;
    record.region = region;
    record.flags = 0;
  }
}

void expandTextureVertices(ModelStore& store, bool force) {
  if (store.texVerticesExpanded == 1 && !force) return;
  const std::size_t length = streamLength(store);
  const TexVertex filler = fillerTexVertex(store);
  std::vector<TexVertex> expanded;
  try {
    expanded.reserve(length);
  } catch (const std::bad_alloc&) {
    return;
  }
  adviseHugePages(expanded.data(), length * sizeof(TexVertex));
  const TexVertex* texVertices = store.texVertices.data();
  const std::size_t texVertexTotal = texVertexCount(store);
  CornerRecord* records = store.facetStream.data();
  for (std::size_t j = 0; j < length; ++j) {
    CornerRecord& record = records[j];
    // 0 and negative indices wrap beyond every count, so a corner without a
    // texture vertex, or with one outside the array, takes the filler.
    const std::size_t index = static_cast<std::uint32_t>(record.texVertex) - std::size_t{1};
    const bool owned = record.vertex >= 1 && index < texVertexTotal;
    const TexVertex& source = owned ? texVertices[index] : filler;
    expanded.push_back(TexVertex{source.u, source.v, 0});
    record.texVertex = static_cast<std::int32_t>(j + 1);
  }
  store.texVertices = std::move(expanded);
  store.numTVerts = static_cast<int>(length);
  store.numCornerRecords = static_cast<int>(length);
  store.texVerticesExpanded = 1;
}

void compressTextureVertices(ModelStore& store) {
  if (store.texVerticesExpanded != 1) expandTextureVertices(store, false);
  if (store.numCornerRecords != store.numTVerts) return;

  // Each distinct (u, v) bit pattern is numbered at its earliest corner in
  // stream order. The numbers are gathered in working memory first, so a
  // failed allocation leaves the store as it was.
  const std::size_t corners = recordsBeforeEnd(store);
  std::vector<std::int32_t> numbers;
  std::vector<TexVertex> compact;
  try {
    numberDistinctUvs(store, corners, numbers, compact);
  } catch (const std::bad_alloc&) {
    return;
  }

  const std::size_t length = streamLength(store);
  forEachRange(length, kStreamRangeRecords, [&](std::size_t begin, std::size_t end) {
    for (std::size_t j = begin; j < end; ++j) {
      store.facetStream[j].texVertex = j < corners ? numbers[j] : 0;
    }
  });
  if (compact.size() == 1 && compact[0].u == kNoUvU && compact[0].v == kNoUvV) {
    for (std::size_t j = 0; j < length; ++j) store.facetStream[j].texVertex = 0;
    freeArray(compact);
  }
  store.texVertices = std::move(compact);
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.texVerticesExpanded = 0;
}

void separateTextureVertices(ModelStore& store) {
  const TexVertex filler = fillerTexVertex(store);
  const std::size_t corners = recordsBeforeEnd(store);
  std::vector<TexVertex> separate;
  try {
    std::size_t cornerCount = 0;
    for (std::size_t j = 0; j < corners; ++j) cornerCount += store.facetStream[j].vertex >= 1;
    separate.reserve(cornerCount);
  } catch (const std::bad_alloc&) {
    return;
  }
  const std::size_t length = streamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    CornerRecord& record = store.facetStream[j];
    if (j >= corners || record.vertex < 1) {
      record.texVertex = 0;
      continue;
    }
    const TexVertex* source = texVertexOf(store, record);
    separate.push_back({source ? source->u : filler.u, source ? source->v : filler.v, 0});
    record.texVertex = static_cast<std::int32_t>(separate.size());
  }
  store.texVertices = std::move(separate);
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.texVerticesExpanded = 0;
}

void normalizeToUnitSquare(ModelStore& store, float shrink, bool selectionActive) {
  expandTextureVertices(store, false);
  const std::size_t corners = recordsBeforeEnd(store);
  auto participates = [&](const CornerRecord& record) {
    return record.vertex > 0 && (!selectionActive || (record.group & kSelectedBit) != 0) &&
           texVertexOf(store, record) != nullptr;
  };

  float umin = 100000.0f, umax = -100000.0f, vmin = 100000.0f, vmax = -100000.0f;
  for (std::size_t j = 0; j < corners; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (!participates(record)) continue;
    const TexVertex& t = *texVertexOf(store, record);
    umin = std::min(umin, t.u);
    umax = std::max(umax, t.u);
    vmin = std::min(vmin, t.v);
    vmax = std::max(vmax, t.v);
  }

  // An axis on which every participating corner has the same value has no
  // range to stretch: its coordinate goes to the middle of the square.
  const bool uFlat = !(umax - umin > 0.0f);
  const bool vFlat = !(vmax - vmin > 0.0f);
  const float su = uFlat ? 0.0f : 1.0f / (umax - umin);
  const float sv = vFlat ? 0.0f : 1.0f / (vmax - vmin);
  for (std::size_t j = 0; j < corners; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (!participates(record)) continue;
    TexVertex& t = store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
    t.u = uFlat ? 0.5f : (t.u - umin) * su;
    t.v = vFlat ? 0.5f : (t.v - vmin) * sv;
    if (shrink != 0.0f) {
      t.u = shrink * 0.5f + (1.0f - shrink) * t.u;
      t.v = shrink * 0.5f + (1.0f - shrink) * t.v;
    }
  }
}

namespace {
bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

std::size_t lastSeparator(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (isSeparator(path[i - 1])) return i - 1;
  }
  return std::string::npos;
}
}  // namespace

std::string pathWithoutExtension(const std::string& path) {
  const std::size_t separator = lastSeparator(path);
  const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return path;
  return path.substr(0, dot);
}

std::string directoryOf(const std::string& path) {
  const std::size_t separator = lastSeparator(path);
  if (separator == std::string::npos) return std::string();
  // A file in the root folder keeps the root itself, not an empty folder.
  if (separator == 0) return path.substr(0, 1);
  return path.substr(0, separator);
}

}  // namespace corvina
