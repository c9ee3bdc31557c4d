#pragma once
// The three passes the OBJ reader makes over a file: counting sizes every
// array so it is allocated once, parsing fills the elements and set tables,
// indexing builds the facet stream. Each pass reads every line once.

#include <cstdint>
#include <limits>
#include <string_view>

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

// Steps the progress bar once every 256 lines of the parse and index passes.
class ObjLoadProgress {
 public:
  explicit ObjLoadProgress(ProgressSink& sink) : sink_(sink) {}
  void advance() {
    if ((++lines_ & 255) == 0) sink_.stepProgress();
  }

 private:
  ProgressSink& sink_;
  std::uint64_t lines_ = 0;
};

// Counting pass over the whole input. False on a read error.
bool countObjStatements(ObjLineReader& reader, ObjCounts& counts);

// True when every count, the set tables' extra entry included, is at most
// `limit` and every array's size in bytes can be represented.
bool objCountsFitStore(const ObjCounts& counts, std::int64_t limit = kLargestStoreCount);

// Copies the counts into the store's count fields (they must fit).
void setStoreCounts(const ObjCounts& counts, ModelStore& store);

// Parse pass into the allocated store: vertices, texture vertices, normals,
// the three set tables with their sentinels, the kept "s"/"l" lines, and the
// settings of "# x/y/color/ppu " lines. Sets numGroups, numMaterials and
// numRegions. False on a read error or when the input no longer matches the
// counts (the file changed between passes).
bool parseObjElements(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress,
                      ObjMapSettings& settings);

// Index pass: writes the facet stream with resolved 1-based indices and the
// end-of-list record. A corner whose vertex resolves to 0 becomes a plain
// separator, so it opens a facet of its own; numFacets and the facet numbers
// of the set statements and kept lines are brought in line with the
// separators actually written. False on a read error or a changed file.
bool indexObjFacets(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress);

// Resolves one corner index: 0 stays 0, a negative index counts back from
// `next` (the 1-based number the next element of its kind would get), and a
// result outside 1..count becomes 0.
std::int32_t resolveCornerIndex(std::int64_t index, std::int64_t next, std::int64_t count);

}  // namespace corvina
