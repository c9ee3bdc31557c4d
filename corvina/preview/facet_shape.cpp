#include "preview/facet_shape.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/model_walk.h"

namespace corvina {

namespace {

struct Point3 {
  double x = 0, y = 0, z = 0;
};
struct Point2 {
  double x = 0, y = 0;
};

// The sides of a corner as the two numbers of its angle: the length of their
// cross product and their dot product (the angle is atan2 of the two).
struct CornerSides {
  double cross = 0, dot = 0;
};

CornerSides sidesOf(const Point2& prev, const Point2& at, const Point2& next) {
  const double ax = prev.x - at.x, ay = prev.y - at.y;
  const double bx = next.x - at.x, by = next.y - at.y;
  return {std::fabs(ax * by - ay * bx), ax * bx + ay * by};
}

CornerSides sidesOf(const Point3& prev, const Point3& at, const Point3& next) {
  const double ax = prev.x - at.x, ay = prev.y - at.y, az = prev.z - at.z;
  const double bx = next.x - at.x, by = next.y - at.y, bz = next.z - at.z;
  const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
  return {std::sqrt(cx * cx + cy * cy + cz * cz), ax * bx + ay * by + az * bz};
}

// |angle(a) - angle(b)| in degrees, both angles from 0 to 180, with one
// atan2: the difference of two angles is the angle of (cos, sin) of one
// turned back by the other. Each pair is scaled to at most 1 first, so the
// products neither overflow nor vanish. A corner with a side of zero length
// has angle 0.
double angleDifference(CornerSides a, CornerSides b) {
  constexpr double kDegrees = 180.0 / 3.14159265358979323846;
  const double na = std::max(a.cross, std::fabs(a.dot)), nb = std::max(b.cross, std::fabs(b.dot));
  if (na == 0) return std::atan2(b.cross, b.dot) * kDegrees;
  if (nb == 0) return std::atan2(a.cross, a.dot) * kDegrees;
  a = {a.cross / na, a.dot / na};
  b = {b.cross / nb, b.dot / nb};
  return std::fabs(
             std::atan2(a.cross * b.dot - a.dot * b.cross, a.dot * b.dot + a.cross * b.cross)) *
         kDegrees;
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
                             const SelectionState* pendingMove, bool withAngles) {
  FacetShape shape;
  for (std::size_t j = first; j < end; ++j)
    if (isCornerSelected(store.facetStream[j])) shape.selected = true;
  if (end < first + 3) return shape;

  // Each corner's two points read once; facets of up to kKept corners (nearly
  // all) need no allocation.
  constexpr std::size_t kKept = 8;
  const std::size_t count = end - first;
  Point3 modelKept[kKept];
  Point2 mapKept[kKept];
  std::vector<Point3> modelMore;
  std::vector<Point2> mapMore;
  if (count > kKept) {
    modelMore.resize(count);
    mapMore.resize(count);
  }
  Point3* model = count > kKept ? modelMore.data() : modelKept;
  Point2* map = count > kKept ? mapMore.data() : mapKept;
  for (std::size_t k = 0; k < count; ++k) {
    const CornerRecord& corner = store.facetStream[first + k];
    if (!validIndex(corner.vertex, store.numVerts, store.vertices.size())) return shape;
    const Vertex& v = store.vertices[static_cast<std::size_t>(corner.vertex) - 1];
    model[k] = {v.x, v.y, v.z};
    if (!std::isfinite(model[k].x) || !std::isfinite(model[k].y) || !std::isfinite(model[k].z))
      return shape;
    if (!mapPoint(store, corner, pendingMove, map[k])) return shape;
  }

  // Areas by the fan from the first corner.
  double cx = 0, cy = 0, cz = 0, twiceMap = 0;
  for (std::size_t k = 1; k + 1 < count; ++k) {
    const Point3 &m0 = model[0], &m1 = model[k], &m2 = model[k + 1];
    const double ax = m1.x - m0.x, ay = m1.y - m0.y, az = m1.z - m0.z;
    const double bx = m2.x - m0.x, by = m2.y - m0.y, bz = m2.z - m0.z;
    cx += ay * bz - az * by;
    cy += az * bx - ax * bz;
    cz += ax * by - ay * bx;
    const Point2 &t0 = map[0], &t1 = map[k], &t2 = map[k + 1];
    twiceMap += (t1.x - t0.x) * (t2.y - t0.y) - (t1.y - t0.y) * (t2.x - t0.x);
  }
  shape.modelArea = 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
  shape.mapArea = 0.5 * std::fabs(twiceMap);
  if (!std::isfinite(shape.modelArea) || !std::isfinite(shape.mapArea) || shape.modelArea <= 0) {
    shape.modelArea = 0;
    shape.mapArea = 0;
    return shape;
  }
  shape.measured = true;
  if (!withAngles) return shape;

  // Angles: the map in texels, so a square on a 2:1 map is a 2:1 rectangle.
  const double width = std::max(1, store.mapWidth), height = std::max(1, store.mapHeight);
  for (std::size_t k = 0; k < count; ++k) map[k] = {map[k].x * width, map[k].y * height};
  double worst = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t prev = k == 0 ? count - 1 : k - 1;
    const std::size_t next = k + 1 == count ? 0 : k + 1;
    const double difference = angleDifference(sidesOf(map[prev], map[k], map[next]),
                                              sidesOf(model[prev], model[k], model[next]));
    if (std::isfinite(difference)) worst = std::max(worst, difference);
  }
  shape.angleError = worst;
  return shape;
}

}  // namespace corvina
