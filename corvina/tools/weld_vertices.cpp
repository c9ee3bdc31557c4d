#include "tools/weld_vertices.h"

#include <new>

#include "tools/corners_by_vertex.h"
#include "tools/normal_math.h"
#include "tools/position_order.h"

namespace corvina {

int weldProgressSteps(const ModelStore& store) {
  return static_cast<int>((static_cast<long long>(store.numCornerRecords) + 2LL * store.numVerts) /
                          256);
}

NormalToolOutcome weldVertices(ModelStore& store, const ProgressStep& step) {
  if (!store.modelLoaded) return NormalToolOutcome::NoModel;
  if (store.numVNormals <= 0) return NormalToolOutcome::NoNormals;
  const std::size_t length = streamLength(store);
  const std::size_t vertexCount = backedCount(store.numVerts, store.vertices);
  const std::size_t normalCount = backedCount(store.numVNormals, store.normals);

  std::vector<KeyedItem> order;
  CornersByVertex lists;
  try {
    order.reserve(vertexCount);
    lists =
        listCornersByVertex(store, vertexCount, length, [](const CornerRecord&) { return true; });
  } catch (const std::bad_alloc&) {
    return NormalToolOutcome::InsufficientMemory;
  }
  for (std::size_t v = 1; v <= vertexCount; ++v) {
    order.push_back({positionKey(store.vertices[v - 1]), static_cast<std::int32_t>(v)});
    if (step && v % 128 == 0) step();  // vertices count twice in the range
  }
  sortByPosition(order);

  auto writeNormal = [&](CornerRecord& corner, const Normal& n) {
    if (namesEntry(corner.normal, normalCount)) {
      store.normals[static_cast<std::size_t>(corner.normal) - 1] = n;
    }
  };
  // Whether the previous pair moved every corner of its `o` away, which is the
  // `m` of the current pair: that vertex then has no corners left on it.
  bool previousMerged = false;
  for (std::size_t k = 1; k < order.size(); ++k) {
    const bool same = order[k].key == order[k - 1].key;
    const bool mEmptied = previousMerged;
    previousMerged = same;
    if (!same) continue;
    const auto m = static_cast<std::size_t>(order[k - 1].item);
    const auto o = static_cast<std::size_t>(order[k].item);
    const bool haveNormals = m <= normalCount && o <= normalCount;
    const Normal n =
        haveNormals ? normalisedMean(store.normals[m - 1], store.normals[o - 1]) : Normal{};
    const std::int32_t* mCorners = lists.begin(m);
    const std::int32_t* oCorners = lists.begin(o);
    const bool overflow =
        lists.count(m) > kWeldListedCorners || lists.count(o) > kWeldListedCorners;
    if (!overflow || !mEmptied) {
      // Listed corners of m: all of them here, whether or not they have since
      // moved to the vertex before m. On the long path only those still on m.
      for (std::size_t c = 0; c < lists.count(m); ++c) {
        if (haveNormals) writeNormal(store.facetStream[static_cast<std::size_t>(mCorners[c])], n);
      }
    }
    for (std::size_t c = 0; c < lists.count(o); ++c) {
      CornerRecord& corner = store.facetStream[static_cast<std::size_t>(oCorners[c])];
      if (haveNormals) writeNormal(corner, n);
      if (!overflow && corner.normal == corner.vertex && m <= normalCount) {
        corner.normal = static_cast<std::int32_t>(m);
      }
      corner.vertex = static_cast<std::int32_t>(m);
    }
  }
  return NormalToolOutcome::Done;
}

}  // namespace corvina
