#include "files/obj_writer.h"

#include <utility>

#include "files/atomic_file.h"
#include "files/obj_write_buffer.h"
#include "files/obj_write_text.h"

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

// Progress range: one step per 256 written elements.
int progressRange(const ModelStore& store, const ObjExportOptions& options) {
  long long elements = static_cast<long long>(store.numVerts) + store.numFacets;
  if (options.exportUVs) elements += store.numTVerts;
  if (options.exportNormals) elements += store.numVNormals;
  return static_cast<int>(elements / 256);
}

bool writeFile(ModelStore& store, const std::string& path, const ObjExportOptions& options,
               UserInterface& ui) {
  AtomicFile file;
  if (!file.open(path)) return false;
  store.numFacets = countWrittenFacets(store);
  ObjWriteBuffer out(file, !options.noLinefeeds);
  ObjWriteProgress progress(ui);
  writeObjText(store, options, out, progress);
  return out.flush() && file.commit();
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

bool writeObjModel(ModelStore& store, const std::string& path, const ObjExportOptions& options,
                   UserInterface& ui) {
  store.lastDirectory = directoryOf(path);
  store.modelBaseName = pathWithoutExtension(path);
  ui.setBusy(true);

  compressTextureVertices(store);
  // A model without texture coordinates has none to separate: separating
  // would give every corner a coordinate made of the no-UV marker.
  if (options.separateUVs && store.numTVerts > 0) separateTextureVertices(store);

  // The file holds the unrotated positions unless asked otherwise; vertices
  // hold the rotated ones. Swapping the arrays costs no copy.
  const bool exchange = !options.useRotation && store.baseVertices.size() == store.vertices.size();
  if (exchange) std::swap(store.vertices, store.baseVertices);

  ui.beginProgress(progressRange(store, options));
  const bool written = writeFile(store, path, options, ui);
  ui.endProgress();

  if (exchange) std::swap(store.vertices, store.baseVertices);
  expandTextureVertices(store, false);
  ui.setBusy(false);

  if (!written) ui.showMessage("Error", "Error writing to file", MessageIcon::Error);
  return written;
}

}  // namespace corvina
