#pragma once
// The order in which the view draws facet outlines, apart from how it draws
// them: the full composition, the layer of lines that stay while the frame
// moves and the lines that move all walk the facet stream the same way, so
// the n-th line is the same line in each.
//
// For every visible facet in stream order: each corner in turn, then the line
// from the previous corner to it (in the pen of the corner reached), and at
// the facet's last corner the closing line back to its first corner (in the
// pen of the last corner; a facet of one corner closes on itself). Hidden
// facets draw nothing. The walk stops at the end-of-list record or at the
// stream's counted length.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "model/model_store.h"

namespace corvina::painter {

class OutlineSource {
 public:
  explicit OutlineSource(const ModelStore& store) : store_(store) {
    const std::size_t records =
        store.numCornerRecords > 0 ? static_cast<std::size_t>(store.numCornerRecords) : 0;
    length_ = std::min(store.facetStream.size(), records);
    const std::size_t texCount =
        store.numTVerts > 0 ? static_cast<std::size_t>(store.numTVerts) : 0;
    texCount_ = std::min(store.texVertices.size(), texCount);
  }

  const CornerRecord& record(std::size_t j) const { return store_.facetStream[j]; }

  // A texture index outside the texture vertices reads as the no-UV marker
  // rather than past the end of the array.
  const TexVertex& uvOf(const CornerRecord& record) const {
    static const TexVertex kNoUvMarker{kNoUvU, kNoUvV, 0.0f};
    if (record.texVertex < 1 || static_cast<std::size_t>(record.texVertex) > texCount_)
      return kNoUvMarker;
    return store_.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
  }

  // The records the walk may visit: [0, length).
  std::size_t length() const { return length_; }

  // Walks the outlines, calling visitor.corner(j) for each visible corner and
  // visitor.line(from, to, pen) for each line (stream indices). Returns
  // whether every tested corner lacks coordinates: each visible facet's
  // first corner and every corner of a hidden facet is tested, so a model
  // whose only coordinates are hidden shows the hint.
  template <class Visitor>
  bool walk(Visitor& visitor) const {
    return !walkRange(visitor, 0, length_).anyCoordinates;
  }

  // How the walk of one range ended.
  struct RangeEnd {
    bool anyCoordinates = false;  // some tested corner has coordinates
    bool listEnded = false;       // it stopped at the end-of-list record
  };

  // The part of the walk over records [begin, end), where `begin` is 0 or a
  // separator's position: walking consecutive such ranges in order gives the
  // whole walk, up to the first range whose list ended.
  template <class Visitor>
  RangeEnd walkRange(Visitor& visitor, std::size_t begin, std::size_t end) const {
    const std::vector<CornerRecord>& stream = store_.facetStream;
    end = std::min(end, length_);
    RangeEnd result;
    auto noteTested = [&](const CornerRecord& record) {
      const TexVertex& uv = uvOf(record);
      if (uv.u != kNoUvU || uv.v != kNoUvV) result.anyCoordinates = true;
    };
    std::size_t first = 1;
    std::size_t j = std::max<std::size_t>(begin, 1);
    while (j < end) {
      const CornerRecord& record = stream[j];
      if (record.vertex < 0) {
        result.listEnded = true;
        break;
      }
      if (record.vertex == kSeparator) {
        ++j;
        continue;
      }
      if (record.flags & kHiddenBit) {
        while (j < length_ && stream[j].vertex > 0) noteTested(stream[j++]);
        if (j < length_ && stream[j].vertex == kSeparator) ++j;
        continue;
      }
      visitor.corner(j);
      if (stream[j - 1].vertex == kSeparator)
        first = j;
      else
        visitor.line(j - 1, j, j);
      const bool facetEnds = j + 1 >= length_ || stream[j + 1].vertex <= 0;
      if (facetEnds) {
        visitor.line(j, first, j);
        noteTested(stream[first]);
        j += (j + 1 < length_ && stream[j + 1].vertex == kSeparator) ? 2 : 1;
        continue;
      }
      ++j;
    }
    return result;
  }

 private:
  const ModelStore& store_;
  std::size_t length_ = 0, texCount_ = 0;
};

}  // namespace corvina::painter
