// The shapes of the primitives: counts, vertex order, facet order and winding.

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "primitives/primitive_geometry.h"

namespace corvina {
namespace {

using Lists = std::vector<std::vector<int>>;

// A store sized from the counts, filled by `fill`.
template <typename Fill>
ModelStore filled(const PrimitiveCounts& counts, Fill fill) {
  ModelStore store;
  store.numVerts = static_cast<int>(counts.vertices);
  store.numVNormals = static_cast<int>(counts.normals);
  store.numTVerts = static_cast<int>(counts.texVertices);
  store.numCornerRecords = static_cast<int>(counts.cornerRecords);
  EXPECT_TRUE(allocateModel(store));
  fill(store);
  return store;
}

ModelStore box(BoxOptions o = {}) {
  return filled(boxCounts(), [&](ModelStore& s) { fillBox(s, o); });
}
ModelStore cone(ConeOptions o) {
  return filled(coneCounts(o), [&](ModelStore& s) { fillCone(s, o); });
}
ModelStore cylinder(CylinderOptions o) {
  return filled(cylinderCounts(o), [&](ModelStore& s) { fillCylinder(s, o); });
}
ModelStore sphere(SphereOptions o) {
  return filled(sphereCounts(o), [&](ModelStore& s) { fillSphere(s, o); });
}
ModelStore torus(TorusOptions o) {
  return filled(torusCounts(o), [&](ModelStore& s) { fillTorus(s, o); });
}

Lists facetLists(const ModelStore& store) {
  Lists facets;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0)
      facets.emplace_back();
    else
      facets.back().push_back(record.vertex);
  }
  return facets;
}

struct CountCase {
  const char* name;
  ModelStore (*make)();
  int vertices, facets, records;
};

class PrimitiveCountsTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(PrimitiveCountsTest, StreamHasTheNumbersOfItsShape) {
  const CountCase& c = GetParam();
  const ModelStore store = c.make();
  EXPECT_EQ(store.numVerts, c.vertices);
  EXPECT_EQ(static_cast<int>(facetLists(store).size()), c.facets);
  EXPECT_EQ(store.numCornerRecords, c.records);
  // The stream is filled to its last record, which ends it.
  EXPECT_EQ(store.facetStream.back().vertex, kEndOfList);
  EXPECT_EQ(store.facetStream.front().vertex, kSeparator);
  std::vector<bool> used(static_cast<std::size_t>(store.numVerts), false);
  for (const auto& facet : facetLists(store)) {
    for (int v : facet) {
      ASSERT_GE(v, 1);
      ASSERT_LE(v, store.numVerts);
      used[static_cast<std::size_t>(v - 1)] = true;
    }
  }
  for (std::size_t v = 0; v < used.size(); ++v) EXPECT_TRUE(used[v]) << "vertex " << v + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrimitiveCountsTest,
    ::testing::Values(CountCase{"DefaultBox", [] { return box(); }, 8, 6, 31},
                      CountCase{"DefaultCone", [] { return cone({}); }, 17, 17, 82},
                      CountCase{"ThreeSidedCone",
                                [] {
                                  return cone({2.5f, 2.5f, 3, true, 75});
                                },
                                4, 4, 17},
                      CountCase{"DefaultCylinder", [] { return cylinder({}); }, 32, 18, 115},
                      CountCase{"DefaultSphere", [] { return sphere({}); }, 482, 512, 2497},
                      CountCase{"SmallestSphere",
                                [] {
                                  return sphere({1, 2, 2, false, 75});
                                },
                                4, 4, 17},
                      CountCase{"DefaultTorus", [] { return torus({}); }, 512, 512, 2561}),
    [](const auto& info) { return std::string(info.param.name); });

// Every edge of a closed, consistently wound surface is walked once in each
// direction.
void expectClosedAndConsistent(const ModelStore& store) {
  std::map<std::pair<int, int>, int> edges;
  for (const auto& facet : facetLists(store)) {
    for (std::size_t k = 0; k < facet.size(); ++k) {
      ++edges[{facet[k], facet[(k + 1) % facet.size()]}];
    }
  }
  for (const auto& [edge, count] : edges) {
    EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
    EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
  }
}

