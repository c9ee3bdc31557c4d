#include "files/obj_reader.h"

#include "files/obj_reader_chunks.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <span>
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

// Values kept per chunk. Those of a few chunks (every small file's, a load on
// a few cores) lie inside this object, so such a load allocates none of them.
template <typename T>
class PerChunk {
 public:
  static constexpr std::size_t kInline = 4;

  explicit PerChunk(std::size_t count) : count_(count) {
    if (count > kInline) many_ = std::make_unique<T[]>(count);
  }
  T& operator[](std::size_t k) { return many_ ? many_[k] : few_[k]; }
  std::span<T> all() { return {many_ ? many_.get() : few_, count_}; }

 private:
  std::size_t count_;
  T few_[kInline] = {};
  std::unique_ptr<T[]> many_;
};

// Reads a line reader's worth of a chunk: in place when the chunk ends its
// lines, else (the input's last line has no line end) through a buffer that
// puts the end mark after it, no larger than the chunk needs.
class ChunkReader {
 public:
  ChunkReader(std::string_view chunk, const ObjReadOptions& options)
      : source_(chunk), reader_(readerOf(source_, chunk, options)) {}
  ChunkReader(const ChunkReader&) = delete;
  ChunkReader& operator=(const ChunkReader&) = delete;

  ObjLineReader& reader() { return reader_; }

 private:
  static ObjLineReader readerOf(ObjMemorySource& source, std::string_view chunk,
                                const ObjReadOptions& options) {
    if (objChunkEndsItsLines(chunk)) return ObjLineReader(chunk, options.fastPath);
    return ObjLineReader(source, options.chunkSize, options.fastPath);
  }

  ObjMemorySource source_;
  ObjLineReader reader_;
};

// Runs the load's passes over its chunks through options.runChunks, each
// chunk read by a reader of its own that every pass starts again from the top.
// A pass returns false when its chunk failed; the run of a pass then returns
// false once every chunk has ended.
class ChunkPasses {
 public:
  ChunkPasses(std::span<const std::string_view> chunks, const ObjReadOptions& options)
      : options_(options), readers_(chunks.size()) {
    for (std::size_t k = 0; k < chunks.size(); ++k) readers_[k].emplace(chunks[k], options);
  }

  // The calling thread steps the progress bar while it waits.
  template <typename Pass>
  bool run(ObjProgressCount* progress, Pass pass) {
    std::span<std::optional<ChunkReader>> readers = readers_.all();
    PerChunk<char> passed(readers.size());
    // What the chunks' work needs, reached through one pointer so that the
    // runner's function object holds it without allocating.
    struct Job {
      std::span<std::optional<ChunkReader>> readers;
      Pass& pass;
      PerChunk<char>& passed;
    } job{readers, pass, passed};
    options_.runChunks(
        readers.size(),
        [&job](std::size_t k) {
          ObjLineReader& reader = job.readers[k]->reader();
          job.passed[k] = reader.rewind() && job.pass(k, reader) ? 1 : 0;
        },
        [progress] {
          if (progress != nullptr) progress->pump();
        });
    if (progress != nullptr) progress->pump();
    const std::span<char> all = passed.all();
    return std::all_of(all.begin(), all.end(), [](char ok) { return ok != 0; });
  }

 private:
  const ObjReadOptions& options_;
  PerChunk<std::optional<ChunkReader>> readers_;
};

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
  // An input too small to be cut, or read on one thread, is one chunk, and
  // needs no list of chunks.
  const std::size_t threads = objReadThreads(options.threads);
  std::vector<std::string_view> split;
  std::span<const std::string_view> chunks(&input, 1);
  if (objInputParts(input.size(), threads, options.minimumChunkBytes) > 1) {
    split = splitObjInput(input, threads, options.minimumChunkBytes);
    chunks = split;
  }
  const std::size_t chunkCount = chunks.size();
  ChunkPasses passes(chunks, options);

  PerChunk<ObjCounts> own(chunkCount);
  passes.run(nullptr,
             [&](std::size_t k, ObjLineReader& reader) { return countObjChunk(reader, own[k]); });
  // Each chunk starts from the counts of the chunks before it.
  PerChunk<ObjCounts> before(chunkCount);
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
  ObjMapSettings settings;
  {
    PerChunk<ObjChunkStatements> gathered(chunkCount);
    if (!passes.run(&steps, [&](std::size_t k, ObjLineReader& reader) {
          ObjLoadProgress chunkProgress(steps, k == 0);
          return parseObjChunk(reader, store, before[k], own[k], chunkProgress, gathered[k]);
        })) {
      return fail(ObjReadOutcome::ChangedWhileReading);
    }
    if (!mergeObjChunkStatements(gathered.all(), before.all(), store, settings)) {
      return fail(ObjReadOutcome::ChangedWhileReading);
    }
  }
  PerChunk<int> separators(chunkCount);
  if (!passes.run(&steps, [&](std::size_t k, ObjLineReader& reader) {
        ObjLoadProgress chunkProgress(steps, k == 0);
        return indexObjChunk(reader, store, before[k], own[k], chunkProgress, separators[k]);
      })) {
    return fail(ObjReadOutcome::ChangedWhileReading);
  }
  finishObjChunkFacets(before.all(), own.all(), separators.all(), store);
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
