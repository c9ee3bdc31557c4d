#pragma once
// Small models for the writer's tests, built straight into a ModelStore the way
// the reader leaves one (set tables, assigned indices, expanded texture
// vertices), so the writer is tested without the reader.

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
  int vertex = 0, texVertex = 0, normal = 0;
};

// A statement of a set table or a kept "s "/"l " line, placed before facet
// `facet` (0-based: the number of facets before it).
struct PlacedText {
  int facet = 0;
  std::string text;
};

struct ModelSpec {
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<float, 3>> baseVertices;  // empty: same as vertices
  std::vector<std::array<float, 2>> texVertices;
  std::vector<std::array<float, 3>> normals;
  std::vector<std::vector<CornerSpec>> facets;
  std::vector<PlacedText> groups, materials, regions, shapeLines;
};

inline void fillSetTable(const std::vector<PlacedText>& statements, std::vector<SetRecord>& table,
                         int& numNames, int numCornerRecords) {
  std::vector<std::string> names;
  for (std::size_t s = 0; s < statements.size(); ++s) {
    auto found = std::find(names.begin(), names.end(), statements[s].text);
    if (found == names.end()) {
      std::strncpy(table[names.size()].name, statements[s].text.c_str(), kSetNameSize - 1);
      names.push_back(statements[s].text);
      found = names.end() - 1;
    }
    table[s].firstFacet = statements[s].facet;
    table[s].setIndex = static_cast<int>(found - names.begin());
  }
  table[statements.size()].firstFacet = numCornerRecords;
  numNames = static_cast<int>(names.size());
}

inline std::vector<std::array<float, 3>> vertexList(const ModelSpec& spec) {
  return spec.baseVertices.empty() ? spec.vertices : spec.baseVertices;
}

inline ModelStore buildModel(const ModelSpec& spec) {
  ModelStore store;
  resetModelCounts(store);
  store.numVerts = static_cast<int>(spec.vertices.size());
  store.numTVerts = static_cast<int>(spec.texVertices.size());
  store.numVNormals = static_cast<int>(spec.normals.size());
  store.numFacets = static_cast<int>(spec.facets.size());
  store.numCornerRecords = 1;
  for (const auto& facet : spec.facets)
    store.numCornerRecords += 1 + static_cast<int>(facet.size());
  store.numGroupStatements = static_cast<int>(spec.groups.size());
  store.numMaterialStatements = static_cast<int>(spec.materials.size());
  store.numRegionStatements = static_cast<int>(spec.regions.size());
  store.numShapeLines = static_cast<int>(spec.shapeLines.size());
  if (!allocateModel(store)) return store;

  const auto base = vertexList(spec);
  for (std::size_t i = 0; i < spec.vertices.size(); ++i) {
    store.vertices[i] = {spec.vertices[i][0], spec.vertices[i][1], spec.vertices[i][2], 0};
    store.baseVertices[i] = {base[i][0], base[i][1], base[i][2], 0};
  }
  for (std::size_t i = 0; i < spec.texVertices.size(); ++i) {
    store.texVertices[i] = {spec.texVertices[i][0], spec.texVertices[i][1], 0};
  }
  for (std::size_t i = 0; i < spec.normals.size(); ++i) {
    store.normals[i] = {spec.normals[i][0], spec.normals[i][1], spec.normals[i][2]};
  }
  std::size_t at = 0;
  for (const auto& facet : spec.facets) {
    store.facetStream[at++] = CornerRecord{};
    for (const CornerSpec& c : facet) {
      CornerRecord record;
      record.vertex = c.vertex;
      record.texVertex = c.texVertex;
      record.normal = c.normal;
      store.facetStream[at++] = record;
    }
  }
  CornerRecord end;
  end.vertex = kEndOfList;
  store.facetStream[at] = end;

  fillSetTable(spec.groups, store.groups, store.numGroups, store.numCornerRecords);
  fillSetTable(spec.materials, store.materials, store.numMaterials, store.numCornerRecords);
  fillSetTable(spec.regions, store.regions, store.numRegions, store.numCornerRecords);
  for (std::size_t i = 0; i < spec.shapeLines.size(); ++i) {
    std::strncpy(store.shapeLines[i].text, spec.shapeLines[i].text.c_str(), kTextLineSize - 1);
    store.shapeLines[i].facetOrdinal = spec.shapeLines[i].facet;
  }
  assignSetIndices(store);
  expandTextureVertices(store, false);
  store.modelLoaded = 1;
  return store;
}

// A model of random values: facets of 3 to 5 corners, some corners without a
// texture coordinate or normal, and set and shape statements at random facets.
// Texture coordinates repeat often enough that compression merges some.
inline ModelSpec randomModelSpec(unsigned seed, int facetCount) {
  std::mt19937 random(seed);
  auto uniform = [&](float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  };
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  ModelSpec spec;
  const int vertexCount = facetCount / 2 + 3;
  for (int i = 0; i < vertexCount; ++i) {
    spec.vertices.push_back({uniform(-100, 100), uniform(-1, 1), uniform(-1e4f, 1e4f)});
  }
  for (int i = 0; i < facetCount + 1; ++i) {
    const float u = below(4) == 0 ? 0.25f * static_cast<float>(below(5)) : uniform(0, 1);
    spec.texVertices.push_back({u, uniform(0, 1)});
  }
  for (int i = 0; i < facetCount / 3 + 1; ++i) {
    spec.normals.push_back({uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)});
  }
  const char* names[] = {"body", "arm left", "Arm", "head", "wheel_2"};
  for (int f = 0; f < facetCount; ++f) {
    if (below(7) == 0 || f == 0) spec.groups.push_back({f, names[below(5)]});
    if (below(9) == 0) spec.materials.push_back({f, names[below(5)]});
    if (below(11) == 0) spec.regions.push_back({f, names[below(5)]});
    if (below(13) == 0) spec.shapeLines.push_back({f, below(2) ? "s 1" : "l 1 2 3"});
    std::vector<CornerSpec> facet;
    const int corners = 3 + below(3);
    for (int c = 0; c < corners; ++c) {
      facet.push_back({1 + below(vertexCount),
                       below(10) == 0 ? 0 : 1 + below(static_cast<int>(spec.texVertices.size())),
                       below(10) == 0 ? 0 : 1 + below(static_cast<int>(spec.normals.size()))});
    }
    spec.facets.push_back(facet);
  }
  return spec;
}

}  // namespace corvina::testing
