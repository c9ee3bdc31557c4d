#include "editor/selection_picking.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <vector>

#include "model/model_walk.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

void setSelected(CornerRecord& record, bool selected) {
  if (selected) {
    record.group |= kSelectedBit;
  } else {
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  }
}

// Picks in records [begin, end), which begins at 0 or at a separator, and
// tells whether a corner there is selected afterwards.
bool pickRange(ModelStore& store, const FrameRect& band, SelectMethod method, std::size_t begin,
               std::size_t end, std::size_t texCount, std::size_t vertexCount) {
  std::size_t facetFirst = begin;  // the first corner of the facet being walked
  std::size_t j = begin;
  while (j < end) {
    CornerRecord& record = store.facetStream[j];
    if (record.vertex == kSeparator) {
      facetFirst = ++j;
      continue;
    }
    const bool visible = (record.flags & kHiddenBit) == 0;
    if (!visible || record.texVertex < 1 || static_cast<std::size_t>(record.texVertex) > texCount) {
      ++j;
      continue;
    }
    const TexVertex& uv = store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
    const float x = uv.u;
    const float y = 1.0f - uv.v;
    if (x < band.left || x > band.right || y < band.top || y > band.bottom) {
      setSelected(record, false);
      ++j;
      continue;
    }
    if (method == SelectMethod::ByVertex) {
      setSelected(record, true);
      if (record.vertex >= 1 && static_cast<std::size_t>(record.vertex) <= vertexCount) {
        // Corners in other ranges may share the vertex: every writer stores
        // the same 1.
        std::atomic_ref<std::uint8_t>(
            store.vertices[static_cast<std::size_t>(record.vertex) - 1].mark)
            .store(1, std::memory_order_relaxed);
      }
      ++j;
      continue;
    }
    // By facet: the whole facet, from its first corner to its last; the walk
    // goes on after it.
    std::size_t c = facetFirst;
    while (c < end && store.facetStream[c].vertex > 0) setSelected(store.facetStream[c++], true);
    j = std::max(c, j + 1);
  }
  for (std::size_t r = begin; r < end; ++r) {
    const CornerRecord& record = store.facetStream[r];
    if (record.vertex > 0 && (record.group & kSelectedBit) != 0) return true;
  }
  return false;
}

}  // namespace

bool pickCornersInside(ModelStore& store, const FrameRect& band, SelectMethod method) {
  const std::size_t vertexCount = presentCount(store.numVerts, store.vertices);
  forEachRange(vertexCount, kStreamRangeRecords, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) store.vertices[i].mark = 0;
  });
  const std::size_t texCount = presentCount(store.numTVerts, store.texVertices);
  const std::size_t length = streamLength(store);
  // The walk stops at the end-of-list record; the ranges before it are
  // picked on every core, each beginning at a separator.
  const std::size_t end = streamListEnd(store.facetStream.data(), length);
  const std::vector<char> selected = mapEachRange<char>(
      facetRangesForThreads(store.facetStream.data(), end),
      [&](std::size_t begin, std::size_t rangeEnd) -> char {
        return pickRange(store, band, method, begin, rangeEnd, texCount, vertexCount) ? 1 : 0;
      });
  return std::find(selected.begin(), selected.end(), 1) != selected.end();
}

}  // namespace corvina
