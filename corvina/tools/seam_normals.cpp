#include "tools/seam_normals.h"

#include <algorithm>
#include <new>

#include "tools/corners_by_vertex.h"
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

  // Sorting the vertices rather than the corners gives the same order of
  // corners: the corners of one position are the corners of the vertices at
  // that position, put back into stream order below.
  std::vector<KeyedItem> order;
  CornersByVertex lists;
  std::vector<std::int32_t> run;
  try {
    order.reserve(vertexCount);
    lists = listCornersByVertex(store, vertexCount, length, [&](const CornerRecord& corner) {
      return namesEntry(corner.normal, normalCount);
    });
  } catch (const std::bad_alloc&) {
    return NormalToolOutcome::InsufficientMemory;
  }
  for (std::size_t v = 1; v <= vertexCount; ++v) {
    if (lists.count(v) > 0) {
      order.push_back({positionKey(store.vertices[v - 1]), static_cast<std::int32_t>(v)});
    }
  }
  sortByPosition(order);

  auto normalOf = [&](std::int32_t record) -> Normal& {
    return store.normals[static_cast<std::size_t>(store.facetStream[record].normal) - 1];
  };
  std::size_t stepped = 0, nextStep = 256;
  for (std::size_t first = 0; first < order.size();) {
    std::size_t last = first + 1;
    while (last < order.size() && order[last].key == order[first].key) ++last;
    // The corners at this position, in stream order.
    run.clear();
    for (std::size_t k = first; k < last; ++k) {
      const auto v = static_cast<std::size_t>(order[k].item);
      run.insert(run.end(), lists.begin(v), lists.end(v));
    }
    if (last - first > 1) std::sort(run.begin(), run.end());
    // The first neighbours whose normals differ decide the whole run.
    for (std::size_t k = 1; k < run.size(); ++k) {
      if (sameBits(normalOf(run[k]), normalOf(run[k - 1]))) continue;
      const Normal mean = normalisedMean(normalOf(run[k - 1]), normalOf(run[k]));
      for (std::int32_t record : run) normalOf(record) = mean;
      break;
    }
    stepped += run.size();
    while (step && stepped >= nextStep) {
      step();
      nextStep += 256;
    }
    first = last;
  }
  return NormalToolOutcome::Done;
}

}  // namespace corvina
