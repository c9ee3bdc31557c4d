#include "tools/seam_normals.h"

#include <new>

#include "tools/normal_math.h"
#include "tools/position_order.h"

namespace corvina {

int fixSeamsProgressSteps(const ModelStore& store) {
  return store.numCornerRecords / 256;
}

NormalToolOutcome fixSeams(ModelStore& store, const ProgressStep& step) {
  if (!store.modelLoaded) return NormalToolOutcome::NoModel;
  if (store.numVNormals <= 0) return NormalToolOutcome::NoNormals;
  const std::size_t length = streamLength(store);
  const std::size_t vertexCount = backedCount(store.numVerts, store.vertices);
  const std::size_t normalCount = backedCount(store.numVNormals, store.normals);

  std::vector<KeyedItem> corners;
  try {
    corners.reserve(length);
  } catch (const std::bad_alloc&) {
    return NormalToolOutcome::InsufficientMemory;
  }
  for (std::size_t at = 0; at < length; ++at) {
    const CornerRecord& record = store.facetStream[at];
    if (record.vertex < 0) break;
    if (step && at % 256 == 255) step();
    if (!namesEntry(record.vertex, vertexCount) || !namesEntry(record.normal, normalCount)) {
      continue;
    }
    corners.push_back({positionKey(store.vertices[static_cast<std::size_t>(record.vertex) - 1]),
                       static_cast<std::int32_t>(at)});
  }
  sortByPosition(corners);

  auto normalOf = [&](const KeyedItem& entry) -> Normal& {
    return store.normals[static_cast<std::size_t>(store.facetStream[entry.item].normal) - 1];
  };
  std::size_t runStart = 0;
  std::size_t i = 1;
  while (i < corners.size()) {
    if (!(corners[i].key == corners[i - 1].key)) {
      runStart = i++;
      continue;
    }
    if (sameBits(normalOf(corners[i]), normalOf(corners[i - 1]))) {
      ++i;
      continue;
    }
    const Normal mean = normalisedMean(normalOf(corners[i - 1]), normalOf(corners[i]));
    std::size_t runEnd = i;
    while (runEnd + 1 < corners.size() && corners[runEnd + 1].key == corners[runStart].key) {
      ++runEnd;
    }
    for (std::size_t k = runStart; k <= runEnd; ++k) normalOf(corners[k]) = mean;
    runStart = runEnd + 1;
    i = runEnd + 2;
  }
  return NormalToolOutcome::Done;
}

}  // namespace corvina
