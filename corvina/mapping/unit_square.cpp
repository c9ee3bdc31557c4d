#include "mapping/unit_square.h"

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
  UvRange range;
  for (std::size_t j = 0; j < arrays.length; ++j) {
    const CornerRecord& record = arrays.records[j];
    if (record.vertex < 0) break;
    if (const TexVertex* t = normalisedCorner(arrays, record, selectionActive)) range.include(*t);
  }
  return range;
}

void applyToNormalisedCorners(const MappingArrays& arrays, bool selectionActive,
                              const UnitSquareMap& map) {
  for (std::size_t j = 0; j < arrays.length; ++j) {
    const CornerRecord& record = arrays.records[j];
    if (record.vertex < 0) break;
    if (TexVertex* t = normalisedCorner(arrays, record, selectionActive)) *t = map(*t);
  }
}

void applyToNormalisedCorners(const MappingArrays& arrays, bool selectionActive,
                              const UnitSquareMap& first, const UnitSquareMap& second) {
  for (std::size_t j = 0; j < arrays.length; ++j) {
    const CornerRecord& record = arrays.records[j];
    if (record.vertex < 0) break;
    if (TexVertex* t = normalisedCorner(arrays, record, selectionActive)) *t = second(first(*t));
  }
}

}  // namespace corvina
