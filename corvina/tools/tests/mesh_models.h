#pragma once
// Hand-made models for the mesh tool tests, and ways to read a model back as
// plain lists.

#include <vector>

#include "testing/model_builder.h"

namespace corvina::testing {

// Vertex k + 1 of the box from the origin to (w, h, d) for k = 0..7: x = w when
// k has bit 2, y = h when bit 1, z = d when bit 0.
inline std::vector<Vertex> boxCorners(float w, float h, float d) {
  std::vector<Vertex> corners;
  for (int k = 0; k < 8; ++k) {
    corners.push_back({(k & 4) ? w : 0.0f, (k & 2) ? h : 0.0f, (k & 1) ? d : 0.0f, 0});
  }
  return corners;
}

// Six outward-wound quads: x = 0, y = 1, y = 0, x = 1, z = 1, z = 0.
inline std::vector<FacetSpec> cubeFacets() {
  return {FacetSpec{{1}, {2}, {4}, {3}}, FacetSpec{{3}, {4}, {8}, {7}},
          FacetSpec{{5}, {6}, {2}, {1}}, FacetSpec{{5}, {7}, {8}, {6}},
          FacetSpec{{2}, {6}, {8}, {4}}, FacetSpec{{1}, {3}, {7}, {5}}};
}

inline const std::vector<Normal> kCubeFaceNormals = {{-1, 0, 0}, {0, 1, 0}, {0, -1, 0},
                                                     {1, 0, 0},  {0, 0, 1}, {0, 0, -1}};

inline ModelStore unitCube() {
  return buildModel(boxCorners(1, 1, 1), {}, cubeFacets());
}

// Facets given by vertex numbers only.
inline std::vector<FacetSpec> facetsOf(const std::vector<std::vector<int>>& lists) {
  std::vector<FacetSpec> facets;
  for (const auto& list : lists) {
    FacetSpec facet;
    for (int v : list) facet.push_back({v, 0});
    facets.push_back(facet);
  }
  return facets;
}

// The vertex numbers of every facet, in stream order; a separator with no
// corners after it opens no facet.
inline std::vector<std::vector<int>> facetVertexLists(const ModelStore& store) {
  std::vector<std::vector<int>> facets;
  bool open = false;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) {
      open = true;
      continue;
    }
    if (open) facets.emplace_back();
    open = false;
    if (!facets.empty()) facets.back().push_back(record.vertex);
  }
  return facets;
}

// The normal each corner names, in stream order (a zero normal for none).
inline std::vector<Normal> cornerNormals(const ModelStore& store) {
  std::vector<Normal> normals;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) continue;
    normals.push_back(record.normal == 0 ? Normal{} : store.normals.at(record.normal - 1));
  }
  return normals;
}

// Gives the model these normals and each corner the normal index of the list.
inline void setNormals(ModelStore& store, const std::vector<Normal>& normals,
                       const std::vector<int>& cornerNormalIndices) {
  store.normals = normals;
  store.numVNormals = static_cast<int>(normals.size());
  std::size_t k = 0;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex > 0) record.normal = cornerNormalIndices.at(k++);
  }
}

}  // namespace corvina::testing
