#include "editor/selection_picking.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/model_walk.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

// What picking some runs did: the records whose selected bit changed,
// [firstChanged, lastChanged + 1) (empty when first > last), and whether
// every corner with a texture vertex owns it.
struct RangePick {
  std::size_t firstChanged = SIZE_MAX, lastChanged = 0;
  std::size_t listEnd = SIZE_MAX;  // where a run met the end-of-list record
  bool ownCorners = true;
  // The runs of records whose bit flipped, kept by a part that may turn out
  // to lie after the end of the list, to flip them back.
  bool keepChanges = false;
  std::vector<PartRange> changes;
};

// Sets the record's selected bit, writing only a change: a record that keeps
// its bit is not written, so the pick leaves most of the stream's memory clean.
void setSelected(CornerRecord& record, bool selected, std::size_t at, RangePick& pick) {
  if (((record.group & kSelectedBit) != 0) == selected) return;
  record.group = static_cast<std::uint16_t>(selected ? record.group | kSelectedBit
                                                     : record.group & ~kSelectedBit);
  pick.firstChanged = std::min(pick.firstChanged, at);
  pick.lastChanged = std::max(pick.lastChanged, at);
  if (!pick.keepChanges) return;
  if (!pick.changes.empty() && pick.changes.back().end == at) {
    ++pick.changes.back().end;
  } else {
    pick.changes.push_back({at, at + 1});
  }
}

// Whether the j-th record's corner owns its texture vertex (the (j + 1)-th)
// or has none, so that moving it moves no other corner.
bool ownsOrHasNone(const CornerRecord& record, std::size_t j, std::size_t texCount) {
  const auto index = static_cast<std::size_t>(record.texVertex);
  return record.texVertex < 1 || index > texCount || index == j + 1;
}

bool insideBand(const TexVertex& uv, const FrameRect& band) {
  const float x = uv.u;
  const float y = 1.0f - uv.v;
  return !(x < band.left || x > band.right || y < band.top || y > band.bottom);
}

// Picks in the run's records, up to an end-of-list record, and notes what
// the run holds afterwards. Each record's bit is decided once, so a record
// is written only when it changes.
void pickBlock(ModelStore& store, const FrameRect& band, SelectMethod method, SelectionBlock& block,
               std::size_t texCount, std::size_t vertexCount, RangePick& pick) {
  block.clear();
  std::vector<CornerRecord>& stream = store.facetStream;
  std::size_t j = block.begin;
  while (j < block.end) {
    if (stream[j].vertex < 0) {
      pick.listEnd = j;
      return;
    }
    if (stream[j].vertex == kSeparator) {
      // A pick leaves a separator's bit alone; a commit clears it.
      block.selectedSeparator = block.selectedSeparator || (stream[j].group & kSelectedBit) != 0;
      ++j;
      continue;
    }
    if (method == SelectMethod::ByVertex) {
      CornerRecord& record = stream[j];
      const TexVertex* seen = seenCoordinates(store, record, texCount);
      const bool inside = seen != nullptr && insideBand(*seen, band);
      if (seen != nullptr) setSelected(record, inside, j, pick);
      block.note(record, seen);
      pick.ownCorners = pick.ownCorners && ownsOrHasNone(record, j, texCount);
      if (inside && static_cast<std::size_t>(record.vertex) <= vertexCount) {
        // Corners in other parts may share the vertex: every writer stores
        // the same 1.
        std::atomic_ref<std::uint8_t>(
            store.vertices[static_cast<std::size_t>(record.vertex) - 1].mark)
            .store(1, std::memory_order_relaxed);
      }
      ++j;
      continue;
    }
    // By facet: one corner inside selects every corner of its facet, else
    // the corners the band sees are let go and the others keep their bits.
    std::size_t last = j;
    bool inside = false;
    while (last < block.end && stream[last].vertex > 0) {
      const TexVertex* seen = seenCoordinates(store, stream[last++], texCount);
      inside = inside || (seen != nullptr && insideBand(*seen, band));
    }
    for (; j < last; ++j) {
      CornerRecord& record = stream[j];
      const TexVertex* seen = seenCoordinates(store, record, texCount);
      // With no corner inside, every corner the band sees lies outside it.
      if (inside || seen != nullptr) setSelected(record, inside, j, pick);
      block.note(record, seen);
      pick.ownCorners = pick.ownCorners && ownsOrHasNone(record, j, texCount);
    }
  }
}

