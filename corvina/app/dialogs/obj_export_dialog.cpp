#include "app/dialogs/obj_export_dialog.h"

#include "app/dialogs/option_fields.h"

namespace corvina {

OptionDialog objExportOptionsDialog(ObjExportOptions& options) {
  OptionDialog dialog;
  dialog.caption = "OBJ Export Options";
  dialog.fields = {
      boolField("singleGroup", "Export As Single Group", options.singleGroup),
      boolField("exportNormals", "Export Normals", options.exportNormals),
      boolField("exportUVs", "Export UV Coordinates", options.exportUVs),
      boolField("flipV", "Flip Texture (UV) Coordinates Vertically", options.flipV),
      boolField("flipH", "Flip Texture (UV) Coordinates Horizontally", options.flipH),
      boolField("reverseWinding", "Reverse Winding Order", options.reverseWinding),
      boolField("invertNormals", "Invert Normals", options.invertNormals),
      boolField("swapYZ", "Swap Coordinates Y and Z", options.swapYZ),
      boolField("exportMaterials", "Export Materials", options.exportMaterials),
      boolField("exportRegions", "Export Corvina Regions", options.exportRegions),
      boolField("useRotation", "Export Using Rotation Settings", options.useRotation),
      boolField("noLinefeeds", "Don't Export Linefeeds (Mac compatible)", options.noLinefeeds),
      boolField("separateUVs", "Don't compess texture coordinates", options.separateUVs),
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
