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
  return openObjModel(store_, selection_, path, ui, [this] { clearUndoHistory(); });
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
  writeObjModel(store_, *path, options, ui);
}

}  // namespace corvina
