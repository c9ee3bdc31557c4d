#pragma once
// The long sections of the OBJ and UVS files (vertices, texture vertices,
// normals, facets) formatted in pieces on every core and written in order. A
// piece is formatted from the state a walk from the start would have reached
// there, so the bytes are those of one walk, whatever the number of threads.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "files/obj_write_buffer.h"
#include "model/model_store.h"
#include "model/parallel_parts.h"
#include "model/progress_sink.h"

namespace corvina {

// One shared count of written vertices, texture vertices, normals and facets;
// the progress bar steps at every multiple of 256. Stepped on the thread that
// writes the file, as the pieces are written.
class ObjWriteProgress {
 public:
  explicit ObjWriteProgress(ProgressSink& sink) : sink_(sink) {}
  void advance() {
    if ((++count_ & 255) == 0) sink_.stepProgress();
  }
  // As `elements` calls of advance(): a step at every multiple of 256 passed.
  void advance(std::size_t elements) {
    std::uint64_t steps = (std::uint64_t{count_ & 255u} + elements) >> 8;
    count_ += static_cast<unsigned>(elements);
    for (; steps > 0; --steps) sink_.stepProgress();
  }

 private:
  ProgressSink& sink_;
  unsigned count_ = 0;
};

// Formats format(k, pieces[k].begin, pieces[k].end, buffer) for every piece
// (which returns the elements it wrote, for the progress bar) and writes the
// pieces to `out` in order. On one thread (parallelThreads()) every piece goes
// straight into `out` on the calling thread, in order; on more, one piece per
// thread is formatted at a time, each into a buffer of its own.
using PieceFormat = std::function<std::size_t(std::size_t piece, std::size_t begin, std::size_t end,
                                              ObjWriteBuffer& out)>;
void writePieces(const std::vector<PartRange>& pieces, const PieceFormat& format,
                 ObjWriteBuffer& out, ObjWriteProgress& progress);

// [0, count) in pieces of at most `pieceItems` items.
std::vector<PartRange> itemPieces(std::size_t count, std::size_t pieceItems);

// The position of the end-of-list record among the first `length` records of
// the facet stream, or `length` when there is none.
std::size_t facetListEnd(const std::vector<CornerRecord>& stream, std::size_t length);

// [0, end) in pieces of about `pieceRecords` records; every piece but the
// first starts at a separator, so no facet is cut.
std::vector<PartRange> facetPieces(const std::vector<CornerRecord>& stream, std::size_t end,
                                   std::size_t pieceRecords);

// Items of a vertex section and records of the facet stream per piece: under
// a megabyte of text each, so that the threads finish their pieces close
// together. Tests make them small to cut small models.
struct WritePieceSizes {
  std::size_t items = std::size_t{1} << 14;
  std::size_t records = std::size_t{1} << 15;
};

}  // namespace corvina
