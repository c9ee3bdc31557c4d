#include "app/dialogs/obj_export_dialog.h"

namespace corvina {

namespace {

OptionField checkBox(const char* name, const char* label, bool& value) {
  OptionField field;
  field.name = name;
  field.label = label;
  field.kind = OptionField::Kind::Bool;
  field.boolValue = &value;
  return field;
}

}  // namespace

OptionDialog objExportOptionsDialog(ObjExportOptions& options) {
  OptionDialog dialog;
  dialog.caption = "OBJ Export Options";
  dialog.fields = {
      checkBox("singleGroup", "Export As Single Group", options.singleGroup),
      checkBox("exportNormals", "Export Normals", options.exportNormals),
      checkBox("exportUVs", "Export UV Coordinates", options.exportUVs),
      checkBox("flipV", "Flip Texture (UV) Coordinates Vertically", options.flipV),
      checkBox("flipH", "Flip Texture (UV) Coordinates Horizontally", options.flipH),
      checkBox("reverseWinding", "Reverse Winding Order", options.reverseWinding),
      checkBox("invertNormals", "Invert Normals", options.invertNormals),
      checkBox("swapYZ", "Swap Coordinates Y and Z", options.swapYZ),
      checkBox("exportMaterials", "Export Materials", options.exportMaterials),
      checkBox("exportRegions", "Export Corvina Regions", options.exportRegions),
      checkBox("useRotation", "Export Using Rotation Settings", options.useRotation),
      checkBox("noLinefeeds", "Don't Export Linefeeds (Mac compatible)", options.noLinefeeds),
      checkBox("separateUVs", "Don't compess texture coordinates", options.separateUVs),
  };
  return dialog;
}

FileRequest objSaveFileRequest(const ModelStore& store) {
  FileRequest request;
  request.save = true;
  request.title = "Save OBJ...";
  request.filters = {{"Wavefront Model (*.obj)", "*.obj"}, {"All Files (*.*)", "*.*"}};
  request.initialName = "*.obj";
  request.defaultExtension = "obj";
  request.directory = store.lastDirectory;
  request.confirmOverwrite = true;
  return request;
}

}  // namespace corvina
