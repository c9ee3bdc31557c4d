#include "mesh_bench_models.h"

#include <algorithm>
#include <vector>

namespace bench {

using namespace corvina;

ModelStore gridOfPieces(int side) {
  constexpr int kStripCells = 16;
  // Strip s covers grid columns first[s]..first[s] + 16 (cut at the grid's
  // edge); its vertex columns start at vertexColumn[s] within a row, so a
  // border column has one vertex in each strip beside it.
  const int cellsAcross = side - 1;
  const int strips = (cellsAcross + kStripCells - 1) / kStripCells;
  std::vector<int> first, vertexColumn;
  int columns = 0;
  for (int s = 0; s < strips; ++s) {
    first.push_back(s * kStripCells);
    vertexColumn.push_back(columns);
    columns += std::min(kStripCells, cellsAcross - s * kStripCells) + 1;
  }

  ModelStore store;
  store.numVerts = columns * side;
  store.numVNormals = store.numVerts;
  store.numFacets = 2 * cellsAcross * cellsAcross;
  store.numCornerRecords = store.numFacets * 4 + 1;
  if (!allocateModel(store)) return store;

  for (int row = 0; row < side; ++row) {
    for (int s = 0; s < strips; ++s) {
      const int width = std::min(kStripCells, cellsAcross - first[s]) + 1;
      const float tilt = 0.01f * static_cast<float>(s % 7);
      for (int k = 0; k < width; ++k) {
        const auto v = static_cast<std::size_t>(row * columns + vertexColumn[s] + k);
        store.vertices[v] = Vertex{static_cast<float>(first[s] + k), static_cast<float>(row), 0, 0};
        store.normals[v] = Normal{tilt, 0, 1};
      }
    }
  }
  store.baseVertices = store.vertices;

  std::size_t at = 0;
  auto corner = [&](int row, int vertexCol) {
    CornerRecord record;
    record.vertex = row * columns + vertexCol + 1;
    record.normal = record.vertex;
    store.facetStream[at++] = record;
  };
  for (int row = 0; row < cellsAcross; ++row) {
    for (int c = 0; c < cellsAcross; ++c) {
      const int s = c / kStripCells;
      const int left = vertexColumn[s] + (c - first[s]);
      store.facetStream[at++] = CornerRecord{};
      corner(row, left);
      corner(row, left + 1);
      corner(row + 1, left + 1);
      store.facetStream[at++] = CornerRecord{};
      corner(row, left);
      corner(row + 1, left + 1);
      corner(row + 1, left);
    }
  }
  store.facetStream[at].vertex = kEndOfList;
  store.modelLoaded = 1;
  return store;
}

}  // namespace bench
