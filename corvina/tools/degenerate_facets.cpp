#include "tools/degenerate_facets.h"

#include <cstring>
#include <new>

#include "tools/stream_walk.h"

namespace corvina {

namespace {

// Bit-for-bit comparison of two corners' positions; a vertex index outside the
// array matches nothing but itself.
bool samePosition(const ModelStore& store, std::int32_t a, std::int32_t b) {
  if (a == b) return true;
  const std::size_t count = backedCount(store.numVerts, store.vertices);
  if (!namesEntry(a, count) || !namesEntry(b, count)) return false;
  const Vertex& p = store.vertices[static_cast<std::size_t>(a) - 1];
  const Vertex& q = store.vertices[static_cast<std::size_t>(b) - 1];
  return std::memcmp(&p.x, &q.x, sizeof(float)) == 0 &&
         std::memcmp(&p.y, &q.y, sizeof(float)) == 0 && std::memcmp(&p.z, &q.z, sizeof(float)) == 0;
}

// Calls visit(first, end, degenerate) for the corners [first, end) of every
// facet of the stream.
template <typename Visit>
void forEachFacet(const ModelStore& store, Visit visit) {
  const std::size_t length = streamLength(store);
  std::size_t at = 0;
  while (at < length && store.facetStream[at].vertex >= 0) {
    if (store.facetStream[at].vertex == kSeparator) {
      ++at;
      continue;
    }
    const std::size_t first = at;
    bool degenerate = false;
    for (++at; at < length && store.facetStream[at].vertex > 0; ++at) {
      if (!degenerate) {
        degenerate =
            samePosition(store, store.facetStream[first].vertex, store.facetStream[at].vertex);
      }
    }
    visit(first, at, degenerate);
  }
}

}  // namespace

int countDegenerateFacets(const ModelStore& store) {
  int count = 0;
  forEachFacet(store, [&](std::size_t, std::size_t, bool degenerate) { count += degenerate; });
  return count;
}

void selectDegenerateFacets(ModelStore& store) {
  for (CornerRecord& record : store.facetStream) {
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  }
  forEachFacet(store, [&](std::size_t first, std::size_t end, bool degenerate) {
    if (!degenerate) return;
    for (std::size_t at = first; at < end; ++at) store.facetStream[at].group |= kSelectedBit;
  });
}

bool removeSelectedFacets(ModelStore& store) {
  const std::size_t length = streamLength(store);
  std::vector<CornerRecord> stream;
  try {
    stream.reserve(length + 2);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // A separator is held back until a kept corner shows that its facet stays.
  CornerRecord heldSeparator{};
  bool holding = false;
  int keptFacets = 0;
  for (std::size_t at = 0; at < length && store.facetStream[at].vertex >= 0; ++at) {
    const CornerRecord& record = store.facetStream[at];
    if (record.vertex == kSeparator) {
      heldSeparator = record;
      heldSeparator.group &= static_cast<std::uint16_t>(~kSelectedBit);
      holding = true;
      continue;
    }
    if (record.group & kSelectedBit) continue;
    if (holding) {
      stream.push_back(heldSeparator);
      ++keptFacets;
      holding = false;
    }
    stream.push_back(record);
  }
  // Record 0 stays a separator even when no facet is left.
  if (stream.empty()) stream.push_back(CornerRecord{});
  CornerRecord endOfList{};
  endOfList.vertex = kEndOfList;
  stream.push_back(endOfList);

  store.facetStream = std::move(stream);
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  store.numFacets = keptFacets;
  expandTextureVertices(store, true);
  return true;
}

}  // namespace corvina
