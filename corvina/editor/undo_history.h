#pragma once
// The texture-map editor's undo history: a position and a count of recorded
// steps. No edit records a step yet, so undo and redo stay disabled; the
// enablement rules are kept here so that recording steps later needs no
// change to the commands.

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

}  // namespace corvina
