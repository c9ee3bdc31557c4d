#include "editor/selection_keys.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "model/model_walk.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

constexpr float kShiftStep = 0.03125f;
constexpr float kCoarseGrow = 0.0625f;
constexpr float kCoarseShrink = 0.055555556f;

// One pixel of a view side; a view without pixels steps as if it had one.
float pixelStep(int side) {
  return 1.0f / static_cast<float>(std::max(side, 1));
}

void moveTargetTo(FrameRect& t, float left, float top) {
  const float w = t.right - t.left;
  const float h = t.bottom - t.top;
  t.left = left;
  t.right = left + w;
  t.top = top;
  t.bottom = top + h;
}

// The vertical step that keeps the frame's growth in the proportions of S.
// The proportions are taken from S's extents, so a mirrored S (left and
// right swapped) still grows both ways; an S without extent in one direction
// has no proportions and grows by the same step both ways.
float proportionalStep(const FrameRect& s, float step) {
  const float ratio = std::fabs(s.right - s.left) / std::fabs(s.bottom - s.top);
  const float k = step / ratio;
  if (!std::isfinite(ratio) || ratio == 0.0f || !std::isfinite(k)) return step;
  return k;
}

enum class HiddenChange { Set, Clear, Toggle };

// Sets, clears or flips a corner's hidden bit.
void applyHidden(CornerRecord& record, HiddenChange change) {
  switch (change) {
    case HiddenChange::Set:
      record.flags |= kHiddenBit;
      break;
    case HiddenChange::Clear:
      record.flags &= static_cast<std::uint16_t>(~kHiddenBit);
      break;
    case HiddenChange::Toggle:
      record.flags ^= kHiddenBit;
      break;
  }
}

// Applies a hidden-bit change to the corners that count: the selected ones
// (every corner while no selection is active), or with `others` the
// unselected ones (none while no selection is active).
// Calls change(record) for every record before the end of the list, on
// every core: each record's change depends on that record alone.
template <typename Change>
void changeEveryRecord(ModelStore& store, const Change& change) {
  CornerRecord* records = store.facetStream.data();
  const std::size_t end = streamListEnd(records, streamLength(store));
  forEachRange(end, kStreamRangeRecords, [&](std::size_t begin, std::size_t rangeEnd) {
    for (std::size_t j = begin; j < rangeEnd; ++j) change(records[j]);
  });
}

void changeHidden(ModelStore& store, const SelectionState& selection, HiddenChange change,
                  bool others) {
  changeEveryRecord(store, [&](CornerRecord& record) {
    if (record.vertex == kSeparator) return;
    const bool selected = (record.group & kSelectedBit) != 0;
    const bool counts = !selection.selectionActive || (others ? !selected : selected);
    if (counts) applyHidden(record, change);
  });
}

// changeHidden through the runs' notes when only the selected corners count.
void changeHiddenOf(ModelStore& store, const SelectionState& selection, HiddenChange change,
                    bool others, SelectionBlocks* blocks) {
  if (blocks != nullptr && blocks->known(store) && selection.selectionActive && !others) {
    changeSelectedRuns(store, *blocks, [&](CornerRecord& record, std::size_t) {
      if (record.vertex != kSeparator && (record.group & kSelectedBit) != 0)
        applyHidden(record, change);
    });
    return;
  }
  changeHidden(store, selection, change, others);
  if (blocks != nullptr) blocks->forget();
}

void dropSelection(ModelStore& store, SelectionState& selection, SelectionBlocks* blocks) {
  auto drop = [](CornerRecord& record) {
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  };
  if (blocks != nullptr && blocks->known(store)) {
    changeSelectedRuns(store, *blocks, [&](CornerRecord& record, std::size_t) { drop(record); });
  } else {
    changeEveryRecord(store, drop);
    if (blocks != nullptr) blocks->forget();
  }
  selection.selectionActive = false;
}

}  // namespace

void snapFrameToSelection(const ModelStore& store, SelectionState& selection) {
  if (!selection.selectionActive) return;
  constexpr float kLeastStart = 100000.0f, kGreatestStart = -100000.0f;
  float leastU = kLeastStart, greatestU = kGreatestStart;
  float leastV = kLeastStart, greatestV = kGreatestStart;
  const std::size_t texCount =
      store.numTVerts > 0
          ? std::min(store.texVertices.size(), static_cast<std::size_t>(store.numTVerts))
          : 0;
  const std::size_t length = streamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (record.vertex == kSeparator || (record.group & kSelectedBit) == 0) continue;
    // Only texture indices inside the array are read.
    if (record.texVertex < 1 || static_cast<std::size_t>(record.texVertex) > texCount) continue;
    const TexVertex& uv = store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
    leastU = std::min(leastU, uv.u);
    greatestU = std::max(greatestU, uv.u);
    leastV = std::min(leastV, uv.v);
    greatestV = std::max(greatestV, uv.v);
  }
  if (leastU == kLeastStart || greatestU == kGreatestStart || leastV == kLeastStart ||
      greatestV == kGreatestStart) {
    return;
  }
  const FrameRect s = selection.source;
  const FrameRect t = selection.target;
  const float sx = spanScale(t.right - t.left, s.right - s.left);
  const float sy = spanScale(t.bottom - t.top, s.bottom - s.top);
  FrameRect newTarget;
  newTarget.left = t.left + sx * (leastU - s.left);
  newTarget.right = newTarget.left + sx * (greatestU - leastU);
  newTarget.top = t.top + sy * (1.0f - greatestV - s.top);
  newTarget.bottom = newTarget.top + sy * (greatestV - leastV);
  selection.source = {leastU, greatestU, 1.0f - greatestV, 1.0f - leastV};
  selection.target = newTarget;
}

