#include "preview/facet_shape.h"

#include <algorithm>
#include <cmath>

#include "model/model_walk.h"

namespace corvina {

namespace {

struct Point3 {
  double x = 0, y = 0, z = 0;
};
struct Point2 {
  double x = 0, y = 0;
};

// The angle between two sides from a corner, in degrees, from 0 to 180.
// atan2 of |cross| and dot stays exact near 0 and 180 and gives 0 for a side
// of zero length instead of a NaN.
double sideAngle(double cross, double dot) {
  return std::atan2(std::fabs(cross), dot) * (180.0 / 3.14159265358979323846);
}

double cornerAngle(const Point2& prev, const Point2& at, const Point2& next) {
  const double ax = prev.x - at.x, ay = prev.y - at.y;
  const double bx = next.x - at.x, by = next.y - at.y;
  return sideAngle(ax * by - ay * bx, ax * bx + ay * by);
}

double cornerAngle(const Point3& prev, const Point3& at, const Point3& next) {
  const double ax = prev.x - at.x, ay = prev.y - at.y, az = prev.z - at.z;
  const double bx = next.x - at.x, by = next.y - at.y, bz = next.z - at.z;
  const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
  return sideAngle(std::sqrt(cx * cx + cy * cy + cz * cz), ax * bx + ay * by + az * bz);
}

// The corner's texture coordinate, through the pending move's frame when it
// is selected; false without a real, finite coordinate.
bool mapPoint(const ModelStore& store, const CornerRecord& corner, const SelectionState* move,
              Point2& point) {
  const TexVertex* t = texVertexOf(store, corner);
  if (t == nullptr || isNoUvMarker(*t) || !std::isfinite(t->u) || !std::isfinite(t->v))
    return false;
  double u = t->u, v = t->v;
  if (move != nullptr && move->selectionActive && isCornerSelected(corner)) {
    // The frame works in view coordinates: x = u, y = 1 - v.
    const FrameRect& s = move->source;
    const FrameRect& d = move->target;
    const double scaleX = spanScale(d.right - d.left, s.right - s.left);
    const double scaleY = spanScale(d.bottom - d.top, s.bottom - s.top);
    u = (u - s.left) * scaleX + d.left;
    v = 1.0 - ((1.0 - v - s.top) * scaleY + d.top);
    if (!std::isfinite(u) || !std::isfinite(v)) return false;
  }
  point = {u, v};
  return true;
}

}  // namespace

FacetShape measureFacetShape(const ModelStore& store, std::size_t first, std::size_t end,
                             const SelectionState* pendingMove) {
  FacetShape shape;
  for (std::size_t j = first; j < end; ++j)
    if (isCornerSelected(store.facetStream[j])) shape.selected = true;
  if (end < first + 3) return shape;

  auto modelPoint = [&](std::size_t j, Point3& p) {
    const CornerRecord& corner = store.facetStream[j];
    if (!validIndex(corner.vertex, store.numVerts, store.vertices.size())) return false;
    const Vertex& v = store.vertices[static_cast<std::size_t>(corner.vertex) - 1];
    p = {v.x, v.y, v.z};
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
  };
  auto texturePoint = [&](std::size_t j, Point2& p) {
    return mapPoint(store, store.facetStream[j], pendingMove, p);
  };

  // Areas by the fan from the first corner.
  Point3 m0, m1, m2;
  Point2 t0, t1, t2;
  if (!modelPoint(first, m0) || !texturePoint(first, t0)) return shape;
  double cx = 0, cy = 0, cz = 0, twiceMap = 0;
  for (std::size_t j = first + 1; j + 1 < end; ++j) {
    if (!modelPoint(j, m1) || !modelPoint(j + 1, m2) || !texturePoint(j, t1) ||
        !texturePoint(j + 1, t2))
      return shape;
    const double ax = m1.x - m0.x, ay = m1.y - m0.y, az = m1.z - m0.z;
    const double bx = m2.x - m0.x, by = m2.y - m0.y, bz = m2.z - m0.z;
    cx += ay * bz - az * by;
    cy += az * bx - ax * bz;
    cz += ax * by - ay * bx;
    twiceMap += (t1.x - t0.x) * (t2.y - t0.y) - (t1.y - t0.y) * (t2.x - t0.x);
  }
  shape.modelArea = 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
  shape.mapArea = 0.5 * std::fabs(twiceMap);
  if (!std::isfinite(shape.modelArea) || !std::isfinite(shape.mapArea) || shape.modelArea <= 0) {
    shape.modelArea = 0;
    shape.mapArea = 0;
    return shape;
  }

  // Angles: the map in texels, so a square on a 2:1 map is a 2:1 rectangle.
  const double width = std::max(1, store.mapWidth), height = std::max(1, store.mapHeight);
  auto texel = [&](std::size_t j) {
    Point2 p;
    texturePoint(j, p);  // known to succeed: every corner was read above
    return Point2{p.x * width, p.y * height};
  };
  auto model = [&](std::size_t j) {
    Point3 p;
    modelPoint(j, p);
    return p;
  };
  double worst = 0;
  for (std::size_t j = first; j < end; ++j) {
    const std::size_t prev = j == first ? end - 1 : j - 1;
    const std::size_t next = j + 1 == end ? first : j + 1;
    const double onMap = cornerAngle(texel(prev), texel(j), texel(next));
    const double onModel = cornerAngle(model(prev), model(j), model(next));
    const double difference = std::fabs(onMap - onModel);
    if (std::isfinite(difference)) worst = std::max(worst, difference);
  }
  shape.angleError = worst;
  shape.measured = true;
  return shape;
}

}  // namespace corvina
