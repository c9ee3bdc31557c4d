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

// What picking a range did: whether a corner there is selected afterwards,
// and the records whose selected bit changed, [firstChanged, lastChanged + 1)
// (empty when first > last).
struct RangePick {
  bool anySelected = false;
  bool unselectedVisible = false;  // a visible corner is not selected afterwards
  std::size_t firstChanged = SIZE_MAX, lastChanged = 0;
  std::size_t listEnd = SIZE_MAX;  // where the range met the end-of-list record
  // The runs of records whose bit flipped, kept by a range that may turn out
  // to lie after the end of the list, to flip them back.
  bool keepChanges = false;
  std::vector<PartRange> changes;
};

// Sets the record's selected bit, writing only a change: a record that keeps
// its bit is not written, so the pick leaves most of the stream's memory clean.
void setSelected(CornerRecord& record, bool selected, std::size_t at, RangePick& pick) {
  pick.anySelected = pick.anySelected || (selected && record.vertex > 0);
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

// Whether a corner is one the band sees (visible, with a valid texture
// index), and if so whether it lies inside or on the band.
enum class Seen { Not, Outside, Inside };

bool visibleWithCoordinates(const CornerRecord& record, std::size_t texCount) {
  return (record.flags & kHiddenBit) == 0 && record.texVertex >= 1 &&
         static_cast<std::size_t>(record.texVertex) <= texCount;
}

Seen seenBy(const ModelStore& store, const CornerRecord& record, const FrameRect& band,
            std::size_t texCount) {
  if (!visibleWithCoordinates(record, texCount)) return Seen::Not;
  const TexVertex& uv = store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
  const float x = uv.u;
  const float y = 1.0f - uv.v;
  return x < band.left || x > band.right || y < band.top || y > band.bottom ? Seen::Outside
                                                                            : Seen::Inside;
}

void noteVisible(const CornerRecord& record, RangePick& pick) {
  if ((record.flags & kHiddenBit) == 0 && (record.group & kSelectedBit) == 0)
    pick.unselectedVisible = true;
}

// Picks in records [begin, end), which begins at 0 or at a separator, up to
// an end-of-list record. Each record's bit is decided once, so a record is
// written only when it changes.
RangePick pickRange(ModelStore& store, const FrameRect& band, SelectMethod method,
                    std::size_t begin, std::size_t end, std::size_t texCount,
                    std::size_t vertexCount, bool keepChanges) {
  RangePick pick;
  pick.keepChanges = keepChanges;
  std::vector<CornerRecord>& stream = store.facetStream;
  std::size_t j = begin;
  while (j < end) {
    if (stream[j].vertex < 0) {
      pick.listEnd = j;
      break;
    }
    if (stream[j].vertex == kSeparator) {
      ++j;
      continue;
    }
    if (method == SelectMethod::ByVertex) {
      CornerRecord& record = stream[j];
      const Seen seen = seenBy(store, record, band, texCount);
      if (seen == Seen::Not) {
        pick.anySelected = pick.anySelected || (record.group & kSelectedBit) != 0;
      } else {
        setSelected(record, seen == Seen::Inside, j, pick);
      }
      noteVisible(record, pick);
      if (seen == Seen::Inside && static_cast<std::size_t>(record.vertex) <= vertexCount) {
        // Corners in other ranges may share the vertex: every writer stores
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
    while (last < end && stream[last].vertex > 0)
      inside = seenBy(store, stream[last++], band, texCount) == Seen::Inside || inside;
    for (; j < last; ++j) {
      CornerRecord& record = stream[j];
      // With no corner inside, every corner the band sees lies outside it.
      if (inside || visibleWithCoordinates(record, texCount)) {
        setSelected(record, inside, j, pick);
      } else {
        pick.anySelected = pick.anySelected || (record.group & kSelectedBit) != 0;
      }
      noteVisible(record, pick);
    }
  }
  return pick;
}

// The vertex marks as a pick by vertex leaves them for the records before
// `end`: only the vertices of corners inside the band.
void markPickedVertices(ModelStore& store, const FrameRect& band, std::size_t texCount,
                        std::size_t vertexCount, std::size_t end) {
  for (std::size_t i = 0; i < vertexCount; ++i) store.vertices[i].mark = 0;
  for (std::size_t j = 0; j < end; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex > 0 && static_cast<std::size_t>(record.vertex) <= vertexCount &&
        seenBy(store, record, band, texCount) == Seen::Inside)
      store.vertices[static_cast<std::size_t>(record.vertex) - 1].mark = 1;
  }
}

}  // namespace

bool pickCornersInside(ModelStore& store, const FrameRect& band, SelectMethod method,
                       PickChange* changed) {
  const std::size_t vertexCount = presentCount(store.numVerts, store.vertices);
  forEachRange(vertexCount, kStreamRangeRecords, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i)
      if (store.vertices[i].mark != 0) store.vertices[i].mark = 0;
  });
  const std::size_t texCount = presentCount(store.numTVerts, store.texVertices);
  const std::size_t length = streamLength(store);
  // The ranges, each beginning at a separator, are picked on every core
  // without first looking for the end-of-list record, which would read the
  // whole stream once more: a range that turns out to lie after the end
  // flips its changes back.
  const std::vector<PartRange> ranges = facetRangesForThreads(store.facetStream.data(), length);
  std::vector<RangePick> picks(ranges.size());
  runParts(ranges.size(), [&](std::size_t k) {
    picks[k] = pickRange(store, band, method, ranges[k].begin, ranges[k].end, texCount, vertexCount,
                         k > 0);
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
  bool anySelected = false;
  RangePick all;
  for (const RangePick& pick : picks) {
    anySelected = anySelected || pick.anySelected;
    all.unselectedVisible = all.unselectedVisible || pick.unselectedVisible;
    all.firstChanged = std::min(all.firstChanged, pick.firstChanged);
    all.lastChanged = std::max(all.lastChanged, pick.lastChanged);
  }
  if (changed != nullptr) {
    changed->records = all.firstChanged <= all.lastChanged
                           ? PartRange{all.firstChanged, all.lastChanged + 1}
                           : PartRange{0, 0};
    changed->everyVisibleSelected = !all.unselectedVisible;
  }
  return anySelected;
}

}  // namespace corvina
