#include "mapping/radial_projection.h"

#include <atomic>
#include <cmath>
#include <new>
#include <vector>

#include "mapping/axis_components.h"
#include "model/stream_ranges.h"

namespace corvina {

float angularU(double angle, int rotation) {
  float u = sanitizeFloat(static_cast<float>((angle + kMapPi) * kMapInverseTwoPi)) +
            static_cast<float>(rotation) * kDegreeFraction;
  if (u > 1.0f) u = u - 1.0f;
  return u;
}

TexVertex cylindricalUv(Vector3 p, Vector3 centre, Vector3 extent, int axis, int rotation) {
  const Vector3 d{p.x - centre.x, p.y - centre.y, p.z - centre.z};
  const Vector3 n = unitVector(d);
  // The angle's two components: X atan2(n.z, n.y), Y atan2(n.x, n.z),
  // Z atan2(n.y, n.x).
  const float along = axis == 0 ? n.z : axis == 1 ? n.x : n.y;
  const float across = axis == 0 ? n.y : axis == 1 ? n.z : n.x;
  // A zero extent would divide 0 by 0: h is then 0, as sanitizeFloat would
  // make of the quotient.
  const float axisExtent = axisComponent(extent, axis);
  const float h = sanitizeFloat(axisExtent == 0.0f ? 0.0f : axisComponent(d, axis) / axisExtent);
  const double angle = std::atan2(static_cast<double>(sanitizeFloat(along)),
                                  static_cast<double>(sanitizeFloat(across)));
  const float v = h * 0.5f + 0.5f;
  const float u = angularU(angle, rotation);
  return TexVertex{sanitizeFloat(u), sanitizeFloat(v), 0};
}

TexVertex sphericalUv(Vector3 p, Vector3 centre, int axis, int rotation) {
  const Vector3 n = unitVector(Vector3{p.x - centre.x, p.y - centre.y, p.z - centre.z});
  // Longitude: X atan2(n.z, n.y), Y atan2(n.x, n.z), Z atan2(n.y, n.x);
  // latitude: atan2(axis component, length across the axis).
  const float along = axis == 0 ? n.z : axis == 1 ? n.x : n.y;
  const float across = axis == 0 ? n.y : axis == 1 ? n.z : n.x;
  const float first = firstAcross(n, axis), second = secondAcross(n, axis);
  const float radius = std::sqrt(first * first + second * second);
  const double longitude = std::atan2(static_cast<double>(along), static_cast<double>(across));
  const double latitude =
      std::atan2(static_cast<double>(axisComponent(n, axis)), static_cast<double>(radius));
  const float v = static_cast<float>((latitude + kMapHalfPi) * kMapInversePi);
  const float u = angularU(longitude, rotation);
  return TexVertex{sanitizeFloat(u), sanitizeFloat(v), 0};
}

void mapCornersByVertex(const MappingArrays& arrays, bool selectionActive,
                        const std::function<TexVertex(Vector3)>& uvOf) {
  const std::size_t end = listEndOf(arrays);
  const std::size_t vertexCount = arrays.vertexCount;
  // The corners that take part, with a vertex and a texture vertex.
  auto target = [&](const CornerRecord& record) -> TexVertex* {
    if (!participates(record, selectionActive) || arrays.vertexOf(record) == nullptr)
      return nullptr;
    return arrays.texVertexOf(record);
  };
  auto set = [](TexVertex* uv, const TexVertex& result) {
    uv->u = result.u;
    uv->v = result.v;
  };
  // A vertex's (u, v) depends on its position only, so each is worked out
  // once; the cache is an optimisation and is done without when its memory
  // cannot be had.
  std::vector<TexVertex> perVertex;
  std::vector<std::uint8_t> known;
  try {
    perVertex.resize(vertexCount);
    known.assign(vertexCount, 0);
  } catch (const std::bad_alloc&) {
    forEachRange(end, kStreamRangeRecords, [&](std::size_t begin, std::size_t stop) {
      for (std::size_t i = begin; i < stop; ++i) {
        const CornerRecord& record = arrays.records[i];
        if (TexVertex* uv = target(record)) set(uv, uvOf(positionOf(*arrays.vertexOf(record))));
      }
    });
    return;
  }
  const std::vector<PartRange> ranges =
      splitRange(end, parallelMinimum(kStreamRangeRecords), parallelThreads());
  if (ranges.size() == 1) {
    // One thread: each vertex worked out at its first corner, in one pass.
    for (std::size_t i = 0; i < end; ++i) {
      const CornerRecord& record = arrays.records[i];
      TexVertex* uv = target(record);
      if (uv == nullptr) continue;
      const std::size_t k = static_cast<std::size_t>(record.vertex) - 1;
      if (!known[k]) {
        perVertex[k] = uvOf(positionOf(arrays.vertices[k]));
        known[k] = 1;
      }
      set(uv, perVertex[k]);
    }
    return;
  }
  // On several: the vertices the corners use (several threads may mark one),
  // their (u, v), then the corners'.
  runRanges(ranges, [&](std::size_t begin, std::size_t stop) {
    for (std::size_t i = begin; i < stop; ++i) {
      const CornerRecord& record = arrays.records[i];
      if (target(record) == nullptr) continue;
      std::atomic_ref<std::uint8_t>(known[static_cast<std::size_t>(record.vertex) - 1])
          .store(1, std::memory_order_relaxed);
    }
  });
  forEachRange(vertexCount, kStreamRangeRecords, [&](std::size_t begin, std::size_t stop) {
    for (std::size_t k = begin; k < stop; ++k) {
      if (known[k]) perVertex[k] = uvOf(positionOf(arrays.vertices[k]));
    }
  });
  runRanges(ranges, [&](std::size_t begin, std::size_t stop) {
    for (std::size_t i = begin; i < stop; ++i) {
      const CornerRecord& record = arrays.records[i];
      if (TexVertex* uv = target(record))
        set(uv, perVertex[static_cast<std::size_t>(record.vertex) - 1]);
    }
  });
}

namespace {

struct FacetCorners {
  std::size_t first = 0;
  std::size_t end = 0;  // one past the facet's last corner
};

bool onAxis(const Vertex& p, Vector3 centre, Vector3 tolerance, int axis) {
  const Vector3 q = positionOf(p);
  return std::fabs(firstAcross(q, axis) - firstAcross(centre, axis)) <
             firstAcross(tolerance, axis) &&
         std::fabs(secondAcross(q, axis) - secondAcross(centre, axis)) <
             secondAcross(tolerance, axis);
}

void repairFacet(const MappingArrays& arrays, bool selectionActive, FacetCorners facet,
                 Vector3 centre, Vector3 tolerance, int axis, bool spreadAtPoles) {
  auto cornerUv = [&](std::size_t j) -> TexVertex* {
    const CornerRecord& record = arrays.records[j];
    if (!participates(record, selectionActive) || arrays.vertexOf(record) == nullptr)
      return nullptr;
    return arrays.texVertexOf(record);
  };
  float umin = 100000.0f, umax = -100000.0f;
  for (std::size_t j = facet.first; j < facet.end; ++j) {
    if (const TexVertex* uv = cornerUv(j)) {
      if (uv->u < umin) umin = uv->u;
      if (uv->u > umax) umax = uv->u;
    }
  }
  if (umax - umin > 0.6f) {
    // The facet straddles the seam: its right-hand corners move left of 0.
    for (std::size_t j = facet.first; j < facet.end; ++j) {
      if (TexVertex* uv = cornerUv(j); uv != nullptr && uv->u > 0.6f) uv->u = uv->u - 1.0f;
    }
  }
  if (!spreadAtPoles) return;
  float rimMin = 100000.0f, rimMax = -100000.0f;
  bool anyRim = false, anyPole = false;
  for (std::size_t j = facet.first; j < facet.end; ++j) {
    const TexVertex* uv = cornerUv(j);
    if (uv == nullptr) continue;
    if (onAxis(*arrays.vertexOf(arrays.records[j]), centre, tolerance, axis)) {
      anyPole = true;
      continue;
    }
    anyRim = true;
    if (uv->u < rimMin) rimMin = uv->u;
    if (uv->u > rimMax) rimMax = uv->u;
  }
  if (!anyRim || !anyPole) return;
  const float middle = (rimMin + rimMax) * 0.5f;
  for (std::size_t j = facet.first; j < facet.end; ++j) {
    TexVertex* uv = cornerUv(j);
    if (uv != nullptr && onAxis(*arrays.vertexOf(arrays.records[j]), centre, tolerance, axis))
      uv->u = middle;
  }
}

}  // namespace

UvRange repairSeamsAndPoles(const MappingArrays& arrays, bool selectionActive,
                            const BoundingBox& box, Vector3 centre, int axis, bool spreadAtPoles) {
  const Vector3 tolerance{box.extent.x * 0.001f, box.extent.y * 0.001f, box.extent.z * 0.001f};
  // The walk passes every separator, so ranges that start at separators are
  // repaired apart; their ranges of (u, v) combine in stream order.
  const std::size_t end = listEndOf(arrays);
  const std::vector<UvRange> parts = mapEachRange<UvRange>(
      facetRangesForThreads(arrays.records, end), [&](std::size_t begin, std::size_t stop) {
        UvRange range;
        std::size_t i = begin;
        while (i < stop) {
          if (!participates(arrays.records[i], selectionActive)) {
            ++i;
            continue;
          }
          FacetCorners facet{i, i};
          while (facet.end < stop && arrays.records[facet.end].vertex > 0) ++facet.end;
          repairFacet(arrays, selectionActive, facet, centre, tolerance, axis, spreadAtPoles);
          for (std::size_t j = facet.first; j < facet.end; ++j) {
            if (const TexVertex* t = normalisedCorner(arrays, arrays.records[j], selectionActive))
              range.include(*t);
          }
          i = facet.end;
        }
        return range;
      });
  UvRange range = parts.front();
  for (std::size_t k = 1; k < parts.size(); ++k) range.follow(parts[k]);
  return range;
}

float largerCrossExtent(Vector3 extent, int axis) {
  const float a = firstAcross(extent, axis), b = secondAcross(extent, axis);
  return a > b ? a : b;
}

Vector3 offsetCentre(const BoundingBox& box, const RadialMappingOptions& options) {
  return Vector3{box.minimum.x + box.extent.x * 0.5f + options.offsetX,
                 box.minimum.y + box.extent.y * 0.5f + options.offsetY,
                 box.minimum.z + box.extent.z * 0.5f + options.offsetZ};
}

void finishRadialLayout(ModelStore& store, SelectionState& selection,
                        const RadialMappingOptions& options, LayoutExtents layout, int mapHeight,
                        ClientSize view) {
  if (!selection.selectionActive) {
    store.mapWidth = options.mapSize;
    store.mapHeight = mapHeight;
  } else {
    endProjectionInSelection(selection, store, layout, options.gaps, options.scaleResult, view);
  }
}

}  // namespace corvina
