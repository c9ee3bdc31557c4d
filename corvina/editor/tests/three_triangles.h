#pragma once
// A model of three triangles, A near the top-left of the texture square, B
// in the middle, C near the bottom-right, each corner owning its texture
// vertex. In view coordinates (x = u, y = 1 - v):
//
//   A: (0.1, 0.1) (0.2, 0.1) (0.1, 0.2)
//   B: (0.5, 0.5) (0.6, 0.5) (0.5, 0.6)
//   C: (0.8, 0.8) (0.9, 0.8) (0.8, 0.9)
//
// In a view of 101 x 101 pixels, pixel p lies at view coordinate p / 100.

#include <vector>

#include "testing/model_builder.h"

namespace corvina::testing {

inline ModelStore threeTriangles() {
  const std::vector<TexVertex> uvs = {
      {0.1f, 0.9f, 0}, {0.2f, 0.9f, 0}, {0.1f, 0.8f, 0},  // A
      {0.5f, 0.5f, 0}, {0.6f, 0.5f, 0}, {0.5f, 0.4f, 0},  // B
      {0.8f, 0.2f, 0}, {0.9f, 0.2f, 0}, {0.8f, 0.1f, 0},  // C
  };
  ModelStore store =
      buildModel(std::vector<Vertex>(9), uvs,
                 {FacetSpec{{1, 1}, {2, 2}, {3, 3}}, FacetSpec{{4, 4}, {5, 5}, {6, 6}},
                  FacetSpec{{7, 7}, {8, 8}, {9, 9}}});
  store.texVerticesExpanded = 1;
  return store;
}

// The selected bit of each corner, in stream order (separators left out).
inline std::vector<bool> selectedCorners(const ModelStore& store) {
  std::vector<bool> bits;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex > 0) bits.push_back((record.group & kSelectedBit) != 0);
  }
  return bits;
}

inline std::vector<bool> hiddenCorners(const ModelStore& store) {
  std::vector<bool> bits;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex > 0) bits.push_back((record.flags & kHiddenBit) != 0);
  }
  return bits;
}

// Corner bits by facet: "A", "B", "C" as the three facets' corners.
inline std::vector<bool> facets(bool a, bool b, bool c) {
  return {a, a, a, b, b, b, c, c, c};
}

}  // namespace corvina::testing
