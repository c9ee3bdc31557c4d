#pragma once
// Saving the model as a Wavefront OBJ file, with corvina's own "# r " region
// and "# x/y/color/ppu " settings statements, so that the OBJ reader gives the
// same model back.

#include <string>

#include "model/model_store.h"
#include "model/user_interface.h"

namespace corvina {

// The "OBJ Export Options" record: lives for the whole run and keeps the
// values of the last confirmed dialog.
struct ObjExportOptions {
  bool singleGroup = false;
  bool exportNormals = true;
  bool exportUVs = true;
  bool flipV = false;
  bool flipH = false;
  bool reverseWinding = false;
  bool invertNormals = false;
  bool swapYZ = false;
  bool exportMaterials = true;
  bool exportRegions = true;
  bool useRotation = false;
  bool noLinefeeds = false;
  bool separateUVs = false;
};

// The options dialog over `options`: one check box per field, in field order,
// named after the field. The dialog must not outlive `options`.
OptionDialog objExportOptionsDialog(ObjExportOptions& options);

// The save dialog of the save command, starting in the store's lastDirectory.
FileRequest objSaveFileRequest(const ModelStore& store);

// Writes the model to `path` under a busy cursor and a progress bar, and sets
// lastDirectory and modelBaseName from the path. The file replaces an existing
// one only when it is complete. Afterwards the model is as before except for
// the recounted numFacets and re-expanded texture vertices, also on failure.
// Returns false after showing "Error writing to file" when the file could not
// be written.
bool writeObjModel(ModelStore& store, const std::string& path, const ObjExportOptions& options,
                   UserInterface& ui);

}  // namespace corvina