// Six times the enclosed volume, positive when the facets face outward.
double signedVolume(const ModelStore& store) {
  double sum = 0;
  auto at = [&](int v) { return store.vertices[static_cast<std::size_t>(v - 1)]; };
  for (const auto& facet : facetLists(store)) {
    for (std::size_t k = 1; k + 1 < facet.size(); ++k) {
      const Vertex a = at(facet[0]), b = at(facet[k]), c = at(facet[k + 1]);
      sum += a.x * (double(b.y) * c.z - double(b.z) * c.y) -
             a.y * (double(b.x) * c.z - double(b.z) * c.x) +
             a.z * (double(b.x) * c.y - double(b.y) * c.x);
    }
  }
  return sum;
}

struct SolidCase {
  const char* name;
  ModelStore (*make)();
  double volume;  // the solid's true volume
  double tolerance;
};

class Solids : public ::testing::TestWithParam<SolidCase> {};

TEST_P(Solids, AreClosedAndWoundOutward) {
  const ModelStore store = GetParam().make();
  expectClosedAndConsistent(store);
  EXPECT_NEAR(signedVolume(store) / 6.0, GetParam().volume, GetParam().tolerance);
}

// Reference volumes: the box W*H*D; a cone or cylinder of N sides is a
// pyramid or prism over a regular N-gon of area N/2 r^2 sin(2 pi / N).
INSTANTIATE_TEST_SUITE_P(Cases, Solids,
                         ::testing::Values(SolidCase{"Box",
                                                     [] {
                                                       return box({3, 1.5f, 0.5f, true, 75});
                                                     },
                                                     2.25, 1e-5},
                                           SolidCase{"Cone",
                                                     [] {
                                                       return cone({2, 2, 4, true, 75});
                                                     },
                                                     4.0 / 3.0, 1e-5},
                                           SolidCase{"Cylinder",
                                                     [] {
                                                       return cylinder({1, 2, 2, 4, true, 75});
                                                     },
                                                     2.0, 1e-5},
                                           SolidCase{"Sphere",
                                                     [] {
                                                       return sphere({1, 64, 64, false, 75});
                                                     },
                                                     4.18879, 0.01},
                                           SolidCase{"Torus",
                                                     [] {
                                                       return torus({1, 3, 64, 64, 0, false, 75});
                                                     },
                                                     2 * 9.8696 * 2, 0.2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BoxGeometry, VerticesSpanFromTheOrigin) {
  const ModelStore store = box({3, 1.5f, 0.5f, true, 75});
  const float expected[8][3] = {{0, 0, 0},    {0, 0, .5f},    {0, 3, 0},    {0, 3, .5f},
                                {1.5f, 0, 0}, {1.5f, 0, .5f}, {1.5f, 3, 0}, {1.5f, 3, .5f}};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(store.vertices[k].x, expected[k][0]) << k;
    EXPECT_EQ(store.vertices[k].y, expected[k][1]) << k;
    EXPECT_EQ(store.vertices[k].z, expected[k][2]) << k;
  }
  EXPECT_EQ(
      facetLists(store),
      (Lists{{1, 2, 4, 3}, {3, 4, 8, 7}, {5, 6, 2, 1}, {5, 7, 8, 6}, {2, 6, 8, 4}, {1, 3, 7, 5}}));
  int texVertex = 0;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    EXPECT_EQ(record.texVertex, ++texVertex);
    EXPECT_EQ(record.normal, (texVertex + 3) / 4);
  }
}

