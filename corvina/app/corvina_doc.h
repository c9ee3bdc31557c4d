#pragma once
// The document: the editing state that belongs to the model on screen (the
// selection, the projection that made the texture map, the undo history of the
// texture-map editor) and the model commands that act on it. It works on the
// application's one model store and talks to the user only through
// UserInterface, so the window and corvina-cli run the same code.

#include <functional>
#include <string>

#include "app/edit_history.h"
#include "app/projection_kind.h"
#include "app/user_interface.h"
#include "files/obj_writer.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

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
  ProjectionKind& projectionKindRef() { return projectionKind_; }
  void setProjectionKind(ProjectionKind kind) { projectionKind_ = kind; }

  // The history's position and count.
  const UndoHistory& undoHistory() const { return history_.counters(); }
  UndoHistory& undoHistory() { return history_.counters(); }
  EditHistory& history() { return history_; }
  // The path, without extension, of the file the model was last opened
  // from; the title's name when the model has no name of its own.
  const std::string& openedName() const { return openedName_; }
  const EditHistory& history() const { return history_; }

  // A new model starts without history. The texture-map editor may register
  // what else it clears with the history.
  void setClearUndoHistory(std::function<void()> clear) { clearUndoHistory_ = std::move(clear); }
  void clearUndoHistory() {
    history_.clear();
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
  EditHistory history_;
  std::string openedName_;
  std::function<void()> clearUndoHistory_;
};

// The open dialog of "&Load Model...", starting in `directory`.
FileRequest objLoadFileRequest(const std::string& directory);

}  // namespace corvina
