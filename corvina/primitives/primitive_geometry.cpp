#include "primitives/primitive_geometry.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "model/parallel_parts.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

// The constants the shapes have always been built with, in single precision.
constexpr float kPi = 3.1415925f;
constexpr float kTwoPi = 6.283185f;
constexpr float kTorusTwoPi = 6.283185005187988f;
constexpr float kTorusPi = 3.141592502593994f;
constexpr float kDegreesToRadians = 0.017453291681077746f;

// Appends records to the facet stream from its start, or from `at`.
class StreamWriter {
 public:
  explicit StreamWriter(ModelStore& store, std::size_t at = 0)
      : stream_(store.facetStream), at_(at) {}

  void facet() { stream_[at_++] = CornerRecord{}; }

  void corner(std::int64_t vertex, std::int64_t texVertex = 0, std::int64_t normal = 0) {
    CornerRecord record;
    record.vertex = static_cast<std::int32_t>(vertex);
    record.texVertex = static_cast<std::int32_t>(texVertex);
    record.normal = static_cast<std::int32_t>(normal);
    stream_[at_++] = record;
  }

  void facet(std::initializer_list<std::int64_t> vertices) {
    facet();
    for (std::int64_t v : vertices) corner(v);
  }

  void end() {
    CornerRecord record;
    record.vertex = kEndOfList;
    stream_[at_++] = record;
  }

 private:
  std::vector<CornerRecord>& stream_;
  std::size_t at_;
};

// Runs body(first, last) over rings [0, rings) on every core; a ring of n
// facets is the unit, parts of about kStreamRangeRecords records.
void forEachRing(std::int64_t rings, std::int64_t n,
                 const std::function<void(std::int64_t, std::int64_t)>& body) {
  const auto perPart = std::max<std::int64_t>(
      1, static_cast<std::int64_t>(kStreamRangeRecords) / std::max<std::int64_t>(1, 5 * n));
  forEachRange(static_cast<std::size_t>(std::max<std::int64_t>(rings, 0)),
               static_cast<std::size_t>(perPart), [&](std::size_t first, std::size_t last) {
                 body(static_cast<std::int64_t>(first), static_cast<std::int64_t>(last));
               });
}

void setVertex(ModelStore& store, std::int64_t number, float x, float y, float z) {
  store.vertices[static_cast<std::size_t>(number - 1)] = Vertex{x, y, z, 0};
}

}  // namespace

PrimitiveCounts boxCounts() {
  return {8, 6, 24, 31, 6};
}

PrimitiveCounts coneCounts(const ConeOptions& options) {
  const std::int64_t n = options.radialDivisions;
  return {n + 1, 0, 0, 5 * n + 2, n + 1};
}

PrimitiveCounts cylinderCounts(const CylinderOptions& options) {
  const std::int64_t n = options.radialDivisions;
  return {2 * n, 0, 0, 7 * n + 3, n + 2};
}

PrimitiveCounts sphereCounts(const SphereOptions& options) {
  const std::int64_t v = options.verticalDivisions;
  const std::int64_t n = options.radialDivisions;
  const std::int64_t vertices = n * (v - 1) + 2;
  return {vertices, vertices, 0, n * (5 * v - 2) + 1, n * v};
}

PrimitiveCounts torusCounts(const TorusOptions& options) {
  const std::int64_t v = options.verticalDivisions;
  const std::int64_t n = options.radialDivisions;
  return {v * n, v * n, (v + 1) * (n + 1), 5 * v * n + 1, v * n};
}

void fillBox(ModelStore& store, const BoxOptions& options) {
  for (int k = 0; k < 8; ++k) {
    setVertex(store, k + 1, (k & 4) ? options.width : 0.0f, (k & 2) ? options.height : 0.0f,
              (k & 1) ? options.depth : 0.0f);
  }
  // Faces x = 0, y = H, y = 0, x = W, z = D, z = 0, wound outward.
  const int quads[6][4] = {{1, 2, 4, 3}, {3, 4, 8, 7}, {5, 6, 2, 1},
                           {5, 7, 8, 6}, {2, 6, 8, 4}, {1, 3, 7, 5}};
  const Normal faceNormals[6] = {{-1, 0, 0}, {0, 1, 0}, {0, -1, 0},
                                 {1, 0, 0},  {0, 0, 1}, {0, 0, -1}};
  StreamWriter out(store);
  int texVertex = 0;
  for (int q = 0; q < 6; ++q) {
    store.normals[static_cast<std::size_t>(q)] = faceNormals[q];
    out.facet();
    for (int v : quads[q]) out.corner(v, ++texVertex, q + 1);
  }
  out.end();
}

void fillCone(ModelStore& store, const ConeOptions& options) {
  const std::int64_t n = options.radialDivisions;
  const float r = options.bottomDiameter * 0.5f;
  setVertex(store, 1, 0.0f, options.height, 0.0f);
  for (std::int64_t i = 0; i < n; ++i) {
    const float a = kPi - static_cast<float>(i) * kTwoPi / static_cast<float>(n);
    setVertex(store, i + 2, std::sin(a) * r, 0.0f, std::cos(a) * r);
  }
  StreamWriter out(store);
  for (std::int64_t i = 1; i <= n; ++i) out.facet({1, (i % n) + 2, i + 1});
  out.facet();
  for (std::int64_t v = 2; v <= n + 1; ++v) out.corner(v);
  out.end();
}

