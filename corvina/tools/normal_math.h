#pragma once
// Vector arithmetic on normals, in single precision as the model stores them.

#include <cmath>
#include <cstring>

#include "model/model_store.h"

namespace corvina {

// The vector divided by its length; a zero vector stays zero (there is no
// direction to keep, and dividing would give NaN).
inline Normal normalised(Normal n) {
  const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (!(length > 0.0f)) return Normal{};
  return Normal{n.x / length, n.y / length, n.z / length};
}

// The normalised mean of two normals; two opposite normals give zero.
inline Normal normalisedMean(const Normal& a, const Normal& b) {
  return normalised(Normal{(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f, (a.z + b.z) / 2.0f});
}

// Equal bit for bit (so 0.0 and -0.0 differ, and a NaN equals itself).
inline bool sameBits(const Normal& a, const Normal& b) {
  return std::memcmp(&a.x, &b.x, sizeof(float)) == 0 &&
         std::memcmp(&a.y, &b.y, sizeof(float)) == 0 && std::memcmp(&a.z, &b.z, sizeof(float)) == 0;
}

}  // namespace corvina
