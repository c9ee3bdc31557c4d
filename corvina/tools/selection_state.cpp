#include "tools/selection_state.h"

#include "tools/selection_blocks.h"

#include "model/model_walk.h"
#include "model/stream_ranges.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <vector>

namespace corvina {

namespace {

// The move of the selected corners' texture coordinates from the source
// frame to the target frame.
struct FrameMove {
  explicit FrameMove(const SelectionState& selection)
      : s(selection.source),
        t(selection.target),
        sx(spanScale(t.right - t.left, s.right - s.left)),
        sy(spanScale(t.bottom - t.top, s.bottom - s.top)) {}
  void operator()(TexVertex& uv) const {
    uv.u = t.left + sx * (uv.u - s.left);
    uv.v = (1.0f - t.top) + sy * (uv.v - (1.0f - s.top));
  }
  FrameRect s, t;
  float sx, sy;
};

// Moves the selected corners of records [begin, end) that own their texture
// vertex (the j-th record the (j + 1)-th), clearing the selected bits as it
// goes when asked to; returns the others, to be moved afterwards.
std::vector<std::size_t> moveOwnCorners(ModelStore& store, const FrameMove& move, std::size_t begin,
                                        std::size_t end, bool clearBits) {
  std::vector<std::size_t> later;
  for (std::size_t j = begin; j < end; ++j) {
    CornerRecord& record = store.facetStream[j];
    if ((record.group & kSelectedBit) == 0) continue;
    if (record.vertex > 0) {
      if (static_cast<std::size_t>(record.texVertex) != j + 1) {
        later.push_back(j);
      } else if (TexVertex* uv = texVertexOf(store, record)) {
        move(*uv);
      }
    }
    if (clearBits) record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  }
  return later;
}

void moveSharedCorners(ModelStore& store, const FrameMove& move,
                       const std::vector<std::vector<std::size_t>>& shared) {
  for (const std::vector<std::size_t>& part : shared)
    for (const std::size_t j : part)
      if (TexVertex* uv = texVertexOf(store, store.facetStream[j])) move(*uv);
}

// Moves every selected corner's texture coordinate from the source frame to
// the target frame; clears the selected bits as it goes when asked to.
//
// Every corner applies the same move to its texture vertex, so a vertex that
// m selected corners share is moved m times whatever the order. The records
// are walked on every core; a corner that owns its texture vertex moves it
// there, as no other owner can touch it, and the others are moved afterwards
// on one thread.
void transformSelection(ModelStore& store, const SelectionState& selection, bool clearBits) {
  const FrameMove move(selection);
  moveSharedCorners(store, move,
                    mapRanges<std::vector<std::size_t>>(streamLength(store), kStreamRangeRecords,
                                                        [&](std::size_t begin, std::size_t end) {
                                                          return moveOwnCorners(store, move, begin,
                                                                                end, clearBits);
                                                        }));
}

// The commit's move through the runs' notes: only the runs with a selected
// record are walked (and noted again), and the records after the end of the
// list, which the notes leave out. Every corner before the end with a
// texture vertex owns it, so no corner of another run moves.
void commitThroughBlocks(ModelStore& store, const SelectionState& selection,
                         SelectionBlocks& blocks) {
  const FrameMove move(selection);
  changeSelectedRuns(store, blocks, [&](CornerRecord& record, std::size_t j) {
    if ((record.group & kSelectedBit) == 0) return;
    if (record.vertex > 0 && static_cast<std::size_t>(record.texVertex) == j + 1)
      if (TexVertex* uv = texVertexOf(store, record)) move(*uv);
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  });
  moveSharedCorners(store, move,
                    {moveOwnCorners(store, move, blocks.listEnd(), streamLength(store), true)});
}

// Client size times a view coordinate (a float product, as the view draws
// it), truncated toward zero and held inside the int range so a far-away
// coordinate cannot overflow the conversion.
int toPixels(int clientSize, float coordinate) {
  const float pixels = std::trunc(static_cast<float>(clientSize) * coordinate);
  if (std::isnan(pixels)) return 0;
  if (pixels <= static_cast<float>(INT_MIN)) return INT_MIN;
  if (pixels >= static_cast<float>(INT_MAX)) return INT_MAX;
  return static_cast<int>(pixels);
}

}  // namespace

// A source of zero size can only come from a frame squeezed flat and made
// the source; its corners then share one coordinate, so the move keeps them
// at the target's edge instead of dividing by zero (scale 1 also keeps any
// stray offsets as they were).
float spanScale(float targetSpan, float sourceSpan) {
  if (sourceSpan == 0.0f) return 1.0f;
  return targetSpan / sourceSpan;
}

PixelRect framePixelsOf(const FrameRect& frame, int clientWidth, int clientHeight) {
  PixelRect pixels;
  pixels.left = toPixels(clientWidth, frame.left);
  pixels.right = toPixels(clientWidth, frame.right);
  pixels.top = toPixels(clientHeight, frame.top);
  pixels.bottom = toPixels(clientHeight, frame.bottom);
  return pixels;
}

void commitSelection(ModelStore& store, SelectionState& selection, SelectionBlocks* blocks) {
  if (!selection.selectionActive) return;
  if (blocks != nullptr && blocks->known(store) && blocks->ownCorners()) {
    commitThroughBlocks(store, selection, *blocks);
  } else {
    transformSelection(store, selection, true);
    if (blocks != nullptr) blocks->forget();
  }
  selection.selectionActive = false;
}

void applyPendingMove(ModelStore& store, SelectionState& selection) {
  if (!selection.selectionActive) return;
  transformSelection(store, selection, false);
  selection.source = selection.target;
}

void fitFrameToSelection(ModelStore& store, SelectionState& selection, int clientWidth,
                         int clientHeight) {
  const std::size_t vertexCount =
      store.numVerts > 0 ? std::min(store.vertices.size(), static_cast<std::size_t>(store.numVerts))
                         : 0;
  for (std::size_t i = 0; i < vertexCount; ++i) store.vertices[i].mark = 0;

  // The search starts from an inverted unit square: a selection lying wholly
  // on or beyond an edge leaves a bound where it started, and makes no frame.
  float leastU = 1.0f, greatestU = 0.0f, leastV = 1.0f, greatestV = 0.0f;
  const std::size_t length = streamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (record.vertex == kSeparator || (record.group & kSelectedBit) == 0) continue;
    if (static_cast<std::size_t>(record.vertex) <= vertexCount) {
      store.vertices[static_cast<std::size_t>(record.vertex) - 1].mark = 1;
    }
    if (const TexVertex* uv = texVertexOf(store, record)) {
      leastU = std::min(leastU, uv->u);
      greatestU = std::max(greatestU, uv->u);
      leastV = std::min(leastV, uv->v);
      greatestV = std::max(greatestV, uv->v);
    }
  }

  if (leastU == 1.0f || greatestU == 0.0f || leastV == 1.0f || greatestV == 0.0f) {
    selection.selectionActive = false;
    return;
  }
  // A frame must have some size for the handles to grab and for the move to
  // scale by; a flat selection gets a sliver on its low side.
  if (std::fabs(greatestU - leastU) < 0.00001f) leastU -= 0.00001f;
  if (std::fabs(greatestV - leastV) < 0.00001f) leastV -= 0.00001f;
  FrameRect frame;
  frame.left = leastU;
  frame.right = greatestU;
  frame.top = 1.0f - greatestV;
  frame.bottom = 1.0f - leastV;
  selection.source = frame;
  selection.target = frame;
  selection.framePixels = framePixelsOf(frame, clientWidth, clientHeight);
  selection.selectionActive = true;
}

}  // namespace corvina