void fillCylinder(ModelStore& store, const CylinderOptions& options) {
  const std::int64_t n = options.radialDivisions;
  for (std::int64_t i = 0; i < n; ++i) {
    const float a = static_cast<float>(i) * kTwoPi / static_cast<float>(n);
    const float s = std::sin(a), c = std::cos(a);
    setVertex(store, i + 1, s * options.topDiameter * 0.5f, options.height,
              c * options.topDiameter * 0.5f);
    setVertex(store, n + i + 1, s * options.bottomDiameter * 0.5f, 0.0f,
              c * options.bottomDiameter * 0.5f);
  }
  StreamWriter out(store);
  for (std::int64_t j = 1; j <= n; ++j) out.facet({j, n + j, (j % n) + n + 1, (j % n) + 1});
  out.facet();
  for (std::int64_t v = 1; v <= n; ++v) out.corner(v);
  out.facet();
  out.corner(n + 1);
  for (std::int64_t v = 2 * n; v >= n + 2; --v) out.corner(v);
  out.end();
}

void fillSphere(ModelStore& store, const SphereOptions& options) {
  const std::int64_t rings = options.verticalDivisions;
  const std::int64_t n = options.radialDivisions;
  const float rho = options.radius;
  const float theta = kPi / static_cast<float>(rings);
  const float alpha = kTwoPi / static_cast<float>(n);
  setVertex(store, 1, 0.0f, rho, 0.0f);
  // Rings 1 .. rings - 1 of vertices, each filled by its index.
  forEachRing(rings - 1, n, [&](std::int64_t first, std::int64_t last) {
    for (std::int64_t k = first + 1; k <= last; ++k) {
      const float polar = static_cast<float>(k) * theta;
      const float across = rho * std::sin(polar), height = rho * std::cos(polar);
      for (std::int64_t i = 0; i < n; ++i) {
        const float around = static_cast<float>(i) * alpha;
        setVertex(store, 2 + (k - 1) * n + i, across * std::cos(around), height,
                  across * std::sin(around));
      }
    }
  });
  const std::int64_t pole = n * (rings - 1) + 2;
  setVertex(store, pole, 0.0f, -rho, 0.0f);

  // Band 0 is the top cap (n triangles, 4 records each), bands 1 .. rings - 2
  // the rings of quads (5 records each), band rings - 1 the bottom cap; each
  // band starts at the record its predecessors end at.
  auto bandStart = [&](std::int64_t band) {
    return static_cast<std::size_t>(band == 0 ? 0 : 4 * n + (band - 1) * 5 * n);
  };
  forEachRing(rings, n, [&](std::int64_t first, std::int64_t last) {
    for (std::int64_t band = first; band < last; ++band) {
      StreamWriter out(store, bandStart(band));
      if (band == 0) {
        for (std::int64_t l = 2; l <= n; ++l) out.facet({1, l + 1, l});
        out.facet({1, 2, n + 1});
      } else if (band < rings - 1) {
        const std::int64_t s = 2 + (band - 1) * n;
        for (std::int64_t i = 0; i <= n - 2; ++i)
          out.facet({s + i, s + i + 1, s + i + 1 + n, s + i + n});
        out.facet({s + n - 1, s, s + n, s + 2 * n - 1});
      } else {
        for (std::int64_t h = 1; h <= n - 1; ++h) out.facet({pole, pole - n - 1 + h, pole - n + h});
        out.facet({pole, pole - 1, pole - n});
      }
    }
  });
  StreamWriter(store, bandStart(rings - 1) + static_cast<std::size_t>(4 * n)).end();
}

void fillTorus(ModelStore& store, const TorusOptions& options) {
  const std::int64_t rings = options.verticalDivisions;
  const std::int64_t n = options.radialDivisions;
  const float ringRadius = (options.outerRadius + options.innerRadius) * 0.5f;
  const float tube = (options.outerRadius - options.innerRadius) * 0.5f;
  const float alpha = kTwoPi / static_cast<float>(n);
  forEachRing(rings, n, [&](std::int64_t first, std::int64_t last) {
    for (std::int64_t s = first; s < last; ++s) {
      const float phi = static_cast<float>(s) * kTorusTwoPi / static_cast<float>(rings) +
                        static_cast<float>(options.rotate) * kDegreesToRadians + kTorusPi;
      const float across = ringRadius + tube * std::sin(phi);
      const float height = ringRadius + tube * std::cos(phi);
      for (std::int64_t i = 0; i < n; ++i) {
        const float around = static_cast<float>(i) * alpha;
        setVertex(store, s * n + i + 1, across * std::cos(around), height,
                  across * std::sin(around));
      }
    }
  });
  // The grid repeats its seam column and row, so it covers the unit square.
  forEachRing(rings + 1, n, [&](std::int64_t first, std::int64_t last) {
    for (std::int64_t row = first; row < last; ++row) {
      for (std::int64_t column = 0; column <= n; ++column) {
        store.texVertices[static_cast<std::size_t>(row * (n + 1) + column)] =
            TexVertex{static_cast<float>(column) / static_cast<float>(n),
                      static_cast<float>(row) / static_cast<float>(rings), 0.0f};
      }
    }
  });
  auto grid = [&](std::int64_t column, std::int64_t row) { return row * (n + 1) + column + 1; };
  // Ring s of n quads takes records 5 n s .. 5 n (s + 1).
  forEachRing(rings, n, [&](std::int64_t first, std::int64_t last) {
    for (std::int64_t s = first; s < last; ++s) {
      StreamWriter out(store, static_cast<std::size_t>(5 * n * s));
      const std::int64_t next = (s + 1) % rings;
      for (std::int64_t l = 1; l <= n; ++l) {
        out.facet();
        out.corner(s * n + l, grid(l - 1, s));
        out.corner(s * n + (l % n) + 1, grid(l, s));
        out.corner(next * n + (l % n) + 1, grid(l, s + 1));
        out.corner(next * n + l, grid(l - 1, s + 1));
      }
    }
  });
  StreamWriter(store, static_cast<std::size_t>(5 * n * rings)).end();
}

}  // namespace corvina
