#pragma once
// Importing a UVS file, or the texture side of an OBJ file, onto the loaded
// model. The file must have the model's facet structure: as many facet lines
// as the model has facets, each with as many corners as the model's facet of
// the same number. Its texture vertices replace the model's (or only those of
// the selected corners while a selection is active), and its group, material
// and region statements replace the tables they name.

#include <cstddef>
#include <string>
#include <vector>

#include "files/obj_line_reader.h"
#include "files/obj_line_source.h"
#include "model/model_store.h"
#include "model/progress_sink.h"
#include "tools/selection_state.h"

namespace corvina {

enum class UvsImportOutcome {
  Imported,
  CannotOpen,             // the file cannot be read; the model is unchanged
  ReadFailed,             // a read error, or the file changed while it was read; unchanged
  IncompatibleStructure,  // the facet structure differs from the model's; unchanged
  InsufficientMemory,     // the new arrays cannot be had; unchanged
};

struct UvsImportResult {
  UvsImportOutcome outcome = UvsImportOutcome::CannotOpen;
  // Imported texture coordinates lie outside the unit square; the caller
  // offers to normalise them.
  bool outOfRange = false;
  // While a selection limited the import: the stream positions of the
  // corners that took the file's coordinates, so that a rescale can keep to
  // them after the selection has ended. Empty when every corner took them.
  std::vector<std::size_t> importedCorners;
};

// Imports the file at `path`. A file whose extension is "obj" (any letter
// case), or that has a slash in a corner token, gives each corner the index
// after the first slash; otherwise each corner takes its token's one number.
// Negative indices count by their magnitude; an index beyond the file's
// texture vertices, and an absent one, leaves the corner without a texture
// coordinate. Set statements of a table replace the whole table and reassign
// every corner's set indices (which clears every selected and hidden bit and
// so ends an active selection). Steps a progress bar on `progress`. On success the
// texture vertices are expanded again.
UvsImportResult importUvsFile(ModelStore& store, SelectionState& selection, const std::string& path,
                              ProgressSink& progress);

// The same over an opened source; `path` names the file (its extension and
// folder count as above). `chunkSize` is the line reader's (tests and the
// fuzz target read small inputs with small chunks).
UvsImportResult readUvs(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                        const std::string& path, ProgressSink& progress,
                        std::size_t chunkSize = ObjLineReader::kDefaultChunkSize);

}  // namespace corvina
