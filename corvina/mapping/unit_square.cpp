#include "mapping/unit_square.h"

#include <vector>

#include "model/stream_ranges.h"

namespace corvina {

UnitSquareMap::UnitSquareMap(const UvRange& range, float shrink)
    : uFlat_(!(range.umax - range.umin > 0.0f)),
      vFlat_(!(range.vmax - range.vmin > 0.0f)),
      umin_(range.umin),
      vmin_(range.vmin),
      su_(uFlat_ ? 0.0f : 1.0f / (range.umax - range.umin)),
      sv_(vFlat_ ? 0.0f : 1.0f / (range.vmax - range.vmin)),
      shrink_(shrink) {}

UvRange UnitSquareMap::image(const UvRange& range) const {
  if (range.umin > range.umax) return range;  // nothing was rescaled
  const TexVertex low = (*this)(TexVertex{range.umin, range.vmin, 0});
  const TexVertex high = (*this)(TexVertex{range.umax, range.vmax, 0});
  UvRange mapped;
  mapped.umin = low.u;
  mapped.vmin = low.v;
  mapped.umax = high.u;
  mapped.vmax = high.v;
  return mapped;
}

UvRange normalisedRange(const MappingArrays& arrays, bool selectionActive) {
  const std::size_t end = listEndOf(arrays);
  const std::vector<UvRange> parts =
      mapRanges<UvRange>(end, kStreamRangeRecords, [&](std::size_t begin, std::size_t stop) {
        UvRange range;
        for (std::size_t j = begin; j < stop; ++j) {
          if (const TexVertex* t = normalisedCorner(arrays, arrays.records[j], selectionActive))
            range.include(*t);
        }
        return range;
      });
  UvRange range = parts.front();
  for (std::size_t k = 1; k < parts.size(); ++k) range.follow(parts[k]);
  return range;
}

void applyToNormalisedCorners(const MappingArrays& arrays, bool selectionActive,
                              const UnitSquareMap& map) {
  const std::size_t end = listEndOf(arrays);
  forEachRange(end, kStreamRangeRecords, [&](std::size_t begin, std::size_t stop) {
    for (std::size_t j = begin; j < stop; ++j) {
      if (TexVertex* t = normalisedCorner(arrays, arrays.records[j], selectionActive)) *t = map(*t);
    }
  });
}

void applyToNormalisedCorners(const MappingArrays& arrays, bool selectionActive,
                              const UnitSquareMap& first, const UnitSquareMap& second) {
  const std::size_t end = listEndOf(arrays);
  forEachRange(end, kStreamRangeRecords, [&](std::size_t begin, std::size_t stop) {
    for (std::size_t j = begin; j < stop; ++j) {
      if (TexVertex* t = normalisedCorner(arrays, arrays.records[j], selectionActive))
        *t = second(first(*t));
    }
  });
}

}  // namespace corvina