bool applyKeyAction(ModelStore& store, SelectionState& selection, KeyAction action, bool shift,
                    ViewSize view, SelectionBlocks* blocks) {
  FrameRect& t = selection.target;
  const float stepX = shift ? kShiftStep : pixelStep(view.width);
  const float stepY = shift ? kShiftStep : pixelStep(view.height);
  const float w = t.right - t.left;
  const float h = t.bottom - t.top;
  switch (action) {
    case KeyAction::None:
      return false;
    case KeyAction::Center:
      moveTargetTo(t, (1.0f - w) / 2.0f, (1.0f - h) / 2.0f);
      break;
    case KeyAction::Commit:
      commitSelection(store, selection, blocks);
      break;
    case KeyAction::Drop:
      dropSelection(store, selection, blocks);
      break;
    case KeyAction::MoveToTopLeft:
      moveTargetTo(t, 0.0f, 0.0f);
      break;
    case KeyAction::MoveToTopRight:
      moveTargetTo(t, 1.0f - w, 0.0f);
      break;
    case KeyAction::MoveToBottomLeft:
      moveTargetTo(t, 0.0f, 1.0f - h);
      break;
    case KeyAction::MoveToBottomRight:
      moveTargetTo(t, 1.0f - w, 1.0f - h);
      break;
    case KeyAction::StepLeft:
      t.left -= stepX;
      t.right -= stepX;
      break;
    case KeyAction::StepRight:
      t.left += stepX;
      t.right += stepX;
      break;
    case KeyAction::StepUp:
      t.top -= stepY;
      t.bottom -= stepY;
      break;
    case KeyAction::StepDown:
      t.top += stepY;
      t.bottom += stepY;
      break;
    case KeyAction::Grow:
    case KeyAction::Shrink: {
      const float k = proportionalStep(selection.source, stepX);
      const float sign = action == KeyAction::Grow ? 1.0f : -1.0f;
      t.left -= sign * stepX;
      t.right += sign * stepX;
      t.top -= sign * k;
      t.bottom += sign * k;
      break;
    }
    case KeyAction::DoubleSize:
      t.left -= w / 2.0f;
      t.right += w / 2.0f;
      t.top -= h / 2.0f;
      t.bottom += h / 2.0f;
      break;
    case KeyAction::HalveSize:
      t.left += w / 4.0f;
      t.right -= w / 4.0f;
      t.top += h / 4.0f;
      t.bottom -= h / 4.0f;
      break;
    case KeyAction::ResizeFineHorizontal: {
      const float d = shift ? -pixelStep(view.width) : pixelStep(view.width);
      t.left -= d;
      t.right += d;
      break;
    }
    case KeyAction::ResizeFineVertical: {
      const float d = shift ? -pixelStep(view.height) : pixelStep(view.height);
      t.top -= d;
      t.bottom += d;
      break;
    }
    case KeyAction::ResizeCoarseHorizontal: {
      const float d = shift ? -(w * kCoarseShrink) : w * kCoarseGrow;
      t.left -= d;
      t.right += d;
      break;
    }
    case KeyAction::ResizeCoarseVertical: {
      const float d = shift ? -(h * kCoarseShrink) : h * kCoarseGrow;
      t.top -= d;
      t.bottom += d;
      break;
    }
    case KeyAction::Triangulate:
    case KeyAction::Degenerates:
      break;
    case KeyAction::Maximize:
      t = {0.0f, 1.0f, 0.0f, 1.0f};
      break;
    case KeyAction::SnapToFacets:
      snapFrameToSelection(store, selection);
      break;
    case KeyAction::Hide:
      changeHiddenOf(store, selection, HiddenChange::Set, false, blocks);
      break;
    case KeyAction::Show:
      changeHiddenOf(store, selection, HiddenChange::Clear, false, blocks);
      break;
    case KeyAction::ToggleHidden:
      changeHiddenOf(store, selection, HiddenChange::Toggle, false, blocks);
      break;
    case KeyAction::HideOthers:
      changeHiddenOf(store, selection, HiddenChange::Set, true, blocks);
      break;
  }
  return true;
}

}  // namespace corvina
