#include "layout/island_measures.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace corvina {

namespace {

bool realCoordinate(const TexVertex* t) {
  return t != nullptr && !(t->u == kNoUvU && t->v == kNoUvV) && std::isfinite(t->u) &&
         std::isfinite(t->v);
}

const Vertex* cornerVertex(const ModelStore& store, const CornerRecord& corner) {
  if (corner.vertex < 1 || corner.vertex > static_cast<int>(store.vertices.size())) return nullptr;
  return &store.vertices[static_cast<std::size_t>(corner.vertex - 1)];
}

}  // namespace

double facetTextureArea(const ModelStore& store, std::size_t start) {
  const std::vector<CornerRecord>& stream = store.facetStream;
  const std::size_t first = start + 1;
  std::size_t end = first;
  while (end < stream.size() && stream[end].vertex > 0) ++end;
  double twice = 0;
  for (std::size_t j = first; j < end; ++j) {
    const TexVertex* a = cornerTexVertex(store, stream[j]);
    const TexVertex* b = cornerTexVertex(store, stream[j + 1 < end ? j + 1 : first]);
    const double au = a ? a->u : 0.0, av = a ? a->v : 0.0;
    const double bu = b ? b->u : 0.0, bv = b ? b->v : 0.0;
    twice += au * bv - bu * av;
  }
  const double area = std::fabs(twice) * 0.5;
  return std::isfinite(area) ? area : 0.0;
}

double facetSurfaceArea(const ModelStore& store, std::size_t start) {
  const std::vector<CornerRecord>& stream = store.facetStream;
  const std::size_t first = start + 1;
  std::size_t end = first;
  while (end < stream.size() && stream[end].vertex > 0) ++end;
  // Newell's vector area: exact for planar facets, a fair measure otherwise.
  double x = 0, y = 0, z = 0;
  for (std::size_t j = first; j < end; ++j) {
    const Vertex* a = cornerVertex(store, stream[j]);
    const Vertex* b = cornerVertex(store, stream[j + 1 < end ? j + 1 : first]);
    if (a == nullptr || b == nullptr) continue;
    x += (static_cast<double>(a->y) - b->y) * (static_cast<double>(a->z) + b->z);
    y += (static_cast<double>(a->z) - b->z) * (static_cast<double>(a->x) + b->x);
    z += (static_cast<double>(a->x) - b->x) * (static_cast<double>(a->y) + b->y);
  }
  const double area = 0.5 * std::sqrt(x * x + y * y + z * z);
  return std::isfinite(area) ? area : 0.0;
}

bool measureIslands(const ModelStore& store, const UvIslands& islands, IslandMeasures& measures) {
  try {
    const auto count = static_cast<std::size_t>(islands.count);
    measures.bounds.assign(count, UvBounds{1e300, 1e300, -1e300, -1e300});
    measures.textureArea.assign(count, 0.0);
    measures.surfaceArea.assign(count, 0.0);
    measures.movable.assign(count, 1);
    measures.selected.assign(count, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const std::vector<CornerRecord>& stream = store.facetStream;
  for (std::size_t f = 0; f < islands.facetStart.size(); ++f) {
    const auto island = static_cast<std::size_t>(islands.facetIsland[f]);
    const auto start = static_cast<std::size_t>(islands.facetStart[f]);
    UvBounds& bounds = measures.bounds[island];
    for (std::size_t j = start + 1; j < stream.size() && stream[j].vertex > 0; ++j) {
      if ((stream[j].group & kSelectedBit) != 0) measures.selected[island] = 1;
      const TexVertex* t = cornerTexVertex(store, stream[j]);
      if (!realCoordinate(t)) {
        measures.movable[island] = 0;
        continue;
      }
      bounds.minU = std::min<double>(bounds.minU, t->u);
      bounds.minV = std::min<double>(bounds.minV, t->v);
      bounds.maxU = std::max<double>(bounds.maxU, t->u);
      bounds.maxV = std::max<double>(bounds.maxV, t->v);
    }
    measures.textureArea[island] += facetTextureArea(store, start);
    measures.surfaceArea[island] += facetSurfaceArea(store, start);
  }
  // A facet without corners leaves its island's bounds empty: a point at 0.
  for (UvBounds& bounds : measures.bounds)
    if (bounds.minU > bounds.maxU) bounds = UvBounds{};
  return true;
}

}  // namespace corvina
