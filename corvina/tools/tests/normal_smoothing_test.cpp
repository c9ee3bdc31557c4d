// Normal smoothing: angle threshold, scopes, selection and the renumbering.

#include <gtest/gtest.h>

#include <cmath>

#include "tools/normal_smoothing.h"
#include "tools/tests/mesh_models.h"

namespace corvina {
namespace {

using testing::facetsOf;

constexpr float kInvRoot3 = 0.57735027f;

void expectNear(const Normal& actual, const Normal& expected, std::size_t corner) {
  EXPECT_NEAR(actual.x, expected.x, 1e-5) << "corner " << corner;
  EXPECT_NEAR(actual.y, expected.y, 1e-5) << "corner " << corner;
  EXPECT_NEAR(actual.z, expected.z, 1e-5) << "corner " << corner;
}

float sign(float value) {
  return value > 0.5f ? 1.0f : -1.0f;
}

TEST(Smoothing, CubeAt89DegreesKeepsHardEdges) {
  ModelStore store = testing::unitCube();
  ASSERT_TRUE(smoothNormals(store, 89.0f, SmoothingScope::AllFacets, false));
  const std::vector<Normal> normals = testing::cornerNormals(store);
  ASSERT_EQ(normals.size(), 24u);
  for (std::size_t k = 0; k < normals.size(); ++k) {
    expectNear(normals[k], testing::kCubeFaceNormals[k / 4], k);
  }
}

TEST(Smoothing, CubeAt91DegreesBlendsTheThreeFacesAtEachCorner) {
  ModelStore store = testing::unitCube();
  ASSERT_TRUE(smoothNormals(store, 91.0f, SmoothingScope::AllFacets, false));
  const std::vector<Normal> normals = testing::cornerNormals(store);
  const std::vector<Vertex> cube = testing::boxCorners(1, 1, 1);
  std::size_t k = 0;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    // Outward from the cube's centre, along the diagonal through the vertex.
    const Vertex& p = cube[static_cast<std::size_t>(record.vertex) - 1];
    expectNear(normals[k], {sign(p.x) * kInvRoot3, sign(p.y) * kInvRoot3, sign(p.z) * kInvRoot3},
               k);
    ++k;
  }
}

// Two triangles sharing the edge 2-3, the second tilted about that edge by
// `tilt` degrees out of the z = 0 plane.
ModelStore hinge(float tiltDegrees) {
  const float t = tiltDegrees * 3.14159265f / 180.0f;
  // Vertex 4 is (1, 1, 0) turned about the edge's midpoint (0.5, 0.5, 0).
  const float across = 0.5f + 0.5f * std::cos(t);
  const std::vector<Vertex> vertices = {
      {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {across, across, -std::sin(t) * 0.70710678f, 0}};
  return testing::buildModel(vertices, {}, facetsOf({{1, 2, 3}, {2, 4, 3}}));
}

struct AngleCase {
  const char* name;
  float tilt;   // degrees between the two facets
  float angle;  // smoothing angle
  bool blends;  // whether corners on the shared edge mix both facets
};

class SmoothingAngle : public ::testing::TestWithParam<AngleCase> {};

TEST_P(SmoothingAngle, DecidesWhetherNeighboursBlend) {
  const AngleCase& c = GetParam();
  ModelStore store = hinge(c.tilt);
  ASSERT_TRUE(smoothNormals(store, c.angle, SmoothingScope::AllFacets, false));
  const std::vector<Normal> normals = testing::cornerNormals(store);
  // Corner 2 (vertex 2, first facet) lies on the shared edge; corner 1 does not.
  const Normal& own = normals[0];
  const Normal& edge = normals[1];
  const bool same = std::fabs(own.x - edge.x) < 1e-7f && std::fabs(own.y - edge.y) < 1e-7f &&
                    std::fabs(own.z - edge.z) < 1e-7f;
  EXPECT_EQ(!same, c.blends);
}

INSTANTIATE_TEST_SUITE_P(Cases, SmoothingAngle,
                         ::testing::Values(AngleCase{"ZeroActsAsTwoDegrees", 1.0f, 0.0f, true},
                                           AngleCase{"ZeroStillSplitsThreeDegrees", 3.0f, 0.0f,
                                                     false},
                                           AngleCase{"WithinAngle", 30.0f, 45.0f, true},
                                           AngleCase{"BeyondAngle", 60.0f, 45.0f, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Smoothing, ScopeByGroupKeepsGroupsApart) {
  // The cube at 91 degrees, with face 1 (x = 0) in group 1, the rest in group 0.
  for (SmoothingScope scope : {SmoothingScope::ByGroup, SmoothingScope::AllFacets}) {
    ModelStore store = testing::unitCube();
    for (int j = 1; j <= 4; ++j) store.facetStream[j].group = 1;
    ASSERT_TRUE(smoothNormals(store, 91.0f, scope, false));
    const std::vector<Normal> normals = testing::cornerNormals(store);
    if (scope == SmoothingScope::ByGroup) {
      for (std::size_t k = 0; k < 4; ++k) expectNear(normals[k], {-1, 0, 0}, k);
      // Vertex 1 on the y = 0 face: only the y = 0 and z = 0 faces blend.
      expectNear(normals[11], {0, -0.70710678f, -0.70710678f}, 11);
    } else {
      expectNear(normals[0], {-kInvRoot3, -kInvRoot3, -kInvRoot3}, 0);
    }
  }
}

TEST(Smoothing, ScopeByMaterialAndRegionReadTheirOwnFields) {
  for (SmoothingScope scope : {SmoothingScope::ByMaterial, SmoothingScope::ByRegion}) {
    ModelStore store = testing::unitCube();
    for (int j = 1; j <= 4; ++j) {
      if (scope == SmoothingScope::ByMaterial)
        store.facetStream[j].material = 2;
      else
        store.facetStream[j].region = 2;
    }
    ASSERT_TRUE(smoothNormals(store, 91.0f, scope, false));
    expectNear(testing::cornerNormals(store)[0], {-1, 0, 0}, 0);
  }
}

TEST(Smoothing, SelectionLimitsWhoGetsAndGivesNormals) {
  ModelStore store = testing::unitCube();
  testing::setNormals(store, {{9, 0, 0}}, std::vector<int>(24, 1));
  // Faces x = 0 and y = 0 selected; one unselected corner has no normal.
  for (int j = 1; j <= 4; ++j) store.facetStream[j].group |= kSelectedBit;
  for (int j = 11; j <= 14; ++j) store.facetStream[j].group |= kSelectedBit;
  store.facetStream[6].normal = 0;
  ASSERT_TRUE(smoothNormals(store, 91.0f, SmoothingScope::AllFacets, true));
  const std::vector<Normal> normals = testing::cornerNormals(store);
  // Vertex 1 on face x = 0: only the two selected faces blend.
  expectNear(normals[0], {-0.70710678f, -0.70710678f, 0}, 0);
  expectNear(normals[2], {-1, 0, 0}, 2);  // vertex 4 touches no other selected face
  expectNear(normals[4], {0, 0, 0}, 4);   // unselected, had no normal
  expectNear(normals[5], {9, 0, 0}, 5);   // unselected keeps its old normal
}

TEST(Smoothing, OneNormalPerCornerNumberedInStreamOrder) {
  ModelStore store =
      testing::buildModel(std::vector<Vertex>(5), {}, facetsOf({{1, 2, 3}, {1}, {3, 4, 5, 2}}));
  store.numFacets = 99;
  ASSERT_TRUE(smoothNormals(store, 89.0f, SmoothingScope::ByMaterial, false));
  EXPECT_EQ(store.numVNormals, 8);
  EXPECT_EQ(store.normals.size(), 8u);
  EXPECT_EQ(store.numFacets, 3);
  int expected = 1;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex > 0) {
      EXPECT_EQ(record.normal, expected++);
    }
  }
}

}  // namespace
}  // namespace corvina
