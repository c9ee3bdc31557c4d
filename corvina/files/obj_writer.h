#pragma once
// Saving the model as a Wavefront OBJ file, with corvina's own "# r " region
// and "# x/y/color/ppu " settings statements, so that the OBJ reader gives the
// same model back.

#include <string>

#include "files/write_outcome.h"
#include "model/model_store.h"
#include "model/progress_sink.h"

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

// Writes the model to `path`, stepping a progress bar on `progress` once per
// 256 written elements. The file replaces an existing one only when it is
// complete. Afterwards the model is as before except for the recounted
// numFacets and re-expanded texture vertices, also on failure.
WriteOutcome writeObjFile(ModelStore& store, const std::string& path,
                          const ObjExportOptions& options, ProgressSink& progress);

}  // namespace corvina
