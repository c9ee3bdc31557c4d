#pragma once
// The small vector operations the projections share. Every result that a
// projection stores passes through sanitizeFloat, so zeros, denormals,
// infinities and NaN never reach a texture coordinate.

#include <cmath>
#include <cstddef>

#include "model/model_store.h"

namespace corvina {

struct Vector3 {
  float x = 0, y = 0, z = 0;
};

// x when 1.1754944e-38 <= |x| <= 3.4028235e38 and (x >= 0 or |x| >= 1e-6);
// otherwise 0. NaN, infinities, zeros, denormals and tiny negatives become 0.
inline float sanitizeFloat(float x) {
  const float magnitude = std::fabs(x);
  // NaN fails every comparison and falls through to 0. The tests are
  // combined without short-circuits so that no branch depends on the sign
  // of the value, which is random over a model's facets.
  const bool keep = (magnitude >= 1.1754944e-38f) & (magnitude <= 3.4028235e38f) &
                    ((x >= 0.0f) | (magnitude >= 1e-6f));
  return keep ? x : 0.0f;
}

// v scaled to length 1, each component sanitised; (0, 0, 0) for a zero (or
// non-finite) length.
Vector3 unitVector(Vector3 v);

float dotProduct(Vector3 a, Vector3 b);

// a x b, each component sanitised.
Vector3 crossProduct(Vector3 a, Vector3 b);

// e1 x e2 (not normalised) with e1 = p1 - p0 and e2 = p2 - p1 over the first
// three corners of the facet that follows the separator at `separator`. A
// facet with fewer than three corners, or with a corner whose vertex index
// is outside the vertex array, has no plane: the result is (0, 0, 0). Never
// reads past the facet or the stream.
Vector3 facetNormal(const ModelStore& store, std::size_t separator);

struct MappingArrays;
// The same over arrays a projection has already looked up.
Vector3 facetNormal(const MappingArrays& arrays, std::size_t separator);

}  // namespace corvina
