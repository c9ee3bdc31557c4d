#pragma once
// Exporting the texture side of the model as a UVS file: a commented header
// with the counts, the texture-map settings and the base model, the texture
// vertices, optionally the group, material and region statements, and one
// facet line of texture-vertex indices per facet. The UVS import applies such
// a file to any model with the same facet structure.

#include <string>

#include "files/obj_write_buffer.h"
#include "files/obj_write_pieces.h"
#include "files/write_outcome.h"
#include "model/model_store.h"
#include "model/progress_sink.h"

namespace corvina {

// The "UVs Export Options" record: lives for the whole run and keeps the
// values of the last confirmed dialog.
struct UvsExportOptions {
  bool flipV = false;
  bool flipH = false;
  bool noLinefeeds = false;
  bool separateUVs = false;
  std::string baseModel;  // at most kPathSize - 1 characters
  bool exportGroups = false;
  bool exportMaterials = false;
  bool exportRegions = false;
};

// Written as a comment in every UVS header: where the program can be had.
// The product has no public site yet; the address stays inside the reserved
// .example domain (as the About box's mail address does) so it can never name
// somebody else's server.
inline constexpr const char* kProductWebAddress = "https://www.brindlelabs.example/corvina/";

// Writes the model's texture side to `path`, stepping a progress bar on
// `progress` once per 256 texture vertices and facets. The file replaces an
// existing one only when it is complete. The texture vertices pass through the
// compact form and are expanded again afterwards, whether or not the file was
// written.
// The file's text for the store as it stands (texture vertices in their
// compact form) into `out`; the long sections are formatted on
// parallelThreads() threads, with the same bytes on any.
void writeUvsText(const ModelStore& store, const UvsExportOptions& options, ObjWriteBuffer& out,
                  ObjWriteProgress& progress, const WritePieceSizes& pieces = {});

WriteOutcome exportUvsFile(ModelStore& store, const std::string& path,
                           const UvsExportOptions& options, ProgressSink& progress);

}  // namespace corvina
