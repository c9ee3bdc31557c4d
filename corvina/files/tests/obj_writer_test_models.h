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

struct CornerRecipe {
  int vertex = 0, texVertex = 0, normal = 0;
};

// A statement of a set table or a kept "s "/"l " line, placed before facet
// `facet` (0-based: the number of facets before it).
struct PlacedText {
  int facet = 0;
  std::string text;
};

struct ModelRecipe {
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<float, 3>> baseVertices;  // empty: same as vertices
  std::vector<std::array<float, 2>> texVertices;
  std::vector<std::array<float, 3>> normals;
  std::vector<std::vector<CornerRecipe>> facets;
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

inline std::vector<std::array<float, 3>> vertexList(const ModelRecipe& recipe) {
  return recipe.baseVertices.empty() ? recipe.vertices : recipe.baseVertices;
}

inline ModelStore buildModel(const ModelRecipe& recipe) {
  ModelStore store;
  resetModelCounts(store);
  store.numVerts = static_cast<int>(recipe.vertices.size());
  store.numTVerts = static_cast<int>(recipe.texVertices.size());
  store.numVNormals = static_cast<int>(recipe.normals.size());
  store.numFacets = static_cast<int>(recipe.facets.size());
  store.numCornerRecords = 1;
  for (const auto& facet : recipe.facets)
    store.numCornerRecords += 1 + static_cast<int>(facet.size());
  store.numGroupStatements = static_cast<int>(recipe.groups.size());
  store.numMaterialStatements = static_cast<int>(recipe.materials.size());
  store.numRegionStatements = static_cast<int>(recipe.regions.size());
  store.numShapeLines = static_cast<int>(recipe.shapeLines.size());
  if (!allocateModel(store)) return store;

  const auto base = vertexList(recipe);
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
  std::size_t at = 0;
  for (const auto& facet : recipe.facets) {
    store.facetStream[at++] = CornerRecord{};
    for (const CornerRecipe& c : facet) {
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

  fillSetTable(recipe.groups, store.groups, store.numGroups, store.numCornerRecords);
  fillSetTable(recipe.materials, store.materials, store.numMaterials, store.numCornerRecords);
  fillSetTable(recipe.regions, store.regions, store.numRegions, store.numCornerRecords);
  for (std::size_t i = 0; i < recipe.shapeLines.size(); ++i) {
    std::strncpy(store.shapeLines[i].text, recipe.shapeLines[i].text.c_str(), kTextLineSize - 1);
    store.shapeLines[i].facetOrdinal = recipe.shapeLines[i].facet;
  }
  assignSetIndices(store);
  expandTextureVertices(store, false);
  store.modelLoaded = 1;
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
    std::vector<CornerRecipe> facet;
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
