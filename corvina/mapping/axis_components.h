#pragma once
// Picking vector components by axis number (0 X, 1 Y, 2 Z); any other number
// reads as Z, so a record with a stray alignment still maps along an axis.

#include "mapping/vector_math.h"

namespace corvina {

inline float axisComponent(Vector3 v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// The two coordinates across an axis, in the order the projections use them
// as (first, second): X -> (y, z), Y -> (x, z), Z -> (x, y).
inline float firstAcross(Vector3 v, int axis) {
  return axis == 0 ? v.y : v.x;
}
inline float secondAcross(Vector3 v, int axis) {
  return axis == 2 ? v.y : v.z;
}

inline Vector3 positionOf(const Vertex& vertex) {
  return Vector3{vertex.x, vertex.y, vertex.z};
}

}  // namespace corvina
