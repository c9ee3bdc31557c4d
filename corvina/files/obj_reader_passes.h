#pragma once
// The three passes the OBJ reader makes over a file: counting sizes every
// array so it is allocated once, parsing fills the elements and set tables,
// indexing builds the facet stream. Each pass reads every line once.
//
// Each pass runs over chunks of whole lines, one chunk per thread. A chunk's
// pass starts from the counts of the chunks before it (`before`) and checks
// its own lines against its own counts (`own`), so the chunks write disjoint
// parts of the arrays. What depends on the whole file before a line (the
// names of the set tables, the facet numbers after split facets, the map
// settings) is gathered per chunk and merged in file order afterwards. The
// whole-input functions are the same passes over a single chunk.

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/obj_line_reader.h"
#include "model/model_store.h"
#include "model/progress_sink.h"

namespace corvina {

// What the counting pass found. 64-bit, so a count that would not fit the
// store is seen rather than wrapped.
struct ObjCounts {
  std::int64_t vertices = 0, texVertices = 0, normals = 0;
  std::int64_t facets = 0;
  std::int64_t cornerRecords = 0;  // separators, corners and the end-of-list record
  std::int64_t groupStatements = 0, materialStatements = 0, regionStatements = 0;
  std::int64_t shapeLines = 0;
  std::int64_t lines = 0;  // every line, statements or not
};

constexpr std::int64_t kLargestStoreCount = std::numeric_limits<std::int32_t>::max();

// The "x/y/color/ppu" values a file gave and that lie in their ranges; the
// store's settings change only for the values present.
struct ObjMapSettings {
  bool hasSize = false;
  int width = 0, height = 0;
  bool hasColorMode = false;
  int colorMode = 0;
  bool hasPixelsPerUnit = false;
  float pixelsPerUnit = 0;
};

// Reads the arguments of a "# x/y/color/ppu " line ("%d/%d/%d/%f") into
// `settings`: nothing unless all four read, and of those only the values
// that lie in their ranges. The UVS import reads its settings line with it.
void readObjMapSettings(std::string_view arguments, ObjMapSettings& settings);

// The lines the parse and index passes have gone through, shared by the
// threads of one load. The progress bar steps once per 256 of them, from the
// thread that owns the bar only.
class ObjProgressCount {
 public:
  explicit ObjProgressCount(ProgressSink& sink) : sink_(sink) {}
  void add(std::uint64_t lines) { lines_.fetch_add(lines, std::memory_order_relaxed); }
  // Steps the bar up to the lines counted so far. On the bar's thread only.
  void pump() {
    const std::uint64_t due = lines_.load(std::memory_order_relaxed) / 256;
    for (; steps_ < due; ++steps_) sink_.stepProgress();
  }

 private:
  ProgressSink& sink_;
  std::atomic<std::uint64_t> lines_{0};
  std::uint64_t steps_ = 0;
};

// One thread's view of the progress: counts its lines and hands them to the
// shared count every 256 lines. Steps the bar once every 256 lines of the
// parse and index passes in total.
class ObjLoadProgress {
 public:
  // Progress of a load on one thread, stepping `sink` itself.
  explicit ObjLoadProgress(ProgressSink& sink) : owned_(std::in_place, sink), count_(&*owned_) {}
  // One chunk's progress; `pumps` on the thread that owns the bar.
  ObjLoadProgress(ObjProgressCount& count, bool pumps) : count_(&count), pumps_(pumps) {}
  ObjLoadProgress(const ObjLoadProgress&) = delete;
  ObjLoadProgress& operator=(const ObjLoadProgress&) = delete;

  void advance() {
    if ((++lines_ & 255) == 0) flush();
  }
  // Hands the lines not yet reported to the shared count (a chunk's end).
  void flush() {
    count_->add(lines_ - reported_);
    reported_ = lines_;
    if (pumps_) count_->pump();
  }

