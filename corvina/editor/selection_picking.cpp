#include "editor/selection_picking.h"

#include <algorithm>
#include <cstddef>

namespace corvina {

namespace {

void setSelected(CornerRecord& record, bool selected) {
  if (selected) {
    record.group |= kSelectedBit;
  } else {
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  }
}

}  // namespace

bool pickCornersInside(ModelStore& store, const FrameRect& band, SelectMethod method) {
  const std::size_t vertexCount =
      store.numVerts > 0 ? std::min(store.vertices.size(), static_cast<std::size_t>(store.numVerts))
                         : 0;
  for (std::size_t i = 0; i < vertexCount; ++i) store.vertices[i].mark = 0;
  const std::size_t texCount =
      store.numTVerts > 0
          ? std::min(store.texVertices.size(), static_cast<std::size_t>(store.numTVerts))
          : 0;
  const std::size_t length =
      store.numCornerRecords > 0
          ? std::min(store.facetStream.size(), static_cast<std::size_t>(store.numCornerRecords))
          : 0;

  std::size_t facetFirst = 0;  // the first corner of the facet being walked
  std::size_t j = 0;
  while (j < length) {
    CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
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
        store.vertices[static_cast<std::size_t>(record.vertex) - 1].mark = 1;
      }
      ++j;
      continue;
    }
    // By facet: the whole facet, from its first corner to its last; the walk
    // goes on after it.
    std::size_t c = facetFirst;
    while (c < length && store.facetStream[c].vertex > 0) setSelected(store.facetStream[c++], true);
    j = std::max(c, j + 1);
  }

  for (std::size_t r = 0; r < length; ++r) {
    const CornerRecord& record = store.facetStream[r];
    if (record.vertex < 0) break;
    if (record.vertex > 0 && (record.group & kSelectedBit) != 0) return true;
  }
  return false;
}

}  // namespace corvina
