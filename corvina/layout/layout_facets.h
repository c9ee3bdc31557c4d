#pragma once
// The facets of the layout pictures in picture coordinates: x = u * width,
// y = (1 - v) * height from the top left, mirrored by the flips. Facets with
// a corner outside the texture vertices, a corner without a coordinate or
// (when excluded) a hidden corner are left out.

#include <cstdint>
#include <vector>

#include "model/model_store.h"

namespace corvina {

struct LayoutFacets {
  std::vector<double> points;        // x, y of every corner of every facet
  std::vector<std::uint32_t> first;  // per facet: its first point, plus one past the last
  std::vector<std::uint16_t> group, material, region;  // per facet: its sets
};

struct LayoutFrame {
  int width = 1, height = 1;
  bool flipV = false, flipH = false;
  bool excludeHidden = false;
};

// False when the memory cannot be had.
bool layoutFacets(const ModelStore& store, const LayoutFrame& frame, LayoutFacets& facets);

// The set index of facet f by kind: 0 group, 1 material, 2 region.
inline std::uint16_t facetSet(const LayoutFacets& facets, std::size_t f, int kind) {
  const std::vector<std::uint16_t>& sets = kind == 0   ? facets.group
                                           : kind == 1 ? facets.material
                                                       : facets.region;
  return sets[f];
}

}  // namespace corvina
