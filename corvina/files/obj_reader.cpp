#include "files/obj_reader.h"

#include "files/obj_reader_chunks.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

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

ObjReadOutcome wholeReadOutcome(ObjWholeRead read) {
  switch (read) {
    case ObjWholeRead::Changed:
      return ObjReadOutcome::ChangedWhileReading;
    case ObjWholeRead::NoMemory:
      return ObjReadOutcome::InsufficientMemory;
    case ObjWholeRead::Failed:
    case ObjWholeRead::Read:
      break;
  }
  return ObjReadOutcome::ReadFailed;
}

// Runs one pass over every chunk; false when any chunk's pass returned false.
// The calling thread steps the progress bar while it waits.
template <typename Pass>
bool runPass(const std::vector<std::string_view>& chunks, const ObjReadOptions& options,
             ObjProgressCount* progress, Pass pass) {
  std::vector<char> passed(chunks.size(), 0);
  options.runChunks(
      chunks.size(),
      [&](std::size_t k) {
        if (objChunkEndsItsLines(chunks[k])) {
          ObjLineReader reader(chunks[k], options.fastPath);
          passed[k] = pass(k, reader) ? 1 : 0;
        } else {
          // The input's last line ends without a line end: read through a
          // buffer that puts one after it, no larger than the chunk needs.
          ObjMemorySource source(chunks[k]);
          ObjLineReader reader(source, std::min(options.chunkSize, chunks[k].size() + 1),
                               options.fastPath);
          passed[k] = pass(k, reader) ? 1 : 0;
        }
      },
      [&] {
        if (progress != nullptr) progress->pump();
      });
  if (progress != nullptr) progress->pump();
  return std::all_of(passed.begin(), passed.end(), [](char ok) { return ok != 0; });
}

// The read's steps; `progressShown` tells the caller whether the bar is up
// when an allocation fails on the way.
ObjReadOutcome readSteps(ModelStore& store, ObjByteSource& source, ProgressSink& progress,
                         const ObjReadOptions& options, bool& progressShown) {
  store.modelLoaded = kModelNone;
  store.texVerticesExpanded = 0;
  resetModelCounts(store);

  LargeBlock block;
  std::string_view input;
  const ObjWholeRead read = source.readWhole(block, input);
  if (read != ObjWholeRead::Read) {
    releaseModel(store);
    return wholeReadOutcome(read);
  }
  const std::vector<std::string_view> chunks =
      splitObjInput(input, objReadThreads(options.threads), options.minimumChunkBytes);
  const std::size_t chunkCount = chunks.size();

  std::vector<ObjCounts> own(chunkCount);
  runPass(chunks, options, nullptr,
          [&](std::size_t k, ObjLineReader& reader) { return countObjChunk(reader, own[k]); });
  // Each chunk starts from the counts of the chunks before it.
  std::vector<ObjCounts> before(chunkCount);
  ObjCounts counts;
  for (std::size_t k = 0; k < chunkCount; ++k) {
    before[k] = counts;
    addObjCounts(counts, own[k]);
  }
  ++counts.cornerRecords;  // the end-of-list record
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

  ObjProgressCount steps(progress);
  std::vector<ObjChunkStatements> gathered(chunkCount);
  if (!runPass(chunks, options, &steps, [&](std::size_t k, ObjLineReader& reader) {
        ObjLoadProgress chunkProgress(steps, k == 0);
        return parseObjChunk(reader, store, before[k], own[k], chunkProgress, gathered[k]);
      })) {
    return fail(ObjReadOutcome::ChangedWhileReading);
  }
  ObjMapSettings settings;
  if (!mergeObjChunkStatements(gathered, before, store, settings)) {
    return fail(ObjReadOutcome::ChangedWhileReading);
  }
  gathered = {};
  std::vector<int> separators(chunkCount, 0);
  if (!runPass(chunks, options, &steps, [&](std::size_t k, ObjLineReader& reader) {
        ObjLoadProgress chunkProgress(steps, k == 0);
        return indexObjChunk(reader, store, before[k], own[k], chunkProgress, separators[k]);
      })) {
    return fail(ObjReadOutcome::ChangedWhileReading);
  }
  finishObjChunkFacets(before, own, separators, store);
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
