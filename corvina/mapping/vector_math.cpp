#include "mapping/vector_math.h"

#include <cmath>

#include "mapping/mapping_frame.h"

namespace corvina {

Vector3 unitVector(Vector3 v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  Vector3 unit;
  // An infinite length would turn every finite component into 0 and an
  // infinite one into NaN; both end as 0 through sanitizeFloat below.
  if (length != 0.0f) unit = Vector3{v.x / length, v.y / length, v.z / length};
  return Vector3{sanitizeFloat(unit.x), sanitizeFloat(unit.y), sanitizeFloat(unit.z)};
}

float dotProduct(Vector3 a, Vector3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

namespace {

// Kept inline so facetNormal, which runs at every facet of a projection,
// pays no call.
inline Vector3 sanitizedCross(Vector3 a, Vector3 b) {
  return Vector3{sanitizeFloat(a.y * b.z - a.z * b.y), sanitizeFloat(a.z * b.x - a.x * b.z),
                 sanitizeFloat(a.x * b.y - a.y * b.x)};
}

}  // namespace

Vector3 crossProduct(Vector3 a, Vector3 b) {
  return sanitizedCross(a, b);
}

Vector3 facetNormal(const ModelStore& store, std::size_t separator) {
  return facetNormal(mappingArrays(store), separator);
}

Vector3 facetNormal(const MappingArrays& arrays, std::size_t separator) {
  Vector3 p[3];
  for (std::size_t k = 0; k < 3; ++k) {
    const std::size_t j = separator + 1 + k;
    if (j >= arrays.length) return Vector3{};
    const Vertex* vertex = arrays.vertexOf(arrays.records[j]);
    if (vertex == nullptr) return Vector3{};  // facet ended or index outside the array
    p[k] = Vector3{vertex->x, vertex->y, vertex->z};
  }
  const Vector3 e1{sanitizeFloat(p[1].x - p[0].x), sanitizeFloat(p[1].y - p[0].y),
                   sanitizeFloat(p[1].z - p[0].z)};
  const Vector3 e2{sanitizeFloat(p[2].x - p[1].x), sanitizeFloat(p[2].y - p[1].y),
                   sanitizeFloat(p[2].z - p[1].z)};
  return sanitizedCross(e1, e2);
}

}  // namespace corvina
