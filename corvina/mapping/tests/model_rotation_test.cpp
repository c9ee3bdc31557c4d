// Model rotation from the base positions through the degree tables.

#include <gtest/gtest.h>

#include <cmath>

#include "mapping/degree_tables.h"
#include "mapping/model_rotation.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

std::vector<Vertex> rotated(const RotateModelOptions& angles) {
  ModelStore cube = testing::unitCube();
  rotateModel(cube, angles, makeDegreeTables());
  return cube.vertices;
}

void expectSamePositions(const std::vector<Vertex>& a, const std::vector<Vertex>& b,
                         float tolerance, const char* what) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t k = 0; k < a.size(); ++k) {
    EXPECT_NEAR(a[k].x, b[k].x, tolerance) << what << " vertex " << k;
    EXPECT_NEAR(a[k].y, b[k].y, tolerance) << what << " vertex " << k;
    EXPECT_NEAR(a[k].z, b[k].z, tolerance) << what << " vertex " << k;
  }
}

TEST(DegreeTables, UseTheirOwnFactorJustBelowPiOver180) {
  const DegreeTables tables = makeDegreeTables();
  EXPECT_EQ(tables.cosine[0], 1.0f);
  EXPECT_EQ(tables.sine[0], 0.0f);
  EXPECT_FLOAT_EQ(tables.sine[90], 1.0f);
  // 90 * 0.01745327777777778 falls short of pi / 2 by about 1.3e-6.
  EXPECT_GT(tables.cosine[90], 1e-6f);
  EXPECT_LT(tables.cosine[90], 2e-6f);
  EXPECT_LT(tables.sine[360], 0.0f);
  EXPECT_GT(tables.sine[360], -1e-5f);
}

TEST(DegreeTableIndex, MapsEveryAngleIntoTheTable) {
  struct Case {
    int degrees, index;
  };
  const Case cases[] = {{0, 0},    {90, 90}, {-90, 270},  {360, 360}, {-360, 0},
                        {-1, 359}, {361, 1}, {-361, 359}, {720, 0},   {-100000, 80}};
  for (const Case& c : cases) EXPECT_EQ(degreeTableIndex(c.degrees), c.index) << c.degrees;
}

TEST(RotateModel, EqualAnglesGiveEqualPositions) {
  struct Case {
    RotateModelOptions a, b;
  };
  const Case cases[] = {
      {{-90, 0, 0}, {270, 0, 0}},
      {{0, -90, 0}, {0, 270, 0}},
      {{0, 0, -90}, {0, 0, 270}},
      {{-45, 30, -120}, {315, 30, 240}},
  };
  for (const Case& c : cases) {
    const std::vector<Vertex> a = rotated(c.a), b = rotated(c.b);
    for (std::size_t k = 0; k < a.size(); ++k) {
      EXPECT_EQ(a[k].x, b[k].x);
      EXPECT_EQ(a[k].y, b[k].y);
      EXPECT_EQ(a[k].z, b[k].z);
    }
  }
}

TEST(RotateModel, FullTurnsAndZeroRestoreTheBase) {
  const ModelStore cube = testing::unitCube();
  const std::vector<Vertex> zero = rotated({0, 0, 0});
  for (std::size_t k = 0; k < zero.size(); ++k) {
    EXPECT_EQ(zero[k].x, cube.baseVertices[k].x);
    EXPECT_EQ(zero[k].y, cube.baseVertices[k].y);
    EXPECT_EQ(zero[k].z, cube.baseVertices[k].z);
  }
  expectSamePositions(rotated({360, -360, 360}), cube.baseVertices, 1e-4f, "full turns");
}

TEST(RotateModel, TurnsAboutXThenYThenZ) {
  struct Case {
    RotateModelOptions angles;
    Vertex expected;  // where vertex 8 (1, 1, 1) ends
  };
  const Case cases[] = {
      {{90, 0, 0}, {1, -1, 1}},    // y' = -z, z' = y
      {{0, 90, 0}, {1, 1, -1}},    // x' = z, z' = -x
      {{0, 0, 90}, {-1, 1, 1}},    // x' = -y, y' = x
      {{90, 90, 0}, {1, -1, -1}},  // (1,-1,1) then about Y
      {{90, 0, 90}, {1, 1, 1}},    // (1,-1,1) then about Z
  };
  for (const Case& c : cases) {
    const std::vector<Vertex> v = rotated(c.angles);
    EXPECT_NEAR(v[7].x, c.expected.x, 1e-5f);
    EXPECT_NEAR(v[7].y, c.expected.y, 1e-5f);
    EXPECT_NEAR(v[7].z, c.expected.z, 1e-5f);
  }
}

TEST(RotateModel, StartsFromTheBaseEveryTime) {
  ModelStore cube = testing::unitCube();
  const DegreeTables tables = makeDegreeTables();
  rotateModel(cube, {45, 0, 0}, tables);
  rotateModel(cube, {45, 0, 0}, tables);
  const std::vector<Vertex> once45 = rotated({45, 0, 0});
  expectSamePositions(cube.vertices, once45, 0.0f, "twice 45");
  const std::vector<Vertex> ninety = rotated({90, 0, 0});
  EXPECT_GT(std::fabs(cube.vertices[7].y - ninety[7].y), 0.1f);
}

TEST(RotateModel, LeavesNormalsMarksAndTextureAlone) {
  ModelStore cube = testing::unitCube();
  cube.vertices[2].mark = 1;
  cube.normals = {Normal{0, 1, 0}};
  cube.numVNormals = 1;
  rotateModel(cube, {30, 60, 90}, makeDegreeTables());
  EXPECT_EQ(cube.vertices[2].mark, 1);
  EXPECT_EQ(cube.normals[0].y, 1.0f);
  EXPECT_EQ(cube.baseVertices[7].x, 1.0f);
}

}  // namespace
}  // namespace corvina
