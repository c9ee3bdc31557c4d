#include "app/edit_history.h"

#include <algorithm>

namespace corvina {

void EditHistory::clear() {
  counters_.clear();
  steps_.clear();
  bytes_ = 0;
  clean_ = 0;
  if (depth_ > 0) void_ = true;
  cleanAtEnd_ = false;
}

void EditHistory::beginAction(const ModelStore& store, const SelectionState& selection,
                              ProjectionKind projection, unsigned parts, std::string name,
                              bool collates) {
  if (depth_++ > 0) {
    if (capture_) capture_->widen(store, parts);
    return;
  }
  if (!recording_) return;
  capture_.emplace(store, selection, projection, parts);
  name_ = std::move(name);
  collates_ = collates;
  void_ = false;
  cleanAtEnd_ = false;
  flipH_ = flipV_ = false;
}

void EditHistory::nameAction(std::string name, bool collates) {
  if (depth_ == 0) return;
  name_ = std::move(name);
  collates_ = collates;
}

void EditHistory::noteBackgroundFlip(bool horizontally) {
  if (depth_ == 0) return;
  (horizontally ? flipH_ : flipV_) ^= true;
}

bool EditHistory::endAction(const ModelStore& store, const SelectionState& selection,
                            ProjectionKind projection, std::size_t limitBytes) {
  if (depth_ == 0 || --depth_ > 0) return false;
  std::optional<ModelCapture> capture = std::move(capture_);
  capture_.reset();
  const bool markClean = cleanAtEnd_;
  cleanAtEnd_ = false;
  if (void_ || !capture) {
    void_ = false;
    flipH_ = flipV_ = false;
    return false;
  }
  std::optional<ModelChange> change = capture->finish(store, selection, projection);
  capture.reset();
  bool recorded = false;
  if (change || flipH_ || flipV_) {
    HistoryStep step;
    step.name = name_.empty() ? (change && change->frameOnly() ? "Move Selection" : "Select")
                              : std::move(name_);
    if (change) step.change = std::move(*change);
    step.collates = collates_ && change && change->frameOnly() && !flipH_ && !flipV_;
    step.flipH = flipH_;
    step.flipV = flipV_;
    step.backgroundEpoch = backgroundEpoch_;

    const int at = current();
    // Redo steps past the current state are gone once something new is done.
    while (static_cast<int>(steps_.size()) > at) {
      bytes_ -= steps_.back().change.bytes();
      steps_.pop_back();
    }
    if (clean_ > at) clean_ = kNoClean;
    HistoryStep* last = steps_.empty() ? nullptr : &steps_.back();
    if (step.collates && last != nullptr && last->collates && last->name == step.name &&
        clean_ != at) {
      // The earlier step already holds the frame as it was before the first
      // key; a run that ends where it began is no step at all.
      if (sameSelection(last->change.keptSelection(), selection)) {
        bytes_ -= last->change.bytes();
        steps_.pop_back();
      }
    } else {
      bytes_ += step.change.bytes();
      steps_.push_back(std::move(step));
      recorded = true;
    }
    counters_.count = static_cast<int>(steps_.size()) + 1;
    counters_.position = counters_.count - 1;
  }
  // Also after an action without a step: the bound may just have been
  // lowered.
  while (bytes_ > limitBytes && !steps_.empty()) dropOldest();
  if (markClean) clean_ = current();
  flipH_ = flipV_ = false;
  return recorded;
}

void EditHistory::dropOldest() {
  bytes_ -= steps_.front().change.bytes();
  steps_.erase(steps_.begin());
  counters_.position = std::max(0, counters_.position - 1);
  counters_.count = static_cast<int>(steps_.size()) + 1;
  if (clean_ != kNoClean) clean_ = clean_ > 0 ? clean_ - 1 : kNoClean;
}

const HistoryStep* EditHistory::undoStep() const {
  if (!counters_.canUndo()) return nullptr;
  const std::size_t index = static_cast<std::size_t>(counters_.position - 1);
  return index < steps_.size() ? &steps_[index] : nullptr;
}

const HistoryStep* EditHistory::redoStep() const {
  if (!counters_.canRedo() || counters_.position < 0) return nullptr;
  const std::size_t index = static_cast<std::size_t>(counters_.position);
  return index < steps_.size() ? &steps_[index] : nullptr;
}

HistoryStep* EditHistory::stepBack() {
  HistoryStep* step = const_cast<HistoryStep*>(undoStep());
  counters_.undo();
  return step;
}

HistoryStep* EditHistory::stepForward() {
  HistoryStep* step = const_cast<HistoryStep*>(redoStep());
  counters_.redo();
  return step;
}

void EditHistory::markClean() {
  if (depth_ > 0)
    cleanAtEnd_ = true;
  else
    clean_ = current();
}

bool EditHistory::modified() const {
  if (clean_ == kNoClean) return true;
  const int here = current();
  for (int i = std::min(clean_, here); i < std::max(clean_, here); ++i) {
    if (i < 0 || static_cast<std::size_t>(i) >= steps_.size()) continue;
    if (steps_[static_cast<std::size_t>(i)].change.changesModel()) return true;
  }
  return false;
}

}  // namespace corvina
