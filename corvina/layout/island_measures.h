#pragma once
// What the packer and the density tools need to know of each island: its
// texture-space bounds and area, its surface area on the model, and whether
// it can be moved (all its corners carry real texture coordinates) and
// whether the selection touches it.

#include <cstdint>
#include <vector>

#include "layout/uv_islands.h"
#include "model/model_store.h"

namespace corvina {

struct UvBounds {
  double minU = 0, minV = 0, maxU = 0, maxV = 0;
};

struct IslandMeasures {
  std::vector<UvBounds> bounds;
  std::vector<double> textureArea;     // sum of the facets' unsigned areas in (u, v)
  std::vector<double> surfaceArea;     // sum of the facets' areas on the model
  std::vector<std::uint8_t> movable;   // 1 when every corner has a real coordinate
  std::vector<std::uint8_t> selected;  // 1 when a corner has its selected bit
};

// The unsigned area of the facet whose separator is at `start`, in (u, v)
// (shoelace over its corners) and on the model (half the length of its
// vector area). Corners without a texture vertex count as (0, 0).
double facetTextureArea(const ModelStore& store, std::size_t start);
double facetSurfaceArea(const ModelStore& store, std::size_t start);

// Measures every island. False when the memory cannot be had.
bool measureIslands(const ModelStore& store, const UvIslands& islands, IslandMeasures& measures);

}  // namespace corvina
