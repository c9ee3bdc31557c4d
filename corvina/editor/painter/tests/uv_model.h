#pragma once
// Small hand-made texture maps for the painter's tests: facets given by their
// corners' (u, v), each facet with its group, material and region and the
// selected and hidden bits of its corners.

#include <vector>

#include "model/model_store.h"

namespace corvina::painter::testing {

struct UvCorner {
  float u = 0, v = 0;
  bool selected = false;
  bool hidden = false;
};

struct UvFacet {
  std::vector<UvCorner> corners;
  int group = 0, material = 0, region = 0;
};

// A loaded model in the expanded form: one texture vertex per record, the
// stream "separator, corners, separator, corners, ..., end of list".
inline ModelStore uvModel(const std::vector<UvFacet>& facets) {
  ModelStore store;
  store.modelLoaded = 1;
  store.texVerticesExpanded = 1;
  auto add = [&](int vertex, const UvCorner& corner, const UvFacet* facet) {
    CornerRecord record;
    record.vertex = vertex;
    store.texVertices.push_back({corner.u, corner.v, 0});
    record.texVertex = static_cast<int>(store.texVertices.size());
    if (facet != nullptr) {
      record.group = static_cast<std::uint16_t>(facet->group);
      record.material = static_cast<std::uint16_t>(facet->material);
      record.region = static_cast<std::uint16_t>(facet->region);
    }
    if (corner.selected) record.group |= kSelectedBit;
    if (corner.hidden) record.flags |= kHiddenBit;
    store.facetStream.push_back(record);
  };
  const UvCorner none{kNoUvU, kNoUvV};
  for (const UvFacet& facet : facets) {
    add(kSeparator, none, nullptr);
    for (const UvCorner& corner : facet.corners) {
      store.vertices.push_back({});
      add(static_cast<int>(store.vertices.size()), corner, &facet);
    }
    ++store.numFacets;
  }
  add(kEndOfList, none, nullptr);
  store.numVerts = static_cast<int>(store.vertices.size());
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  return store;
}

// The axis-aligned square facet with corners (u0, v0) and (u1, v1).
inline UvFacet squareFacet(float u0, float v0, float u1, float v1, int group = 0) {
  UvFacet facet;
  facet.corners = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
  facet.group = facet.material = facet.region = group;
  return facet;
}

}  // namespace corvina::painter::testing
