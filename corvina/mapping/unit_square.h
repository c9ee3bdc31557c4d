#pragma once
// The rescaling of texture coordinates into the unit square that the radial
// projections end with: u := (u - umin) * su with su = 1 / (umax - umin),
// the same for v, then with a shrink factor s: u := s * 0.5 + (1 - s) * u.
// An axis without range goes to 0.5. It is the model store's
// normalizeToUnitSquare, value for value, in a form the projections can fuse
// with their own passes over the stream.

#include "mapping/mapping_frame.h"

namespace corvina {

// The range of u and v over a set of texture coordinates (start 100000 /
// -100000, as the model store's normalisation starts).
struct UvRange {
  float umin = 100000.0f, umax = -100000.0f, vmin = 100000.0f, vmax = -100000.0f;
  void include(const TexVertex& t) {
    // std::min and std::max as the model store's normalisation uses them.
    umin = t.u < umin ? t.u : umin;
    umax = umax < t.u ? t.u : umax;
    vmin = t.v < vmin ? t.v : vmin;
    vmax = vmax < t.v ? t.v : vmax;
  }
  // Takes in the range of the coordinates after these, by the same rule (the
  // first extreme wins), so ranges of parts combine as one walk's range.
  void follow(const UvRange& later) {
    umin = later.umin < umin ? later.umin : umin;
    umax = umax < later.umax ? later.umax : umax;
    vmin = later.vmin < vmin ? later.vmin : vmin;
    vmax = vmax < later.vmax ? later.vmax : vmax;
  }
};

class UnitSquareMap {
 public:
  UnitSquareMap(const UvRange& range, float shrink);

  TexVertex operator()(TexVertex t) const {
    t.u = uFlat_ ? 0.5f : (t.u - umin_) * su_;
    t.v = vFlat_ ? 0.5f : (t.v - vmin_) * sv_;
    if (shrink_ != 0.0f) {
      t.u = shrink_ * 0.5f + (1.0f - shrink_) * t.u;
      t.v = shrink_ * 0.5f + (1.0f - shrink_) * t.v;
    }
    return t;
  }

  // The range of the mapped coordinates. Each step of the map is a correctly
  // rounded subtraction or multiplication by a positive number, so the map
  // never reverses order: the ends of a range map to the ends of its image.
  UvRange image(const UvRange& range) const;

 private:
  bool uFlat_, vFlat_;
  float umin_, vmin_, su_, sv_, shrink_;
};

// A corner the normalisation rescales: vertex index > 0, selected or no
// selection active, and a texture vertex inside the array.
inline TexVertex* normalisedCorner(const MappingArrays& arrays, const CornerRecord& record,
                                   bool selectionActive) {
  return participates(record, selectionActive) ? arrays.texVertexOf(record) : nullptr;
}

UvRange normalisedRange(const MappingArrays& arrays, bool selectionActive);

// Applies `map` to every corner the normalisation rescales.
void applyToNormalisedCorners(const MappingArrays& arrays, bool selectionActive,
                              const UnitSquareMap& map);

// Applies `first`, then `second`, in one pass: two normalisations in a row.
void applyToNormalisedCorners(const MappingArrays& arrays, bool selectionActive,
                              const UnitSquareMap& first, const UnitSquareMap& second);

}  // namespace corvina
