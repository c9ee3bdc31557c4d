#pragma once
// Hand-made models for the projection tests, and ways to read back what a
// projection wrote per facet.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "testing/model_builder.h"

namespace corvina::testing {

// The unit cube from (0, 0, 0) to (1, 1, 1) as six quads wound so that
// facetNormal points out of the cube. Vertex k + 1 has x = bit 2, y = bit 1,
// z = bit 0 of k:
//
//        4-------8        facets in order: +X (5 7 8 6), -X (1 2 4 3),
//       /|      /|        +Y (3 4 8 7), -Y (1 5 6 2), +Z (2 6 8 4),
//      3-------7 |        -Z (1 3 7 5)
//      | 2-----|-6
//      |/      |/         y up, x right, z toward the viewer
//      1-------5
inline ModelStore unitCube(float size = 1.0f) {
  std::vector<Vertex> vertices;
  for (int k = 0; k < 8; ++k)
    vertices.push_back(Vertex{(k & 4) ? size : 0.0f, (k & 2) ? size : 0.0f, (k & 1) ? size : 0.0f});
  return buildModel(vertices, {},
                    {FacetSpec{{5}, {7}, {8}, {6}}, FacetSpec{{1}, {2}, {4}, {3}},
                     FacetSpec{{3}, {4}, {8}, {7}}, FacetSpec{{1}, {5}, {6}, {2}},
                     FacetSpec{{2}, {6}, {8}, {4}}, FacetSpec{{1}, {3}, {7}, {5}}});
}

enum CubeFacet { kPlusX = 0, kMinusX, kPlusY, kMinusY, kPlusZ, kMinusZ };

// n triangles over three shared vertices, each facet its own corners.
inline ModelStore triangles(int n) {
  std::vector<FacetSpec> facets(static_cast<std::size_t>(n), FacetSpec{{1}, {2}, {3}});
  return buildModel({Vertex{0, 0, 0}, Vertex{1, 0, 0}, Vertex{0, 1, 0}}, {}, facets);
}

struct UvBounds {
  float umin = 1e30f, umax = -1e30f, vmin = 1e30f, vmax = -1e30f;
};

// The u and v range of each facet's corners, in facet order.
inline std::vector<UvBounds> facetUvBounds(const ModelStore& store) {
  std::vector<UvBounds> bounds;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) {
      bounds.emplace_back();
      continue;
    }
    const TexVertex& t = store.texVertices.at(static_cast<std::size_t>(record.texVertex) - 1);
    UvBounds& b = bounds.back();
    b.umin = std::min(b.umin, t.u);
    b.umax = std::max(b.umax, t.u);
    b.vmin = std::min(b.vmin, t.v);
    b.vmax = std::max(b.vmax, t.v);
  }
  return bounds;
}

// Sets the selected bit on every corner of the given facets (0-based).
inline void selectFacets(ModelStore& store, const std::vector<int>& facets) {
  int facet = -1;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) {
      ++facet;
      continue;
    }
    if (std::find(facets.begin(), facets.end(), facet) != facets.end())
      record.group |= kSelectedBit;
  }
}

// The texture vertices' bit patterns, for comparisons to the last bit.
inline std::vector<std::uint32_t> uvBits(const ModelStore& store) {
  std::vector<std::uint32_t> bits;
  for (const TexVertex& t : store.texVertices) {
    std::uint32_t u, v;
    std::memcpy(&u, &t.u, 4);
    std::memcpy(&v, &t.v, 4);
    bits.push_back(u);
    bits.push_back(v);
  }
  return bits;
}

inline bool allFinite(const ModelStore& store) {
  for (const TexVertex& t : store.texVertices)
    if (!std::isfinite(t.u) || !std::isfinite(t.v)) return false;
  return true;
}

}  // namespace corvina::testing
