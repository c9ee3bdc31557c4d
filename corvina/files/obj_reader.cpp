#include "files/obj_reader.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "model/reports.h"

namespace corvina {

namespace {

void showError(UserInterface& ui, const std::string& text) {
  ui.showMessage("Error", text, MessageIcon::Error);
}

bool texCoordsOutOfRange(const ModelStore& store) {
  return std::any_of(store.texVertices.begin(), store.texVertices.end(), [](const TexVertex& t) {
    return t.u < 0.0f || t.u > 1.0f || t.v < 0.0f || t.v > 1.0f;
  });
}

void applyMapSettings(const ObjMapSettings& settings, ModelStore& store) {
  if (settings.hasSize) {
    store.mapWidth = settings.width;
    store.mapHeight = settings.height;
  }
  if (settings.hasColorMode) store.colorMode = settings.colorMode;
  if (settings.hasPixelsPerUnit) store.pixelsPerUnit = settings.pixelsPerUnit;
}

// The progress range: two passes of L lines, one step per 256 lines.
int progressRange(std::int64_t lines) {
  return static_cast<int>(std::min<std::int64_t>(2 * lines / 256, kLargestStoreCount));
}

}  // namespace

bool openObjModel(ModelStore& store, SelectionState& selection, const std::string& path,
                  UserInterface& ui, const std::function<void()>& clearUndoHistory) {
  ObjFileSource source;
  if (!source.open(path)) {
    showError(ui, "Error opening file");
    return false;
  }
  return readObjModel(store, selection, source, path, ui, clearUndoHistory);
}

namespace {

// The load's steps; `progressShown` tells the caller whether the progress bar
// is up when an allocation fails on the way.
bool readObjModelSteps(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                       const std::string& path, UserInterface& ui,
                       const std::function<void()>& clearUndoHistory, const ObjReadOptions& options,
                       bool& progressShown) {
  store.lastDirectory = directoryOf(path);
  store.modelBaseName = pathWithoutExtension(path);
  commitSelection(store, selection);
  store.modelLoaded = kModelNone;
  store.texVerticesExpanded = 0;
  resetModelCounts(store);

  ObjLineReader reader(source, options.chunkSize, options.fastPath);
  ObjCounts counts;
  if (!countObjStatements(reader, counts)) {
    releaseModel(store);
    showError(ui, "Error opening file");
    return false;
  }
  // Counts beyond what the store's indices can address cannot be loaded, so
  // they fail like an allocation that cannot be had.
  if (!objCountsFitStore(counts, options.countLimit)) {
    releaseModel(store);
    showError(ui, "Insufficient memory");
    return false;
  }
  if (counts.facets < 1 || counts.vertices < 1) {
    resetModelCounts(store);
    ui.refreshViews();
    showError(ui, std::string("This OBJ file has no ") + (counts.facets < 1 ? "facet" : "vertex") +
                      " information");
    return false;
  }

  ui.beginProgress(progressRange(counts.lines));
  progressShown = true;
  setStoreCounts(counts, store);
  // A model that cannot be held is said so; failing silently would look like
  // success to anyone not watching the view.
  if (!options.allocate(store)) {
    ui.endProgress();
    releaseModel(store);
    showError(ui, "Insufficient memory");
    return false;
  }

  ObjLoadProgress progress(ui);
  ObjMapSettings settings;
  const bool read = reader.rewind() && parseObjElements(reader, store, progress, settings) &&
                    reader.rewind() && indexObjFacets(reader, store, progress);
  if (!read) {
    // A read error, or a file that changed between the passes.
    ui.endProgress();
    releaseModel(store);
    showError(ui, "Error opening file");
    return false;
  }
  applyMapSettings(settings, store);

  showStatistics(store, ui);
  assignSetIndices(store);
  if (texCoordsOutOfRange(store) && ui.ask("Warning", kOutOfRangeUvQuestion, MessageIcon::Question,
                                           QuestionButtons::YesNo, Answer::No) == Answer::Yes) {
    normalizeToUnitSquare(store, 0.0f, selection.selectionActive);
  }
  std::copy(store.vertices.begin(), store.vertices.end(), store.baseVertices.begin());
  expandTextureVertices(store, false);
  if (store.texVerticesExpanded != 1) {
    ui.endProgress();
    releaseModel(store);
    showError(ui, "Insufficient memory");
    return false;
  }
  // Every flags word is 0 already: the index pass writes each record with
  // flags 0 and assignSetIndices only clears them, so no second walk over the
  // stream is needed.
  store.modelLoaded = kModelRead;
  ui.endProgress();
  if (clearUndoHistory) clearUndoHistory();
  return true;
}

}  // namespace

bool readObjModel(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                  const std::string& path, UserInterface& ui,
                  const std::function<void()>& clearUndoHistory, const ObjReadOptions& options) {
  bool progressShown = false;
  try {
    return readObjModelSteps(store, selection, source, path, ui, clearUndoHistory, options,
                             progressShown);
  } catch (const std::bad_alloc&) {
    // Any allocation of the load may fail (the set tables of a file with
    // very many distinct names, the statistics text): the model is released
    // first, so the message has memory to be shown with.
  } catch (const std::length_error&) {
  }
  releaseModel(store);
  if (progressShown) ui.endProgress();
  showError(ui, "Insufficient memory");
  return false;
}

}  // namespace corvina
