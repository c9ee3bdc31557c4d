#include "files/obj_writer.h"

#include <utility>

#include "files/atomic_file.h"
#include "files/obj_write_buffer.h"
#include "files/obj_write_text.h"

namespace corvina {

namespace {

// Progress range: one step per 256 written elements.
int progressRange(const ModelStore& store, const ObjExportOptions& options) {
  long long elements = static_cast<long long>(store.numVerts) + store.numFacets;
  if (options.exportUVs) elements += store.numTVerts;
  if (options.exportNormals) elements += store.numVNormals;
  return static_cast<int>(elements / 256);
}

WriteOutcome writeFile(ModelStore& store, const std::string& path, const ObjExportOptions& options,
                       ProgressSink& progress) {
  AtomicFile file;
  if (!file.open(path)) return WriteOutcome::CannotOpen;
  store.numFacets = countWrittenFacets(store);
  ObjWriteBuffer out(file, !options.noLinefeeds);
  ObjWriteProgress steps(progress);
  writeObjText(store, options, out, steps);
  return out.flush() && file.commit() ? WriteOutcome::Written : WriteOutcome::WriteFailed;
}

}  // namespace

WriteOutcome writeObjFile(ModelStore& store, const std::string& path,
                          const ObjExportOptions& options, ProgressSink& progress) {
  compressTextureVertices(store);
  // A model without texture coordinates has none to separate: separating
  // would give every corner a coordinate made of the no-UV marker.
  if (options.separateUVs && store.numTVerts > 0) separateTextureVertices(store);

  // The file holds the unrotated positions unless asked otherwise; vertices
  // hold the rotated ones. Swapping the arrays costs no copy.
  const bool exchange = !options.useRotation && store.baseVertices.size() == store.vertices.size();
  if (exchange) std::swap(store.vertices, store.baseVertices);

  progress.beginProgress(progressRange(store, options));
  const WriteOutcome outcome = writeFile(store, path, options, progress);
  progress.endProgress();

  if (exchange) std::swap(store.vertices, store.baseVertices);
  expandTextureVertices(store, false);
  return outcome;
}

}  // namespace corvina
