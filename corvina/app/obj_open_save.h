#pragma once
// The document's open and save operations on OBJ files: the file layer reads
// and writes, and these do the steps around it in the user's order and turn
// each outcome into its message.

#include <functional>
#include <string>

#include "app/user_interface.h"
#include "files/obj_line_source.h"
#include "files/obj_reader.h"
#include "files/obj_writer.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

// Opens the OBJ file at `path` and makes it the model. When the file cannot
// be opened, "Error opening file" is shown and the previous model stays.
// Otherwise lastDirectory and modelBaseName come from the path, a pending
// selection is committed and the file is read; then the statistics are shown,
// out-of-range texture coordinates offered for repair and the texture
// vertices expanded, and `clearUndoHistory` runs. On success modelLoaded is
// kModelRead; any failure after the open shows its message and leaves an
// empty model.
bool openObjModel(ModelStore& store, SelectionState& selection, const std::string& path,
                  UserInterface& ui, const std::function<void()>& clearUndoHistory = {});

// The same over an already opened source; `path` names the model. `options`
// are the reader's seams for tests and the fuzz target.
bool readObjModel(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                  const std::string& path, UserInterface& ui,
                  const std::function<void()>& clearUndoHistory = {},
                  const ObjReadOptions& options = {});

// Writes the model to `path` under a busy cursor and a progress bar, and sets
// lastDirectory and modelBaseName from the path. Returns false after showing
// "Error writing to file" when the file could not be written.
bool writeObjModel(ModelStore& store, const std::string& path, const ObjExportOptions& options,
                   UserInterface& ui);

// The message an unsuccessful read is told with.
const char* objReadFailureMessage(ObjReadOutcome outcome);

// The question asked when texture coordinates lie outside the unit square.
inline constexpr const char* kOutOfRangeUvQuestion =
    "The model you have loaded contains\nout of range UV coordinate data\n\nWould you like to "
    "correct this?";

}  // namespace corvina
