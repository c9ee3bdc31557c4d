#pragma once
// Small hand-made models for tests: facets given as lists of corners, set
// statements given as (facets read before, name) the way the OBJ reader
// records them.

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "model/model_store.h"

namespace corvina::testing {

struct CornerSpec {
  int vertex = 1;
  int texVertex = 0;
};

using FacetSpec = std::vector<CornerSpec>;

// (number of facets read before the statement, name)
using Statements = std::vector<std::pair<int, std::string>>;

// Fills one set table from its statements: distinct names in order of first
// appearance, each statement's position and name index, then the sentinel.
inline void fillSetTable(std::vector<SetRecord>& table, int& distinct, int& statements,
                         const Statements& stated, int numCornerRecords) {
  statements = static_cast<int>(stated.size());
  table.assign(stated.size() + 1, SetRecord{});
  std::vector<std::string> names;
  for (std::size_t s = 0; s < stated.size(); ++s) {
    int index = 0;
    while (index < static_cast<int>(names.size()) && names[index] != stated[s].second) ++index;
    if (index == static_cast<int>(names.size())) {
      names.push_back(stated[s].second);
      std::strncpy(table[index].name, stated[s].second.c_str(), kSetNameSize - 1);
    }
    table[s].firstFacet = stated[s].first;
    table[s].setIndex = index;
  }
  table[stated.size()].firstFacet = numCornerRecords;
  distinct = static_cast<int>(names.size());
}

// A compact-form model with the given vertices (all at the origin unless
// positions are given), texture vertices and facets.
inline ModelStore buildModel(const std::vector<Vertex>& vertices,
                             const std::vector<TexVertex>& texVertices,
                             const std::vector<FacetSpec>& facets) {
  ModelStore store;
  store.numVerts = static_cast<int>(vertices.size());
  store.numTVerts = static_cast<int>(texVertices.size());
  store.numFacets = static_cast<int>(facets.size());
  store.numCornerRecords = 1;
  for (const FacetSpec& facet : facets)
    store.numCornerRecords += 1 + static_cast<int>(facet.size());
  if (!allocateModel(store)) return store;
  store.vertices = vertices;
  store.baseVertices = vertices;
  store.texVertices = texVertices;
  std::size_t j = 0;
  for (const FacetSpec& facet : facets) {
    store.facetStream[j++] = CornerRecord{};
    for (const CornerSpec& corner : facet) {
      CornerRecord record;
      record.vertex = corner.vertex;
      record.texVertex = corner.texVertex;
      store.facetStream[j++] = record;
    }
  }
  store.facetStream[j].vertex = kEndOfList;
  store.modelLoaded = 1;
  return store;
}

// The (u, v) each corner of the stream sees, in stream order; a corner
// without a texture vertex reads as the no-UV marker.
inline std::vector<std::pair<float, float>> cornerUvs(const ModelStore& store) {
  std::vector<std::pair<float, float>> uvs;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) continue;
    if (record.texVertex == 0) {
      uvs.emplace_back(kNoUvU, kNoUvV);
    } else {
      const TexVertex& t = store.texVertices.at(record.texVertex - 1);
      uvs.emplace_back(t.u, t.v);
    }
  }
  return uvs;
}

inline std::vector<int> cornerTexIndices(const ModelStore& store) {
  std::vector<int> indices;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex > 0) indices.push_back(record.texVertex);
  }
  return indices;
}

}  // namespace corvina::testing
