#include "files/obj_reader.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace corvina {

namespace {

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

// A pass that stopped early: the source failed, or the file no longer
// matches what the earlier passes read.
ObjReadOutcome stoppedPass(const ObjLineReader& reader) {
  return reader.failed() ? ObjReadOutcome::ReadFailed : ObjReadOutcome::ChangedWhileReading;
}

// The read's steps; `progressShown` tells the caller whether the bar is up
// when an allocation fails on the way.
ObjReadOutcome readSteps(ModelStore& store, ObjByteSource& source, ProgressSink& progress,
                         const ObjReadOptions& options, bool& progressShown) {
  store.modelLoaded = kModelNone;
  store.texVerticesExpanded = 0;
  resetModelCounts(store);

  ObjLineReader reader(source, options.chunkSize, options.fastPath);
  ObjCounts counts;
  if (!countObjStatements(reader, counts)) {
    releaseModel(store);
    return ObjReadOutcome::ReadFailed;
  }
  // Counts beyond what the store's indices can address cannot be loaded, so
  // they fail like an allocation that cannot be had.
  if (!objCountsFitStore(counts, options.countLimit)) {
    releaseModel(store);
    return ObjReadOutcome::InsufficientMemory;
  }
  if (counts.facets < 1 || counts.vertices < 1) {
    resetModelCounts(store);
    return counts.facets < 1 ? ObjReadOutcome::NoFacets : ObjReadOutcome::NoVertices;
  }

  progress.beginProgress(progressRange(counts.lines));
  progressShown = true;
  setStoreCounts(counts, store);
  auto fail = [&](ObjReadOutcome outcome) {
    progress.endProgress();
    progressShown = false;
    releaseModel(store);
    return outcome;
  };
  if (!options.allocate(store)) return fail(ObjReadOutcome::InsufficientMemory);

  ObjLoadProgress steps(progress);
  ObjMapSettings settings;
  if (!reader.rewind()) return fail(ObjReadOutcome::ReadFailed);
  if (!parseObjElements(reader, store, steps, settings)) return fail(stoppedPass(reader));
  if (!reader.rewind()) return fail(ObjReadOutcome::ReadFailed);
  if (!indexObjFacets(reader, store, steps)) return fail(stoppedPass(reader));
  applyMapSettings(settings, store);
  return ObjReadOutcome::Read;
}

}  // namespace

ObjReadOutcome readObjFile(ModelStore& store, ObjByteSource& source, ProgressSink& progress,
                           const ObjReadOptions& options) {
  bool progressShown = false;
  try {
    return readSteps(store, source, progress, options, progressShown);
  } catch (const std::bad_alloc&) {
    // Any allocation of the read may fail (the set tables of a file with
    // very many distinct names): the model is released, so the caller's
    // message has memory to be shown with.
  } catch (const std::length_error&) {
  }
  releaseModel(store);
  if (progressShown) progress.endProgress();
  return ObjReadOutcome::InsufficientMemory;
}

ObjReadOutcome readObjFile(ModelStore& store, const std::string& path, ProgressSink& progress,
                           const ObjReadOptions& options) {
  ObjFileSource source;
  if (!source.open(path)) return ObjReadOutcome::CannotOpen;
  return readObjFile(store, source, progress, options);
}

}  // namespace corvina
