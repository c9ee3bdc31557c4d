#include "tools/selection_blocks.h"

#include <algorithm>

namespace corvina {

SelectionBlocks::Shape SelectionBlocks::shapeOf(const ModelStore& store) {
  return Shape{store.facetStream.data(), store.texVertices.data(), store.vertices.data(),
               store.facetStream.size(), store.texVertices.size(), store.vertices.size(),
               store.numCornerRecords,   store.numTVerts,          store.numVerts};
}

bool SelectionBlocks::known(const ModelStore& store) const {
  return known_ && shape_ == shapeOf(store);
}

void SelectionBlocks::cut(const ModelStore& store, std::size_t length) {
  known_ = false;
  blocks_.clear();
  const CornerRecord* records = store.facetStream.data();
  std::size_t begin = 0;
  while (begin < length) {
    std::size_t end = std::min(length, begin + blockRecords_);
    while (end < length && records[end].vertex != kSeparator) ++end;
    blocks_.push_back(SelectionBlock{begin, end});
    begin = end;
  }
}

void SelectionBlocks::keep(const ModelStore& store, std::size_t listEnd, bool ownCorners) {
  while (!blocks_.empty() && blocks_.back().begin >= listEnd) blocks_.pop_back();
  if (!blocks_.empty()) blocks_.back().end = std::min(blocks_.back().end, listEnd);
  listEnd_ = listEnd;
  ownCorners_ = ownCorners;
  shape_ = shapeOf(store);
  known_ = true;
}

void noteRun(const ModelStore& store, SelectionBlock& block) {
  const std::size_t texCount = presentCount(store.numTVerts, store.texVertices);
  block.clear();
  for (std::size_t j = block.begin; j < block.end; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex > 0) {
      block.note(record, seenCoordinates(store, record, texCount));
    } else if (record.vertex == kSeparator) {
      block.selectedSeparator = block.selectedSeparator || (record.group & kSelectedBit) != 0;
    }
  }
}

}  // namespace corvina
