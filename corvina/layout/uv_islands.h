#pragma once
// The islands of the texture map: facets joined by shared edges whose two
// ends carry the same texture coordinates in both facets. The coordinates are
// compared by value, so the result is the same in the compact and in the
// expanded form of the texture vertices.

#include <cstdint>
#include <vector>

#include "model/model_store.h"

namespace corvina {

struct UvIslands {
  int count = 0;
  // Per facet, in stream order: the position of its separator in the facet
  // stream and the island it belongs to (0 .. count - 1). Islands are
  // numbered in the order of their first facet.
  std::vector<std::int32_t> facetStart;
  std::vector<std::int32_t> facetIsland;
};

// The islands of every facet of the stream. An edge joins two facets when it
// connects the same two vertices in both and each of its ends has equal (u, v)
// in both facets (0.0 and -0.0 count as equal). Facets of zero area, single
// corners and repeated vertices follow the same rule; a corner whose texture
// index is not a texture vertex joins nothing through its edges. Returns false
// when the working memory cannot be had (the result is then empty).
bool findUvIslands(const ModelStore& store, UvIslands& islands);

// The texture coordinate a corner record refers to, or nullptr when its index
// lies outside the texture vertices.
inline const TexVertex* cornerTexVertex(const ModelStore& store, const CornerRecord& corner) {
  if (corner.texVertex < 1 || corner.texVertex > static_cast<int>(store.texVertices.size()))
    return nullptr;
  return &store.texVertices[static_cast<std::size_t>(corner.texVertex - 1)];
}

}  // namespace corvina