TEST(FacetOrder, SmallShapesListTheirFacetsInGenerationOrder) {
  EXPECT_EQ(facetLists(cone({1, 1, 3, true, 75})),
            (Lists{{1, 3, 2}, {1, 4, 3}, {1, 2, 4}, {2, 3, 4}}));
  EXPECT_EQ(facetLists(cylinder({1, 1, 1, 3, true, 75})),
            (Lists{{1, 4, 5, 2}, {2, 5, 6, 3}, {3, 6, 4, 1}, {1, 2, 3}, {4, 6, 5}}));
  EXPECT_EQ(facetLists(sphere({1, 3, 3, false, 75})), (Lists{{1, 3, 2},
                                                             {1, 4, 3},
                                                             {1, 2, 4},
                                                             {2, 3, 6, 5},
                                                             {3, 4, 7, 6},
                                                             {4, 2, 5, 7},
                                                             {8, 5, 6},
                                                             {8, 6, 7},
                                                             {8, 7, 5}}));
  EXPECT_EQ(
      facetLists(torus({1, 2, 2, 3, 0, false, 75})),
      (Lists{{1, 2, 5, 4}, {2, 3, 6, 5}, {3, 1, 4, 6}, {4, 5, 2, 1}, {5, 6, 3, 2}, {6, 4, 1, 3}}));
}

TEST(ConeGeometry, ApexAboveARingStartingBehindTheAxis) {
  const ModelStore store = cone({2.5f, 2.0f, 4, true, 75});
  EXPECT_EQ(store.vertices[0].y, 2.5f);
  // Vertex 2 at angle pi: (0, 0, -r); vertex 3 a quarter turn on: (r, 0, 0).
  EXPECT_NEAR(store.vertices[1].x, 0.0f, 1e-6);
  EXPECT_NEAR(store.vertices[1].z, -1.0f, 1e-6);
  EXPECT_NEAR(store.vertices[2].x, 1.0f, 1e-6);
  EXPECT_NEAR(store.vertices[2].z, 0.0f, 1e-6);
}

TEST(SphereGeometry, PolesAndFirstRing) {
  const ModelStore store = sphere({2, 4, 4, false, 75});
  EXPECT_EQ(store.vertices.front().y, 2.0f);
  EXPECT_EQ(store.vertices.back().y, -2.0f);
  // Ring 1 at 45 degrees from the top, its vertex 1 a quarter turn round.
  EXPECT_NEAR(store.vertices[1].x, 1.41421356f, 1e-5);
  EXPECT_NEAR(store.vertices[1].y, 1.41421356f, 1e-5);
  EXPECT_NEAR(store.vertices[2].z, 1.41421356f, 1e-5);
}

TEST(TorusGeometry, GridCoversTheUnitSquareWithRepeatedSeams) {
  const ModelStore store = torus({});
  ASSERT_EQ(store.numTVerts, 17 * 33);
  EXPECT_EQ(store.texVertices.front().u, 0.0f);
  EXPECT_EQ(store.texVertices.back().u, 1.0f);
  EXPECT_EQ(store.texVertices.back().v, 1.0f);
  // The quad of ring 0, column 31 takes columns 31 and 32 of rows 0 and 1.
  const CornerRecord* quad = &store.facetStream[5 * 31];
  EXPECT_EQ(quad[1].texVertex, 32);
  EXPECT_EQ(quad[2].texVertex, 33);
  EXPECT_EQ(quad[3].texVertex, 33 + 33);
  EXPECT_EQ(quad[4].texVertex, 32 + 33);
  EXPECT_EQ(quad[2].vertex, 1);  // the ring closes on its first vertex
}

TEST(TorusGeometry, RingsSitAroundHeightOfTheRingRadius) {
  // Rm 3, tube 1, rotation 0: ring 0 (phi = pi) is the circle of radius
  // Rm + t sin(pi) = 3 at height Rm + t cos(pi) = 2.
  const ModelStore store = torus({2, 4, 4, 4, 0, false, 75});
  EXPECT_NEAR(store.vertices[0].x, 3.0f, 1e-5);
  EXPECT_NEAR(store.vertices[0].y, 2.0f, 1e-5);
  // Rotated by 90 degrees the first ring moves to radius 2 at height 3.
  const ModelStore turned = torus({2, 4, 4, 4, 90, false, 75});
  EXPECT_NEAR(turned.vertices[0].x, 2.0f, 1e-5);
  EXPECT_NEAR(turned.vertices[0].y, 3.0f, 1e-5);
}

}  // namespace
}  // namespace corvina
