#pragma once
// Models made of separate patches of a grid, each patch one island, in the
// shapes packing finds hard: full rectangles, thin strips, concave L shapes
// and rings with a hole; and a check that packed islands keep their distance.

#include <cmath>
#include <random>
#include <vector>

#include "layout/uv_islands.h"
#include "model/model_store.h"
#include "testing/model_builder.h"

namespace corvina::testing {

enum class PatchShape { Rectangle, Strip, Ell, Ring };

struct PatchModel {
  ModelRecipe recipe;
  int patches = 0;
};

// A cell (i, j) of a cols x rows patch takes part in the shape.
inline bool cellInShape(PatchShape shape, int i, int j, int cols, int rows) {
  switch (shape) {
    case PatchShape::Rectangle:
    case PatchShape::Strip:
      return true;
    case PatchShape::Ell:
      return i == 0 || j == 0;
    case PatchShape::Ring:
      return i == 0 || j == 0 || i == cols - 1 || j == rows - 1;
  }
  return true;
}

// `count` patches of random shape and size, each on its own vertices, with
// texture coordinates at a random scale and place (islands may overlap before
// packing); some cells are quads, the others two triangles; with
// `zeroAreaFacets`, a collapsed triangle hangs on an edge of some patches.
inline PatchModel randomPatchModel(unsigned seed, int count, bool zeroAreaFacets = false) {
  std::mt19937 random(seed);
  auto uniform = [&](float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  };
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  PatchModel model;
  ModelRecipe& r = model.recipe;
  for (int p = 0; p < count; ++p) {
    const auto shape = static_cast<PatchShape>(below(4));
    int cols = 1 + below(6), rows = 1 + below(6);
    if (shape == PatchShape::Strip) {
      cols = 1;
      rows = 4 + below(12);
    }
    if (shape == PatchShape::Ell || shape == PatchShape::Ring) {
      cols = std::max(cols, 3);
      rows = std::max(rows, 3);
    }
    const float cell = uniform(0.005f, 0.08f);
    const float u0 = uniform(0, 0.8f), v0 = uniform(0, 0.8f);
    const float z = uniform(-5, 5), step = uniform(0.1f, 2.0f);
    const int firstVertex = static_cast<int>(r.vertices.size()) + 1;
    const int firstTex = static_cast<int>(r.texVertices.size()) + 1;
    for (int j = 0; j <= rows; ++j) {
      for (int i = 0; i <= cols; ++i) {
        r.vertices.push_back({static_cast<float>(i) * step, static_cast<float>(j) * step, z});
        r.texVertices.push_back(
            {u0 + static_cast<float>(i) * cell, v0 + static_cast<float>(j) * cell});
      }
    }
    auto corner = [&](int i, int j) {
      const int k = j * (cols + 1) + i;
      return CornerSpec{firstVertex + k, firstTex + k, 0};
    };
    for (int j = 0; j < rows; ++j) {
      for (int i = 0; i < cols; ++i) {
        if (!cellInShape(shape, i, j, cols, rows)) continue;
        if (below(2) == 0) {
          r.facets.push_back(
              {corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1)});
        } else {
          r.facets.push_back({corner(i, j), corner(i + 1, j), corner(i + 1, j + 1)});
          r.facets.push_back({corner(i, j), corner(i + 1, j + 1), corner(i, j + 1)});
        }
      }
    }
    if (zeroAreaFacets && below(3) == 0)
      r.facets.push_back({corner(0, 0), corner(1, 0), corner(1, 0)});
    ++model.patches;
  }
  return model;
}

// Each corner's (u, v) in map pixels, facet by facet.
inline std::vector<std::vector<std::array<double, 2>>> facetPolygons(const ModelStore& store,
                                                                     const UvIslands& islands,
                                                                     int width, int height) {
  std::vector<std::vector<std::array<double, 2>>> polygons;
  for (std::int32_t start : islands.facetStart) {
    std::vector<std::array<double, 2>> polygon;
    for (auto j = static_cast<std::size_t>(start) + 1;
         j < store.facetStream.size() && store.facetStream[j].vertex > 0; ++j) {
      const TexVertex* t = cornerTexVertex(store, store.facetStream[j]);
      polygon.push_back({static_cast<double>(t->u) * width, static_cast<double>(t->v) * height});
    }
    polygons.push_back(polygon);
  }
  return polygons;
}

inline double segmentDistance(double px, double py, const std::array<double, 2>& a,
                              const std::array<double, 2>& b) {
  const double dx = b[0] - a[0], dy = b[1] - a[1];
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((px - a[0]) * dx + (py - a[1]) * dy) / length : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (a[0] + t * dx), py - (a[1] + t * dy));
}

struct OverlapReport {
  long long sharedPixels = 0;  // pixels two islands' grown facets both cover
  long long coveredPixels = 0;
  int cornersNearBorder = 0;  // corners closer than the half padding to the border
};

// Rasterises every facet grown by `grow` pixels at the pixel centres of a
// width x height map and counts the pixels that two islands cover. A little
// slack (0.01 pixel) keeps rounding of the packed coordinates out of the
// count.
inline OverlapReport islandOverlap(const ModelStore& store, int width, int height, double grow) {
  UvIslands islands;
  findUvIslands(store, islands);
  const auto polygons = facetPolygons(store, islands, width, height);
  std::vector<int> owner(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1);
  OverlapReport report;
  const double slack = 0.01;
  for (std::size_t f = 0; f < polygons.size(); ++f) {
    const auto& polygon = polygons[f];
    if (polygon.empty()) continue;
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& p : polygon) {
      minX = std::min(minX, p[0]);
      maxX = std::max(maxX, p[0]);
      minY = std::min(minY, p[1]);
      maxY = std::max(maxY, p[1]);
      if (p[0] < grow - slack || p[0] > width - grow + slack || p[1] < grow - slack ||
          p[1] > height - grow + slack)
        ++report.cornersNearBorder;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(minX - grow - 1)));
    const int x1 = std::min(width - 1, static_cast<int>(std::ceil(maxX + grow + 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(minY - grow - 1)));
    const int y1 = std::min(height - 1, static_cast<int>(std::ceil(maxY + grow + 1)));
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        bool inside = false;
        double distance = 1e300;
        for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
          const auto& a = polygon[i];
          const auto& b = polygon[j];
          if ((a[1] > py) != (b[1] > py) && px < (b[0] - a[0]) * (py - a[1]) / (b[1] - a[1]) + a[0])
            inside = !inside;
          distance = std::min(distance, segmentDistance(px, py, a, b));
        }
        const bool covered = inside ? distance > slack - grow : distance < grow - slack;
        if (!covered) continue;
        int& cell = owner[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)];
        const int island = islands.facetIsland[f];
        if (cell == -1) {
          cell = island;
          ++report.coveredPixels;
        } else if (cell != island) {
          ++report.sharedPixels;
        }
      }
    }
  }
  return report;
}

}  // namespace corvina::testing
