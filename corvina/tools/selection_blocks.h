#pragma once
// Notes on runs of the facet stream, kept between the selection editor's own
// edits, so that a rubber band's pick, a commit, Esc or a hide key walks only
// the runs it can change instead of the whole stream: a pick changes nothing
// in a run with no selected record whose corners all lie outside the band,
// and the others change nothing in a run with no selected record. On a model
// of millions of corners with a tenth selected that is a tenth of the
// stream's memory.
//
// The notes describe the store as the walk that wrote them left it. Whoever
// changes the store by other means (a command, undo, a load) must call
// forget(); as a guard the notes also lapse when the store's arrays moved or
// changed length.

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "model/model_store.h"
#include "model/model_walk.h"
#include "model/parallel_parts.h"
#include "model/stream_ranges.h"
#include "tools/selection_state.h"

namespace corvina {

// The texture coordinate of a corner a band sees (visible, with a texture
// index inside the array's first `texCount`), else null.
inline const TexVertex* seenCoordinates(const ModelStore& store, const CornerRecord& record,
                                        std::size_t texCount) {
  if ((record.flags & kHiddenBit) != 0 || record.texVertex < 1 ||
      static_cast<std::size_t>(record.texVertex) > texCount)
    return nullptr;
  return &store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
}

// A run of whole facets, [begin, end) of the stream, beginning at 0 or at a
// separator, and what its corner records hold.
struct SelectionBlock {
  std::size_t begin = 0, end = 0;
  // The box of the corners a band sees, in view coordinates (x = u,
  // y = 1 - v); empty (left > right) when there are none.
  static constexpr float kFar = std::numeric_limits<float>::infinity();
  float left = kFar, right = -kFar, top = kFar, bottom = -kFar;
  bool unordered = false;           // such a corner's coordinate is not a number
  bool anySelected = false;         // a corner's record is selected
  bool unselectedVisible = false;   // a visible corner's record is not selected
  std::size_t visibleSelected = 0;  // visible corners' records that are selected
  bool selectedSeparator = false;   // a separator's record carries the selected bit

  // Starts the notes afresh.
  void clear() { *this = SelectionBlock{begin, end}; }
  // Notes a corner's record (not a separator) as it now stands; `seen` is its
  // seenCoordinates.
  void note(const CornerRecord& record, const TexVertex* seen) {
    const bool selected = (record.group & kSelectedBit) != 0;
    const bool visible = (record.flags & kHiddenBit) == 0;
    anySelected = anySelected || selected;
    unselectedVisible = unselectedVisible || (visible && !selected);
    visibleSelected += visible && selected ? 1 : 0;
    if (seen == nullptr) return;
    const float x = seen->u, y = 1.0f - seen->v;
    if (x != x || y != y) {  // not a number
      unordered = true;
      return;
    }
    left = x < left ? x : left;
    right = x > right ? x : right;
    top = y < top ? y : top;
    bottom = y > bottom ? y : bottom;
  }
  // Whether a pick of `band` (inclusive edges) may change a record here.
  bool pickMayChange(const FrameRect& band) const {
    if (anySelected || unordered) return true;
    return !(right < band.left || left > band.right || bottom < band.top || top > band.bottom);
  }
};

class SelectionBlocks {
 public:
  // Whether the notes describe `store`: kept by the last walk, and its arrays
  // where and as long as they were then.
  bool known(const ModelStore& store) const;
  void forget() { known_ = false; }

  // The runs for a walk that notes every record: [0, length) cut at the first
  // separator at or after every multiple of the run size, notes cleared.
  void cut(const ModelStore& store, std::size_t length);
  // Keeps the runs cut, those before `listEnd` (the end-of-list record, or
  // the length), as the notes of `store`. `ownCorners`: every corner before
  // the end with a texture vertex owns it (the j-th record the (j + 1)-th),
  // so that moving a selected corner moves no other.
  void keep(const ModelStore& store, std::size_t listEnd, bool ownCorners);

  std::vector<SelectionBlock>& blocks() { return blocks_; }
  const std::vector<SelectionBlock>& blocks() const { return blocks_; }
  std::size_t listEnd() const { return listEnd_; }
  bool ownCorners() const { return ownCorners_; }

  // Records per run: 1024, the start value, keeps a run's notes cheap beside
  // its records while a run covers little of the map (tests take fewer).
  void setBlockRecords(std::size_t records) { blockRecords_ = records > 0 ? records : 1; }
  std::size_t blockRecords() const { return blockRecords_; }

 private:
  struct Shape {
    const void* stream = nullptr;
    const void* texVertices = nullptr;
    const void* vertices = nullptr;
    std::size_t streamSize = 0, texSize = 0, vertexSize = 0;
    int numCornerRecords = 0, numTVerts = 0, numVerts = 0;
    bool operator==(const Shape&) const = default;
  };
  static Shape shapeOf(const ModelStore& store);

  std::vector<SelectionBlock> blocks_;
  bool known_ = false;
  Shape shape_;
  std::size_t listEnd_ = 0;
  bool ownCorners_ = false;
  std::size_t blockRecords_ = std::size_t{1} << 10;
};

// Notes the run's records afresh, as they now stand.
void noteRun(const ModelStore& store, SelectionBlock& block);

// Calls change(record, j) for every record j of the runs that hold a
// selected record (a corner's or a separator's), on every core, then notes
// those runs afresh: for a change that touches selected records alone, and
// each record on its own. The notes must describe the store.
template <typename Change>
void changeSelectedRuns(ModelStore& store, SelectionBlocks& blocks, const Change& change) {
  std::vector<SelectionBlock>& all = blocks.blocks();
  std::vector<std::size_t> selected;
  for (std::size_t b = 0; b < all.size(); ++b)
    if (all[b].anySelected || all[b].selectedSeparator) selected.push_back(b);
  const std::size_t perPart = std::max<std::size_t>(1, kStreamRangeRecords / blocks.blockRecords());
  forEachRange(selected.size(), perPart, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      SelectionBlock& block = all[selected[i]];
      for (std::size_t j = block.begin; j < block.end; ++j) change(store.facetStream[j], j);
      noteRun(store, block);
    }
  });
}

}  // namespace corvina