// The vertex marks as a pick by vertex leaves them for the records before
// `end`: only the vertices of corners inside the band.
void markPickedVertices(ModelStore& store, const FrameRect& band, std::size_t texCount,
                        std::size_t vertexCount, std::size_t end) {
  for (std::size_t i = 0; i < vertexCount; ++i) store.vertices[i].mark = 0;
  for (std::size_t j = 0; j < end; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex <= 0 || static_cast<std::size_t>(record.vertex) > vertexCount) continue;
    const TexVertex* seen = seenCoordinates(store, record, texCount);
    if (seen != nullptr && insideBand(*seen, band))
      store.vertices[static_cast<std::size_t>(record.vertex) - 1].mark = 1;
  }
}

}  // namespace

bool pickCornersInside(ModelStore& store, const FrameRect& band, SelectMethod method,
                       PickChange* changed, SelectionBlocks* notes) {
  const std::size_t vertexCount = presentCount(store.numVerts, store.vertices);
  forEachRange(vertexCount, kStreamRangeRecords, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i)
      if (store.vertices[i].mark != 0) store.vertices[i].mark = 0;
  });
  const std::size_t texCount = presentCount(store.numTVerts, store.texVertices);
  const std::size_t length = streamLength(store);
  SelectionBlocks scratch;
  SelectionBlocks& blocks = notes != nullptr ? *notes : scratch;
  // Without notes every run is picked, on every core, without first looking
  // for the end-of-list record, which would read the whole stream once more:
  // a part that turns out to lie after the end flips its changes back. With
  // them only the runs the band can change are.
  const bool noting = !blocks.known(store);
  if (noting) blocks.cut(store, length);
  std::vector<SelectionBlock>& all = blocks.blocks();
  std::vector<std::size_t> picked;
  picked.reserve(all.size());
  for (std::size_t b = 0; b < all.size(); ++b)
    if (noting || all[b].pickMayChange(band)) picked.push_back(b);
  const std::size_t perPart = std::max<std::size_t>(1, kStreamRangeRecords / blocks.blockRecords());
  const std::vector<PartRange> parts =
      splitRange(picked.size(), parallelMinimum(perPart), parallelThreads());
  std::vector<RangePick> picks(parts.size());
  runParts(parts.size(), [&](std::size_t k) {
    RangePick& pick = picks[k];
    pick.keepChanges = noting && k > 0;
    for (std::size_t i = parts[k].begin; i < parts[k].end && pick.listEnd == SIZE_MAX; ++i)
      pickBlock(store, band, method, all[picked[i]], texCount, vertexCount, pick);
  });
  std::size_t kept = 0;
  while (kept < picks.size() && picks[kept++].listEnd == SIZE_MAX) {
  }
  if (kept < picks.size()) {
    for (std::size_t k = kept; k < picks.size(); ++k)
      for (const PartRange& run : picks[k].changes)
        for (std::size_t j = run.begin; j < run.end; ++j)
          store.facetStream[j].group ^= kSelectedBit;
    picks.resize(kept);
    if (method == SelectMethod::ByVertex)
      markPickedVertices(store, band, texCount, vertexCount, picks.back().listEnd);
  }
  RangePick combined;
  for (const RangePick& pick : picks) {
    combined.firstChanged = std::min(combined.firstChanged, pick.firstChanged);
    combined.lastChanged = std::max(combined.lastChanged, pick.lastChanged);
    combined.ownCorners = combined.ownCorners && pick.ownCorners;
  }
  if (noting) {
    const std::size_t listEnd =
        picks.empty() || picks.back().listEnd == SIZE_MAX ? length : picks.back().listEnd;
    blocks.keep(store, listEnd, combined.ownCorners);
  }
  bool anySelected = false, unselectedVisible = false;
  std::size_t visibleSelected = 0;
  for (const SelectionBlock& block : all) {
    anySelected = anySelected || block.anySelected;
    unselectedVisible = unselectedVisible || block.unselectedVisible;
    visibleSelected += block.visibleSelected;
  }
  if (changed != nullptr) {
    changed->records = combined.firstChanged <= combined.lastChanged
                           ? PartRange{combined.firstChanged, combined.lastChanged + 1}
                           : PartRange{0, 0};
    changed->everyVisibleSelected = !unselectedVisible;
    changed->visibleSelected = visibleSelected;
  }
  return anySelected;
}

}  // namespace corvina
