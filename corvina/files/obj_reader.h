#pragma once
// Loading a Wavefront OBJ file into the model store: the document's open
// operation. The file is read three times (count, parse, index) so that every
// array is allocated once at its final size, then the statistics are shown,
// the set indices assigned, out-of-range texture coordinates offered for
// repair and the texture vertices expanded.

#include <cstdint>
#include <functional>
#include <string>

#include "files/obj_line_reader.h"
#include "files/obj_line_source.h"
#include "files/obj_reader_passes.h"
#include "model/model_store.h"
#include "model/user_interface.h"
#include "tools/selection_state.h"

namespace corvina {

// Opens the OBJ file at `path` and makes it the model. A pending selection is
// committed first; `clearUndoHistory` runs after a successful load. Shows its
// own messages. On success the store holds the model with modelLoaded 1 and
// the texture vertices expanded. When the file cannot be opened the previous
// model stays; any later failure leaves an empty model.
bool openObjModel(ModelStore& store, SelectionState& selection, const std::string& path,
                  UserInterface& ui, const std::function<void()>& clearUndoHistory = {});

// Seams for tests and the fuzz target; the defaults are what openObjModel uses.
struct ObjReadOptions {
  std::size_t chunkSize = ObjLineReader::kDefaultChunkSize;
  bool fastPath = true;
  std::int64_t countLimit = kLargestStoreCount;  // the largest count the store takes
  bool (*allocate)(ModelStore&) = allocateModel;
};

// The same operation over an already opened source; `path` names the model
// (lastDirectory and modelBaseName come from it).
bool readObjModel(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                  const std::string& path, UserInterface& ui,
                  const std::function<void()>& clearUndoHistory = {},
                  const ObjReadOptions& options = {});

// The question asked when texture coordinates lie outside the unit square.
inline constexpr const char* kOutOfRangeUvQuestion =
    "The model you have loaded contains\nout of range UV coordinate data\n\nWould you like to "
    "correct this?";

}  // namespace corvina
