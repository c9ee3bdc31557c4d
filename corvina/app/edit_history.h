#pragma once
// The edit history of the model on screen: one step per user action (a menu
// command, a drag, a key press), named for the menu ("Box Mapping"), each
// keeping only what its action changed. Successive key presses that move or
// size the selection frame join into one step. A clean mark remembers the
// state last saved, so the window can tell unsaved changes. The memory the
// steps hold is bounded; the oldest steps go first.
//
// position and count keep their meaning: position is the index of the
// current state (-1 while nothing was recorded), count the number of states,
// the one before the first step included; undo is possible above 0, redo
// below count - 1.

#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/history_change.h"

namespace corvina {

struct UndoHistory {
  int position = -1;
  int count = 0;

  bool canUndo() const { return position > 0; }
  bool canRedo() const { return position < count - 1; }
  void undo() {
    if (canUndo()) --position;
  }
  void redo() {
    if (canRedo()) ++position;
  }
  void clear() { *this = UndoHistory{}; }
};

struct HistoryStep {
  std::string name;
  ModelChange change;
  bool collates = false;  // a key that moved or sized the frame: the next such key joins it
  // Background flips the step made, repeated to undo or redo them while the
  // same picture is loaded.
  bool flipH = false, flipV = false;
  int backgroundEpoch = 0;
};

class EditHistory {
 public:
  UndoHistory& counters() { return counters_; }
  const UndoHistory& counters() const { return counters_; }

  // Forgets every step (a model read from a file); the current state is
  // clean. An action open now records nothing.
  void clear();

  // A user action: begin before it, end after it. An action begun inside
  // another joins the outer one, capturing the parts it adds.
  void beginAction(const ModelStore& store, const SelectionState& selection,
                   ProjectionKind projection, unsigned parts, std::string name,
                   bool collates = false);
  // Names the open action once its kind is known (a key step).
  void nameAction(std::string name, bool collates);
  // Ends the action; at the outermost level records its step, unless it
  // changed nothing. Returns whether a step was recorded.
  bool endAction(const ModelStore& store, const SelectionState& selection,
                 ProjectionKind projection, std::size_t limitBytes);
  bool actionOpen() const { return depth_ > 0; }

  // Off: actions are neither captured nor recorded (a batch run that never
  // takes a step back spends nothing on the history). On by default.
  void setRecording(bool recording) { recording_ = recording; }

  void noteBackgroundFlip(bool horizontally);
  // A background picture loaded or cleared: earlier flips no longer apply.
  void noteBackgroundReplaced() { ++backgroundEpoch_; }
  int backgroundEpoch() const { return backgroundEpoch_; }

  // The step Undo (Redo) would take back (do again), or nullptr.
  const HistoryStep* undoStep() const;
  const HistoryStep* redoStep() const;
  // Moves the position back (forward) and returns the step to exchange;
  // nullptr when the move is not possible or the step is not kept.
  HistoryStep* stepBack();
  HistoryStep* stepForward();

  // The current state is what was saved (after the open action, if any).
  void markClean();
  // Whether the model differs from the state last marked clean.
  bool modified() const;

  std::size_t bytes() const { return bytes_; }
  std::size_t stepCount() const { return steps_.size(); }

 private:
  static constexpr int kNoClean = INT_MIN;
  int current() const { return counters_.position < 0 ? 0 : counters_.position; }
  void dropOldest();

  UndoHistory counters_;
  std::vector<HistoryStep> steps_;  // steps_[i] leads from state i to state i + 1
  std::size_t bytes_ = 0;
  int clean_ = 0;
  int backgroundEpoch_ = 0;
  bool recording_ = true;

  // The open action.
  int depth_ = 0;
  std::optional<ModelCapture> capture_;
  std::string name_;
  bool collates_ = false;
  bool void_ = false;
  bool cleanAtEnd_ = false;
  bool flipH_ = false, flipV_ = false;
};

}  // namespace corvina
