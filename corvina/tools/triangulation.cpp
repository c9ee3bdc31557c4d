#include "tools/triangulation.h"

#include <climits>
#include <new>

#include "tools/stream_walk.h"

namespace corvina {

TriangulationCount countTriangulation(const ModelStore& store) {
  TriangulationCount count;
  const std::size_t length = streamLength(store);
  int corners = 0;
  for (std::size_t at = 0; at <= length; ++at) {
    const bool corner = at < length && store.facetStream[at].vertex > 0;
    if (corner) {
      ++corners;
      continue;
    }
    if (corners > 3) {
      ++count.facetsOverThree;
      count.extraTriangles += corners - 3;
    }
    corners = 0;
    if (at < length && store.facetStream[at].vertex < 0) break;
  }
  return count;
}

TriangulateOutcome triangulate(ModelStore& store) {
  const TriangulationCount count = countTriangulation(store);
  if (count.facetsOverThree == 0) return TriangulateOutcome::AlreadyTriangulated;
  const std::size_t length = streamLength(store);
  const long long newLength = static_cast<long long>(length) + 3 * count.extraTriangles;
  if (newLength > INT_MAX || store.numFacets + count.extraTriangles > INT_MAX) {
    return TriangulateOutcome::InsufficientMemory;
  }

  std::vector<CornerRecord> stream;
  try {
    stream.reserve(static_cast<std::size_t>(newLength));
  } catch (const std::bad_alloc&) {
    return TriangulateOutcome::InsufficientMemory;
  }
  const CornerRecord separator = store.facetStream[0];
  CornerRecord centre, previous;
  int corners = 0;
  for (std::size_t at = 0; at < length; ++at) {
    const CornerRecord& record = store.facetStream[at];
    if (record.vertex <= 0) {
      corners = 0;
      stream.push_back(record);
      if (record.vertex < 0) break;
      continue;
    }
    ++corners;
    if (corners == 1) centre = record;
    if (corners >= 4) {
      stream.push_back(separator);
      stream.push_back(centre);
      stream.push_back(previous);
    }
    stream.push_back(record);
    previous = record;
  }

  store.facetStream = std::move(stream);
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  store.numFacets += static_cast<int>(count.extraTriangles);
  expandTextureVertices(store, true);
  return TriangulateOutcome::Done;
}

}  // namespace corvina
