#pragma once
// Reading a Wavefront OBJ file into the model store. The file's bytes are
// read into memory once; three passes over them (count, parse, index), each
// on chunks of the file on several threads, allocate every array once at its
// final size and fill it. The reader reports progress and returns an outcome; showing the
// statistics, the out-of-range question and the messages is the open
// operation's part.

#include <cstdint>
#include <functional>
#include <string>

#include "files/obj_line_reader.h"
#include "files/obj_line_source.h"
#include "files/obj_reader_chunks.h"
#include "files/obj_reader_passes.h"
#include "model/model_store.h"
#include "model/progress_sink.h"

namespace corvina {

enum class ObjReadOutcome {
  Read,                 // the store holds the file's model
  CannotOpen,           // the file cannot be opened; the store is unchanged
  ReadFailed,           // a read error; the model is released
  ChangedWhileReading,  // the file changed between the passes; the model is released
  NoFacets,             // no facet statement; the counts are 0
  NoVertices,           // facets but no vertex; the counts are 0
  InsufficientMemory,   // the model cannot be held; the model is released
};

// Seams for tests and the fuzz target; the defaults are what a load uses.
struct ObjReadOptions {
  std::size_t chunkSize = ObjLineReader::kDefaultChunkSize;
  bool fastPath = true;
  int threads = 0;                                       // 0: one per core
  std::size_t minimumChunkBytes = std::size_t{1} << 20;  // smaller files use fewer threads
  std::int64_t countLimit = kLargestStoreCount;          // the largest count the store takes
  bool (*allocate)(ModelStore&) = allocateModel;
  // Runs a pass's chunks (as runObjChunks does); the fuzz target keeps its
  // threads from one input to the next.
  void (*runChunks)(std::size_t count, const std::function<void(std::size_t)>& work,
                    const std::function<void()>& whileWaiting) = runObjChunks;
};

// Reads the model from `source` into the store: modelLoaded becomes
// kModelNone and the counts 0 first; on Read the store holds the elements,
// the set tables, the kept lines, the facet stream with every corner's set
// indices assigned (as assignSetIndices assigns them) and every flags word 0,
// and the file's map settings, in the compact
// texture form, still with modelLoaded kModelNone. A progress bar of two steps per 256 lines is
// begun once the counts are known; after Read it is still up, for the load's remaining steps to
// end; after any other outcome no bar is left up.
ObjReadOutcome readObjFile(ModelStore& store, ObjByteSource& source, ProgressSink& progress,
                           const ObjReadOptions& options = {});

// The same from the file at `path`; CannotOpen leaves the store as it was.
ObjReadOutcome readObjFile(ModelStore& store, const std::string& path, ProgressSink& progress,
                           const ObjReadOptions& options = {});

}  // namespace corvina
