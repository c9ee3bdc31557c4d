#pragma once
// The one builder of hand-made models for tests: facets given as lists of
// corners, set statements and kept lines given as (facets read before, text)
// the way the OBJ reader records them. buildModel(vertices, ...) makes a bare
// compact-form model; buildModel(recipe) makes one the way a load leaves it
// (set tables, assigned indices, expanded texture vertices).

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/model_store.h"

namespace corvina::testing {

struct CornerSpec {
  int vertex = 1;
  int texVertex = 0;
  int normal = 0;
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

// The number of corner records the facets take: a separator per facet, its
// corners, and the end-of-list record.
inline int cornerRecordCount(const std::vector<FacetSpec>& facets) {
  int records = 1;
  for (const FacetSpec& facet : facets) records += 1 + static_cast<int>(facet.size());
  return records;
}

// Writes the facets into the allocated facet stream, then the end-of-list
// record.
inline void writeFacetStream(const std::vector<FacetSpec>& facets, ModelStore& store) {
  std::size_t j = 0;
  for (const FacetSpec& facet : facets) {
    store.facetStream[j++] = CornerRecord{};
    for (const CornerSpec& corner : facet) {
      CornerRecord record;
      record.vertex = corner.vertex;
      record.texVertex = corner.texVertex;
      record.normal = corner.normal;
      store.facetStream[j++] = record;
    }
  }
  store.facetStream[j] = CornerRecord{};
  store.facetStream[j].vertex = kEndOfList;
}

// A compact-form model with the given vertices (all at the origin unless
// positions are given), texture vertices and facets.
// Ends a facet stream built record by record, whose last record is a
// separator: that record becomes the end of the list, and the counts follow
// the arrays.
inline void closeFacetStream(ModelStore& store, int facets) {
  store.facetStream.back().vertex = kEndOfList;
  store.numVerts = static_cast<int>(store.vertices.size());
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.numFacets = facets;
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
}

inline ModelStore buildModel(const std::vector<Vertex>& vertices,
                             const std::vector<TexVertex>& texVertices,
                             const std::vector<FacetSpec>& facets) {
  ModelStore store;
  store.numVerts = static_cast<int>(vertices.size());
  store.numTVerts = static_cast<int>(texVertices.size());
  store.numFacets = static_cast<int>(facets.size());
  store.numCornerRecords = cornerRecordCount(facets);
  if (!allocateModel(store)) return store;
  store.vertices = vertices;
  store.baseVertices = vertices;
  store.texVertices = texVertices;
  writeFacetStream(facets, store);
  store.modelLoaded = kModelRead;
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

// A model as a load leaves it, element by element.
struct ModelRecipe {
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<float, 3>> baseVertices;  // empty: same as vertices
  std::vector<std::array<float, 2>> texVertices;
  std::vector<std::array<float, 3>> normals;
  std::vector<FacetSpec> facets;
  Statements groups, materials, regions, shapeLines;
};

inline ModelStore buildModel(const ModelRecipe& recipe) {
  ModelStore store;
  resetModelCounts(store);
  store.numVerts = static_cast<int>(recipe.vertices.size());
  store.numTVerts = static_cast<int>(recipe.texVertices.size());
  store.numVNormals = static_cast<int>(recipe.normals.size());
  store.numFacets = static_cast<int>(recipe.facets.size());
  store.numCornerRecords = cornerRecordCount(recipe.facets);
  store.numShapeLines = static_cast<int>(recipe.shapeLines.size());
  if (!allocateModel(store)) return store;

  const auto& base = recipe.baseVertices.empty() ? recipe.vertices : recipe.baseVertices;
  for (std::size_t i = 0; i < recipe.vertices.size(); ++i) {
    store.vertices[i] = {recipe.vertices[i][0], recipe.vertices[i][1], recipe.vertices[i][2], 0};
    store.baseVertices[i] = {base[i][0], base[i][1], base[i][2], 0};
  }
  for (std::size_t i = 0; i < recipe.texVertices.size(); ++i) {
    store.texVertices[i] = {recipe.texVertices[i][0], recipe.texVertices[i][1], 0};
  }
  for (std::size_t i = 0; i < recipe.normals.size(); ++i) {
    store.normals[i] = {recipe.normals[i][0], recipe.normals[i][1], recipe.normals[i][2]};
  }
  writeFacetStream(recipe.facets, store);

  fillSetTable(store.groups, store.numGroups, store.numGroupStatements, recipe.groups,
               store.numCornerRecords);
  fillSetTable(store.materials, store.numMaterials, store.numMaterialStatements, recipe.materials,
               store.numCornerRecords);
  fillSetTable(store.regions, store.numRegions, store.numRegionStatements, recipe.regions,
               store.numCornerRecords);
  for (std::size_t i = 0; i < recipe.shapeLines.size(); ++i) {
    std::strncpy(store.shapeLines[i].text, recipe.shapeLines[i].second.c_str(), kTextLineSize - 1);
    store.shapeLines[i].facetOrdinal = recipe.shapeLines[i].first;
  }
  assignSetIndices(store);
  expandTextureVertices(store, false);
  store.modelLoaded = kModelRead;
  return store;
}

// A model of random values: facets of 3 to 5 corners, some corners without a
// texture coordinate or normal, and set and shape statements at random facets.
// Texture coordinates repeat often enough that compression merges some.
inline ModelRecipe randomModelRecipe(unsigned seed, int facetCount) {
  std::mt19937 random(seed);
  auto uniform = [&](float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  };
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  ModelRecipe recipe;
  const int vertexCount = facetCount / 2 + 3;
  for (int i = 0; i < vertexCount; ++i) {
    recipe.vertices.push_back({uniform(-100, 100), uniform(-1, 1), uniform(-1e4f, 1e4f)});
  }
  for (int i = 0; i < facetCount + 1; ++i) {
    const float u = below(4) == 0 ? 0.25f * static_cast<float>(below(5)) : uniform(0, 1);
    recipe.texVertices.push_back({u, uniform(0, 1)});
  }
  for (int i = 0; i < facetCount / 3 + 1; ++i) {
    recipe.normals.push_back({uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)});
  }
  const char* names[] = {"body", "arm left", "Arm", "head", "wheel_2"};
  for (int f = 0; f < facetCount; ++f) {
    if (below(7) == 0 || f == 0) recipe.groups.push_back({f, names[below(5)]});
    if (below(9) == 0) recipe.materials.push_back({f, names[below(5)]});
    if (below(11) == 0) recipe.regions.push_back({f, names[below(5)]});
    if (below(13) == 0) recipe.shapeLines.push_back({f, below(2) ? "s 1" : "l 1 2 3"});
    FacetSpec facet;
    const int corners = 3 + below(3);
    for (int c = 0; c < corners; ++c) {
      facet.push_back({1 + below(vertexCount),
                       below(10) == 0 ? 0 : 1 + below(static_cast<int>(recipe.texVertices.size())),
                       below(10) == 0 ? 0 : 1 + below(static_cast<int>(recipe.normals.size()))});
    }
    recipe.facets.push_back(facet);
  }
  return recipe;
}

}  // namespace corvina::testing
