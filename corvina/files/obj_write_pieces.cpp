#include "files/obj_write_pieces.h"

#include <algorithm>
#include <memory>

#include "model/stream_ranges.h"

namespace corvina {

void writePieces(const std::vector<PartRange>& pieces, const PieceFormat& format,
                 ObjWriteBuffer& out, ObjWriteProgress& progress) {
  const std::size_t threads = std::min(parallelThreads(), pieces.size());
  if (threads <= 1) {
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      progress.advance(format(k, pieces[k].begin, pieces[k].end, out));
    }
    return;
  }
  // Buffers kept from round to round, so their memory is faulted in once.
  std::vector<std::unique_ptr<ObjWriteBuffer>> buffers;
  for (std::size_t t = 0; t < threads; ++t)
    buffers.push_back(std::make_unique<ObjWriteBuffer>(out.crLf()));
  std::vector<std::size_t> elements(threads);
  for (std::size_t first = 0; first < pieces.size(); first += threads) {
    const std::size_t round = std::min(threads, pieces.size() - first);
    runParts(round, [&](std::size_t t) {
      buffers[t]->clear();
      const PartRange& piece = pieces[first + t];
      elements[t] = format(first + t, piece.begin, piece.end, *buffers[t]);
    });
    for (std::size_t t = 0; t < round; ++t) {
      out.append(buffers[t]->bytes());
      progress.advance(elements[t]);
    }
  }
}

std::vector<PartRange> itemPieces(std::size_t count, std::size_t pieceItems) {
  std::vector<PartRange> pieces;
  if (pieceItems == 0) pieceItems = 1;
  for (std::size_t at = 0; at < count; at += pieceItems) {
    pieces.push_back({at, std::min(count, at + pieceItems)});
  }
  return pieces;
}

std::size_t facetListEnd(const std::vector<CornerRecord>& stream, std::size_t length) {
  return streamListEnd(stream.data(), std::min(length, stream.size()));
}

std::vector<PartRange> facetPieces(const std::vector<CornerRecord>& stream, std::size_t end,
                                   std::size_t pieceRecords) {
  std::vector<PartRange> pieces;
  if (pieceRecords == 0) pieceRecords = 1;
  std::size_t begin = 0;
  while (begin < end) {
    std::size_t border = std::min(end, begin + pieceRecords);
    while (border < end && stream[border].vertex != kSeparator) ++border;
    pieces.push_back({begin, border});
    begin = border;
  }
  return pieces;
}

}  // namespace corvina
