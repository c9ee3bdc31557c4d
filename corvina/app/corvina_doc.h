#pragma once
// The document: the editing state that belongs to the model on screen (the
// selection, the projection that made the texture map, the undo history of the
// texture-map editor) and the model commands that act on it. It works on the
// application's one model store and talks to the user only through
// UserInterface, so the window and corvina-cli run the same code.

#include <functional>
#include <string>

#include "app/projection_kind.h"
#include "app/user_interface.h"
#include "files/obj_writer.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

// The texture-map editor's undo history: a position (-1 before any step) and
// the number of recorded steps. No edit records a step yet, so undo and redo
// stay disabled; the rules are kept here so that recording steps later needs
// no change to the commands.
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

class CorvinaDoc {
 public:
  // The document works on `store`, which must outlive it.
  explicit CorvinaDoc(ModelStore& store) : store_(store) {}
  CorvinaDoc(const CorvinaDoc&) = delete;
  CorvinaDoc& operator=(const CorvinaDoc&) = delete;

  ModelStore& store() { return store_; }
  const ModelStore& store() const { return store_; }
  SelectionState& selection() { return selection_; }
  const SelectionState& selection() const { return selection_; }
  ProjectionKind projectionKind() const { return projectionKind_; }
  void setProjectionKind(ProjectionKind kind) { projectionKind_ = kind; }

  const UndoHistory& undoHistory() const { return undoHistory_; }
  UndoHistory& undoHistory() { return undoHistory_; }

  // A new model starts without history. The texture-map editor may register
  // what else it clears with the history.
  void setClearUndoHistory(std::function<void()> clear) { clearUndoHistory_ = std::move(clear); }
  void clearUndoHistory() {
    undoHistory_.clear();
    if (clearUndoHistory_) clearUndoHistory_();
  }

  // The open operation for a path given directly (command line, dropped
  // files, the load dialog): reads the OBJ file into the store with the
  // load's messages and question (openObjModel). Returns whether a model is
  // now loaded.
  bool openModel(const std::string& path, UserInterface& ui);

  // "&Load Model...": asks for an OBJ file starting in lastDirectory, opens it
  // under a busy cursor, and records the chosen path as lastModelPath whether
  // or not it loaded. A cancelled dialog changes nothing.
  void loadModel(UserInterface& ui);

  // "&Save Model...": refuses without a model; commits a pending selection;
  // asks for the export options (kept in `options` only on OK) and the file;
  // writes the file. A cancelled dialog stops the command with nothing
  // written.
  void saveModel(ObjExportOptions& options, UserInterface& ui);

 private:
  ModelStore& store_;
  SelectionState selection_;
  ProjectionKind projectionKind_ = ProjectionKind::None;
  UndoHistory undoHistory_;
  std::function<void()> clearUndoHistory_;
};

// The open dialog of "&Load Model...", starting in `directory`.
FileRequest objLoadFileRequest(const std::string& directory);

}  // namespace corvina
