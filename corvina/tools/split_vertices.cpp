#include "tools/split_vertices.h"

#include <new>

#include "tools/stream_walk.h"

namespace corvina {

bool splitVertices(ModelStore& store) {
  const std::size_t length = streamLength(store);
  const std::size_t baseCount = backedCount(store.numVerts, store.baseVertices);
  std::vector<Vertex> working, unrotated;
  try {
    working.reserve(length);
    unrotated.reserve(length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (std::size_t at = 0; at < length; ++at) {
    CornerRecord& record = store.facetStream[at];
    if (record.vertex < 0) break;
    if (record.vertex == kSeparator) continue;
    Vertex position;
    if (namesEntry(record.vertex, baseCount)) {
      const Vertex& base = store.baseVertices[static_cast<std::size_t>(record.vertex) - 1];
      position = Vertex{base.x, base.y, base.z, 0};
    }
    working.push_back(position);
    record.vertex = static_cast<std::int32_t>(working.size());
  }
  unrotated = working;
  store.vertices = std::move(working);
  store.baseVertices = std::move(unrotated);
  store.numVerts = static_cast<int>(store.vertices.size());
  return true;
}

}  // namespace corvina