 private:
  std::optional<ObjProgressCount> owned_;
  ObjProgressCount* count_;
  bool pumps_ = true;
  std::uint64_t lines_ = 0;
  std::uint64_t reported_ = 0;
};

// Counting pass over one chunk: its lines and statements, the end-of-list
// record not included. False on a read error.
bool countObjChunk(ObjLineReader& reader, ObjCounts& counts);

// Counting pass over the whole input, the end-of-list record included.
bool countObjStatements(ObjLineReader& reader, ObjCounts& counts);

// total += more, count by count.
void addObjCounts(ObjCounts& total, const ObjCounts& more);

// The counts the store was allocated from, as one chunk's own counts (the
// end-of-list record not included).
ObjCounts objCountsOfStore(const ModelStore& store);

// True when every count, the set tables' extra entry included, is at most
// `limit` and every array's size in bytes can be represented.
bool objCountsFitStore(const ObjCounts& counts, std::int64_t limit = kLargestStoreCount);

// Copies the counts into the store's count fields (they must fit).
void setStoreCounts(const ObjCounts& counts, ModelStore& store);

// What a chunk's parse pass gathers for the merge: its set statements of all
// three tables and its map settings, in file order.
struct ObjChunkStatements {
  enum Table : std::uint8_t { kGroups, kMaterials, kRegions };
  struct Statement {
    Table table;
    std::int32_t facetsBefore;          // facet lines before it in the chunk
    std::size_t nameStart, nameLength;  // in `names`
  };
  std::vector<Statement> statements;
  std::string names;
  ObjMapSettings settings;
};

// Parse pass over one chunk: stores its vertices, texture vertices and
// normals and its kept "s"/"l" lines at the positions after `before`, and
// gathers its set statements and settings into `gathered`. False on a read
// error or when the chunk's lines no longer match `own`.
bool parseObjChunk(ObjLineReader& reader, ModelStore& store, const ObjCounts& before,
                   const ObjCounts& own, ObjLoadProgress& progress, ObjChunkStatements& gathered);

// Records the set statements gathered by the chunks, in chunk order, into the
// store's three tables, writes their sentinels and sets numGroups,
// numMaterials and numRegions; merges the settings into `settings`. False
// when the statements do not match the store's statement counts.
bool mergeObjChunkStatements(std::span<const ObjChunkStatements> chunks,
                             std::span<const ObjCounts> before, ModelStore& store,
                             ObjMapSettings& settings);

// Parse pass into the allocated store: vertices, texture vertices, normals,
// the three set tables with their sentinels, the kept "s"/"l" lines, and the
// settings of "# x/y/color/ppu " lines. Sets numGroups, numMaterials and
// numRegions. False on a read error or when the input no longer matches the
// counts (the file changed between passes).
bool parseObjElements(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress,
                      ObjMapSettings& settings);

// Index pass over one chunk: writes the chunk's records of the facet stream
// from position before.cornerRecords on, each corner with the set indices
// assignSetIndices would give it (the merged set tables are in the store). Facet numbers of its
// statements and kept lines are written counted from the chunk's start; `separators` gets the
// separators it wrote. False on a read error or a changed file.
bool indexObjChunk(ObjLineReader& reader, ModelStore& store, const ObjCounts& before,
                   const ObjCounts& own, ObjLoadProgress& progress, int& separators);

// Turns the chunks' facet numbers into the file's by adding the separators
// of the chunks before, writes the end-of-list record and numFacets.
void finishObjChunkFacets(std::span<const ObjCounts> before, std::span<const ObjCounts> own,
                          std::span<const int> separators, ModelStore& store);

// Index pass: writes the facet stream with resolved 1-based indices and set
// indices, and the end-of-list record. A corner whose vertex resolves to 0 becomes a plain
// separator, so it opens a facet of its own; numFacets and the facet numbers
// of the set statements and kept lines are brought in line with the
// separators actually written. False on a read error or a changed file.
bool indexObjFacets(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress);

// Resolves one corner index: 0 stays 0, a negative index counts back from
// `next` (the 1-based number the next element of its kind would get), and a
// result outside 1..count becomes 0.
std::int32_t resolveCornerIndex(std::int64_t index, std::int64_t next, std::int64_t count);

}  // namespace corvina
