#pragma once
// The corners of every vertex, in stream order, as slices of one array: a
// counting sort of the corner records by vertex index, O(records + vertices).

#include <cstdint>
#include <vector>

#include "model/model_store.h"
#include "tools/stream_walk.h"

namespace corvina {

struct CornersByVertex {
  std::vector<std::int32_t> firstCorner;  // vertexCount + 1 slice starts
  std::vector<std::int32_t> cornerAt;     // record positions

  // Vertex v (1-based) owns cornerAt[firstCorner[v - 1] .. firstCorner[v]).
  std::size_t count(std::size_t v) const {
    return static_cast<std::size_t>(firstCorner[v] - firstCorner[v - 1]);
  }
  const std::int32_t* begin(std::size_t v) const { return cornerAt.data() + firstCorner[v - 1]; }
  const std::int32_t* end(std::size_t v) const { return cornerAt.data() + firstCorner[v]; }
};

// Lists the corners whose vertex index names one of the first vertexCount
// vertices and for which `take` holds, up to the end-of-list record. Throws
// std::bad_alloc when the lists cannot be had.
template <typename Take>
CornersByVertex listCornersByVertex(const ModelStore& store, std::size_t vertexCount,
                                    std::size_t length, Take take) {
  CornersByVertex lists;
  lists.firstCorner.assign(vertexCount + 1, 0);
  std::size_t corners = 0;
  for (std::size_t at = 0; at < length && store.facetStream[at].vertex >= 0; ++at) {
    const CornerRecord& corner = store.facetStream[at];
    if (!namesEntry(corner.vertex, vertexCount) || !take(corner)) continue;
    ++lists.firstCorner[static_cast<std::size_t>(corner.vertex)];
    ++corners;
  }
  for (std::size_t v = 1; v <= vertexCount; ++v) lists.firstCorner[v] += lists.firstCorner[v - 1];
  lists.cornerAt.resize(corners);
  std::vector<std::int32_t> next(lists.firstCorner.begin(), lists.firstCorner.end() - 1);
  for (std::size_t at = 0; at < length && store.facetStream[at].vertex >= 0; ++at) {
    const CornerRecord& corner = store.facetStream[at];
    if (!namesEntry(corner.vertex, vertexCount) || !take(corner)) continue;
    lists.cornerAt[static_cast<std::size_t>(next[static_cast<std::size_t>(corner.vertex) - 1]++)] =
        static_cast<std::int32_t>(at);
  }
  return lists;
}

}  // namespace corvina
