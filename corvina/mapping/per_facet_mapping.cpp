#include "mapping/per_facet_mapping.h"

#include <cmath>
#include <vector>

#include "model/stream_ranges.h"

namespace corvina {

bool hasFacetsBeyondTriangles(const ModelStore& store) {
  const MappingArrays arrays = mappingArrays(store);
  const std::size_t length = arrays.length;
  int run = 0;
  for (std::size_t j = 0; j < length; ++j) {
    const CornerRecord& record = arrays.records[j];
    if (record.vertex > 0) {
      if (++run > 3) return true;
      continue;
    }
    if (record.vertex < 0) break;
    run = 0;
  }
  return false;
}

int perFacetGridSize(int facets) {
  if (facets <= 0) return 0;
  const int pairs = static_cast<int>((static_cast<long long>(facets) + 1) / 2);
  int c = static_cast<int>(std::sqrt(static_cast<double>(pairs)));
  if (static_cast<long long>(facets) > static_cast<long long>(c) * c) ++c;
  return c;
}

MappingOutcome perFacetMapping(ModelStore& store, const PerFacetMappingOptions& options) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  const MappingArrays arrays = mappingArraysToListEnd(store);
  // The facets of each range first, so that every range knows the number of
  // the facet it starts with.
  const std::size_t end = listEndOf(arrays);
  const std::vector<PartRange> ranges = facetRangesForThreads(arrays.records, end);
  const std::vector<int> rangeFacets =
      mapEachRange<int>(ranges, [&](std::size_t begin, std::size_t stop) {
        int facets = 0;
        for (std::size_t j = begin; j < stop; ++j) facets += arrays.records[j].vertex == 0;
        return facets;
      });
  std::vector<int> facetsBefore(ranges.size(), 0);
  for (std::size_t k = 1; k < ranges.size(); ++k)
    facetsBefore[k] = facetsBefore[k - 1] + rangeFacets[k - 1];
  const int facets = facetsBefore.back() + rangeFacets.back();
  const int c = perFacetGridSize(facets);
  if (c > 0) {
    const float f = 1.0f / static_cast<float>(c);
    const float d = options.gap * f;
    const float e = d * 0.5f;
    const float w = d * 1.2f;
    runParts(ranges.size(), [&](std::size_t k) {
      int facet = facetsBefore[k] - 1;  // 0-based number of the facet being placed
      int corner = 0;                   // its corners placed so far
      TexVertex triangle[3];
      for (std::size_t i = ranges[k].begin; i < ranges[k].end; ++i) {
        const CornerRecord& record = arrays.records[i];
        if (record.vertex == 0) {
          ++facet;
          corner = 0;
          const int cell = facet / 2;
          const float m = static_cast<float>(cell % c);
          const float j = static_cast<float>(cell / c);
          const float left = m * f, right = (m + 1.0f) * f;
          const float top = 1.0f - j * f, bottom = 1.0f - (j + 1.0f) * f;
          if (facet % 2 == 0) {
            triangle[0] = {left + e, top - e, 0};
            triangle[1] = {left + e, bottom + w, 0};
            triangle[2] = {right - w, top - e, 0};
          } else {
            triangle[0] = {right - e, top - w, 0};
            triangle[1] = {left + w, bottom + e, 0};
            triangle[2] = {right - e, bottom + e, 0};
          }
          continue;
        }
        if (facet < 0 || corner >= 3) continue;
        if (TexVertex* uv = arrays.texVertexOf(record)) {
          uv->u = triangle[corner].u;
          uv->v = triangle[corner].v;
        }
        ++corner;
      }
    });
  }
  store.mapWidth = options.mapSize;
  store.mapHeight = options.mapSize;
  return MappingOutcome::Mapped;
}

}  // namespace corvina
