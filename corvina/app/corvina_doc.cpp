#include "app/corvina_doc.h"

#include "app/dialogs/obj_export_dialog.h"
#include "app/model_required.h"
#include "app/obj_open_save.h"

namespace corvina {

FileRequest objLoadFileRequest(const std::string& directory) {
  FileRequest request;
  request.save = false;
  request.title = "Load OBJ...";
  request.filters = {{"Wavefront Model (*.obj)", "*.obj"}, {"All Files (*.*)", "*.*"}};
  request.initialName = "*.obj";
  request.defaultExtension = "obj";
  request.directory = directory;
  return request;
}

bool CorvinaDoc::openModel(const std::string& path, UserInterface& ui) {
  // The file is read into a store of its own, so a file that is refused or
  // fails to load leaves the model being edited as it was (and its pending
  // move pending). What survives loading comes along.
  ModelStore fresh;
  fresh.lastDirectory = store_.lastDirectory;
  fresh.lastModelPath = store_.lastModelPath;
  fresh.mapWidth = store_.mapWidth;
  fresh.mapHeight = store_.mapHeight;
  fresh.colorMode = store_.colorMode;
  fresh.pixelsPerUnit = store_.pixelsPerUnit;
  SelectionState freshSelection;
  freshSelection.selectMethod = selection_.selectMethod;
  const bool opened = openObjModel(fresh, freshSelection, path, ui);
  store_.lastDirectory = fresh.lastDirectory;
  if (!opened) return false;
  {
    // The old model's memory goes when this block ends.
    ModelStore old = std::move(store_);
    store_ = std::move(fresh);
  }
  selection_ = freshSelection;
  openedName_ = store_.modelBaseName;
  clearUndoHistory();
  return true;
}

void CorvinaDoc::loadModel(UserInterface& ui) {
  std::optional<std::string> path = ui.chooseFile(objLoadFileRequest(store_.lastDirectory));
  if (!path) return;
  ui.setBusy(true);
  openModel(*path, ui);
  ui.setBusy(false);
  store_.lastModelPath = *path;
  ui.refreshViews();
}

void CorvinaDoc::saveModel(ObjExportOptions& options, UserInterface& ui) {
  if (!requireModel(store_, ui)) return;
  if (selection_.selectionActive) {
    commitSelection(store_, selection_);
    ui.refreshViews();
  }
  // The dialog edits a copy, so the record changes only when it is confirmed,
  // whatever the dialog did to its fields before a Cancel.
  ObjExportOptions edited = options;
  OptionDialog dialog = objExportOptionsDialog(edited);
  if (!ui.editOptions(dialog)) return;
  options = edited;
  std::optional<std::string> path = ui.chooseFile(objSaveFileRequest(store_));
  if (!path) return;
  if (writeObjModel(store_, *path, options, ui)) history_.markClean();
}

}  // namespace corvina
