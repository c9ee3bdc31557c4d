#pragma once
// How mappers, tools, reports and renderers walk the model: the records an
// array really holds, a checked 1-based index, the corners of the facet stream
// up to its end-of-list record, and which corners take part in a command.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/model_store.h"

namespace corvina {

// How many of an array's elements a count stands for: never more than the
// array holds, none for a count of 0 or below.
template <typename T>
std::size_t presentCount(int count, const std::vector<T>& array) {
  return count <= 0 ? 0 : std::min(static_cast<std::size_t>(count), array.size());
}

// Whether a 1-based index names an element present under `count` in an array
// of `arraySize` elements.
inline bool validIndex(std::int32_t index, int count, std::size_t arraySize) {
  return index >= 1 && count > 0 && static_cast<std::size_t>(index) <= arraySize && index <= count;
}

// The facet-stream records the arrays really back.
inline std::size_t streamLength(const ModelStore& store) {
  return presentCount(store.numCornerRecords, store.facetStream);
}

// The texture vertex a corner refers to, or null when its index is 0 or
// outside the array.
inline const TexVertex* texVertexOf(const ModelStore& store, const CornerRecord& corner) {
  if (!validIndex(corner.texVertex, store.numTVerts, store.texVertices.size())) return nullptr;
  return &store.texVertices[static_cast<std::size_t>(corner.texVertex) - 1];
}
inline TexVertex* texVertexOf(ModelStore& store, const CornerRecord& corner) {
  if (!validIndex(corner.texVertex, store.numTVerts, store.texVertices.size())) return nullptr;
  return &store.texVertices[static_cast<std::size_t>(corner.texVertex) - 1];
}

inline bool isNoUvMarker(const TexVertex& t) {
  return t.u == kNoUvU && t.v == kNoUvV;
}

inline bool isCornerSelected(const CornerRecord& corner) {
  return (corner.group & kSelectedBit) != 0;
}

// A corner (vertex index above 0) that is selected, or any corner while no
// selection is active.
inline bool isParticipating(const CornerRecord& corner, bool selectionActive) {
  return corner.vertex > 0 && (!selectionActive || isCornerSelected(corner));
}

// Calls visit(corner) for every corner record (not separators) in stream
// order, up to the end-of-list record; visit returns false to stop early.
template <typename Record, typename Visit>
void forEachCornerOf(Record* stream, std::size_t length, Visit&& visit) {
  for (std::size_t j = 0; j < length; ++j) {
    if (stream[j].vertex < 0) return;  // end of list
    if (stream[j].vertex == kSeparator) continue;
    if (!visit(stream[j])) return;
  }
}

template <typename Visit>
void forEachCorner(const ModelStore& store, Visit&& visit) {
  forEachCornerOf(store.facetStream.data(), streamLength(store), visit);
}

// Calls visit(first, end) for every facet: the indices of its first corner
// record and of the record after its last corner, up to the end-of-list
// record. A facet may have no corners (first == end).
template <typename Visit>
void forEachFacetSpan(const ModelStore& store, Visit&& visit) {
  const std::size_t length = streamLength(store);
  std::size_t j = 0;
  while (j < length && store.facetStream[j].vertex != kSeparator) {
    if (store.facetStream[j].vertex < 0) return;
    ++j;  // corners before the first separator belong to no facet
  }
  while (j < length && store.facetStream[j].vertex == kSeparator) {
    std::size_t first = ++j;
    while (j < length && store.facetStream[j].vertex > 0) ++j;
    visit(first, j);
  }
}

}  // namespace corvina
