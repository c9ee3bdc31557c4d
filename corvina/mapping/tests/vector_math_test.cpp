// The vector operations every projection builds on.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "mapping/tests/mapping_models.h"
#include "mapping/vector_math.h"

namespace corvina {
namespace {

struct SanitizeCase {
  float input;
  float expected;
};

TEST(SanitizeFloat, KeepsOrdinaryNumbersAndZeroesTheRest) {
  const float inf = std::numeric_limits<float>::infinity();
  const SanitizeCase cases[] = {
      {1.5f, 1.5f},
      {-2.0f, -2.0f},
      {1e-6f, 1e-6f},
      {-1e-6f, -1e-6f},  // negative, but not closer to 0 than 1e-6
      {-9.9e-7f, 0.0f},  // negative and closer to 0 than 1e-6
      {5e-7f, 5e-7f},    // positive small values stay
      {1.1754944e-38f, 1.1754944e-38f},
      {1e-39f, 0.0f},  // denormal
      {0.0f, 0.0f},
      {-0.0f, 0.0f},
      {3.4028235e38f, 3.4028235e38f},
      {inf, 0.0f},
      {-inf, 0.0f},
      {std::numeric_limits<float>::quiet_NaN(), 0.0f},
  };
  for (const SanitizeCase& c : cases) {
    const float result = sanitizeFloat(c.input);
    EXPECT_EQ(result, c.expected) << "input " << c.input;
    EXPECT_FALSE(std::signbit(result) && result == 0.0f) << "negative zero from " << c.input;
  }
}

TEST(UnitVector, ScalesToLengthOneAndLeavesZeroAlone) {
  struct Case {
    Vector3 input, expected;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {{3, 0, 4}, {0.6f, 0, 0.8f}},
      {{0, -2, 0}, {0, -1, 0}},
      {{0, 0, 0}, {0, 0, 0}},
      {{nan, 1, 0}, {0, 0, 0}},
      {{std::numeric_limits<float>::infinity(), 0, 0}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    const Vector3 n = unitVector(c.input);
    EXPECT_FLOAT_EQ(n.x, c.expected.x);
    EXPECT_FLOAT_EQ(n.y, c.expected.y);
    EXPECT_FLOAT_EQ(n.z, c.expected.z);
  }
}

TEST(CrossProduct, FollowsTheRightHandRule) {
  const Vector3 z = crossProduct({1, 0, 0}, {0, 1, 0});
  EXPECT_EQ(z.x, 0.0f);
  EXPECT_EQ(z.y, 0.0f);
  EXPECT_EQ(z.z, 1.0f);
  EXPECT_EQ(dotProduct({1, 2, 3}, {4, -5, 6}), 12.0f);
}

// A vector crossed with itself is exactly zero only when each product is
// rounded before the subtraction; a fused multiply-add keeps the rounding
// error of one product and leaves a residue. So this catches the compiler
// contracting the mapping code's arithmetic.
TEST(CrossProduct, OfAVectorWithItselfIsExactlyZero) {
  const float values[] = {1.0f / 3.0f, 0.1f, 2.7182817f, 1.4142135f, 0.7f};
  for (float a : values) {
    for (float b : values) {
      for (float c : values) {
        const Vector3 v{a, b, c};
        const Vector3 r = crossProduct(v, v);
        EXPECT_EQ(r.x, 0.0f);
        EXPECT_EQ(r.y, 0.0f);
        EXPECT_EQ(r.z, 0.0f);
      }
    }
  }
}

TEST(FacetNormal, IsTheCrossOfTheFirstTwoEdges) {
  const ModelStore cube = testing::unitCube(2.0f);
  // Separators of the six quads sit at records 0, 5, 10, 15, 20, 25.
  const Vector3 expected[] = {{4, 0, 0}, {-4, 0, 0}, {0, 4, 0}, {0, -4, 0}, {0, 0, 4}, {0, 0, -4}};
  for (int facet = 0; facet < 6; ++facet) {
    const Vector3 n = facetNormal(cube, static_cast<std::size_t>(facet) * 5);
    EXPECT_EQ(n.x, expected[facet].x) << "facet " << facet;
    EXPECT_EQ(n.y, expected[facet].y) << "facet " << facet;
    EXPECT_EQ(n.z, expected[facet].z) << "facet " << facet;
  }
}

TEST(FacetNormal, OfAFacetWithoutThreeCornersIsZeroAndReadsNoFurther) {
  using testing::FacetSpec;
  // A two-corner facet followed by a triangle, and a one-corner facet last:
  // the normal must not borrow corners of the next facet.
  const ModelStore store =
      testing::buildModel({Vertex{0, 0, 0}, Vertex{1, 0, 0}, Vertex{0, 1, 0}}, {},
                          {FacetSpec{{1}, {2}}, FacetSpec{{1}, {2}, {3}}, FacetSpec{{3}}});
  const std::size_t separators[] = {0, 3, 7};
  const float expectedZ[] = {0, 1, 0};
  for (int k = 0; k < 3; ++k) {
    const Vector3 n = facetNormal(store, separators[k]);
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, expectedZ[k]) << "facet " << k;
  }
  // A separator position at or beyond the stream's end.
  EXPECT_EQ(facetNormal(store, 9).z, 0.0f);
  EXPECT_EQ(facetNormal(store, 1000).z, 0.0f);
}

TEST(FacetNormal, IgnoresCornersThatNameNoVertex) {
  using testing::FacetSpec;
  const ModelStore store =
      testing::buildModel({Vertex{0, 0, 0}, Vertex{1, 0, 0}}, {}, {FacetSpec{{1}, {2}, {7}}});
  const Vector3 n = facetNormal(store, 0);
  EXPECT_EQ(n.z, 0.0f);
}

}  // namespace
}  // namespace corvina
