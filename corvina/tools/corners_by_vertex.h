#pragma once
// The corners of every vertex, in stream order, as slices of one array: a
// counting sort of the corner records by vertex index, O(records + vertices),
// on every core.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/large_array.h"
#include "model/model_store.h"
#include "model/parallel_parts.h"
#include "model/stream_ranges.h"
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
// vertices and for which `take` holds, up to the end-of-list record. On
// several threads each range of records is counted apart, and each range's
// corners of a vertex go after those of the ranges before it, so the lists
// are the same. Throws std::bad_alloc when the lists cannot be had.
template <typename Take>
CornersByVertex listCornersByVertex(const ModelStore& store, std::size_t vertexCount,
                                    std::size_t length, Take take) {
  const CornerRecord* records = store.facetStream.data();
  const std::size_t end = streamListEnd(records, std::min(length, store.facetStream.size()));
  const std::vector<PartRange> ranges =
      splitRange(end, parallelMinimum(kStreamRangeRecords), parallelThreads());
  auto listed = [&](const CornerRecord& corner) {
    return namesEntry(corner.vertex, vertexCount) && take(corner);
  };
  // Per range, the corners of each vertex: first their numbers, then where
  // the range's next corner of each vertex goes.
  std::vector<std::vector<std::int32_t>> next(ranges.size());
  for (std::vector<std::int32_t>& counts : next) counts.assign(vertexCount, 0);
  runParts(ranges.size(), [&](std::size_t k) {
    std::int32_t* counts = next[k].data();
    for (std::size_t at = ranges[k].begin; at < ranges[k].end; ++at) {
      const CornerRecord& corner = records[at];
      if (listed(corner)) ++counts[static_cast<std::size_t>(corner.vertex) - 1];
    }
  });
  CornersByVertex lists;
  lists.firstCorner.assign(vertexCount + 1, 0);
  for (std::size_t v = 0; v < vertexCount; ++v) {
    std::int32_t position = lists.firstCorner[v];
    for (std::vector<std::int32_t>& counts : next) {
      const std::int32_t count = counts[v];
      counts[v] = position;
      position += count;
    }
    lists.firstCorner[v + 1] = position;
  }
  sizeLargeArray(lists.cornerAt, static_cast<std::size_t>(lists.firstCorner[vertexCount]));
  runParts(ranges.size(), [&](std::size_t k) {
    std::int32_t* positions = next[k].data();
    for (std::size_t at = ranges[k].begin; at < ranges[k].end; ++at) {
      const CornerRecord& corner = records[at];
      if (!listed(corner)) continue;
      lists.cornerAt[static_cast<std::size_t>(
          positions[static_cast<std::size_t>(corner.vertex) - 1]++)] =
          static_cast<std::int32_t>(at);
    }
  });
  return lists;
}

}  // namespace corvina
