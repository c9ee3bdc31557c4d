// Fix Seams, Weld Vertices and Split Vertices on small hand-made models.

#include <gtest/gtest.h>

#include <cmath>

#include "tools/seam_normals.h"
#include "tools/split_vertices.h"
#include "tools/tests/mesh_models.h"
#include "tools/weld_vertices.h"

namespace corvina {
namespace {

using testing::facetsOf;
using testing::facetVertexLists;
using Lists = std::vector<std::vector<int>>;

constexpr float kHalfRoot2 = 0.70710678f;

void expectNormal(const Normal& actual, const Normal& expected, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-6) << what;
  EXPECT_NEAR(actual.z, expected.z, 1e-6) << what;
}

void expectNormals(const std::vector<Normal>& actual, const std::vector<Normal>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    expectNormal(actual[i], expected[i], "normal " + std::to_string(i + 1));
  }
}

// Two triangles over vertices 1-3 and 4-6; vertex 1 and 4 may share a position.
struct SeamCase {
  const char* name;
  std::vector<Vertex> vertices;
  std::vector<int> cornerNormals;  // normal index of each of the six corners
  std::vector<Normal> normals;
  std::vector<Normal> expected;  // the normal array afterwards
};

const Normal kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};
const Normal kMeanXY{kHalfRoot2, kHalfRoot2, 0};

std::vector<Vertex> twoTriangles(float fourthX) {
  return {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {fourthX, 0, 0, 0}, {5, 0, 0, 0}, {0, 5, 0, 0}};
}

class FixSeams : public ::testing::TestWithParam<SeamCase> {};

TEST_P(FixSeams, AveragesNormalsAtOnePosition) {
  const SeamCase& c = GetParam();
  ModelStore store = testing::buildModel(c.vertices, {}, facetsOf({{1, 2, 3}, {4, 5, 6}}));
  testing::setNormals(store, c.normals, c.cornerNormals);
  ASSERT_EQ(fixSeams(store), NormalToolOutcome::Done);
  expectNormals(store.normals, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FixSeams,
                         ::testing::Values(SeamCase{"TwoDifferentNormals",
                                                    twoTriangles(0),
                                                    {1, 3, 3, 2, 3, 3},
                                                    {kX, kY, kZ},
                                                    {kMeanXY, kMeanXY, kZ}},
                                           SeamCase{"EqualNormalsLeftAlone",
                                                    twoTriangles(0),
                                                    {1, 3, 3, 2, 3, 3},
                                                    {kX, kX, kZ},
                                                    {kX, kX, kZ}},
                                           SeamCase{"MinusZeroIsAnotherPosition",
                                                    twoTriangles(-0.0f),
                                                    {1, 3, 3, 2, 3, 3},
                                                    {kX, kY, kZ},
                                                    {kX, kY, kZ}},
                                           SeamCase{"OppositeNormalsGiveZero",
                                                    twoTriangles(0),
                                                    {1, 3, 3, 2, 3, 3},
                                                    {kX, {-1, 0, 0}, kZ},
                                                    {{0, 0, 0}, {0, 0, 0}, kZ}},
                                           SeamCase{"CornerWithoutNormalSkipped",
                                                    twoTriangles(0),
                                                    {1, 3, 3, 0, 3, 3},
                                                    {kX, kY, kZ},
                                                    {kX, kY, kZ}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FixSeams, ThreeCornersAABAllTakeTheMeanOfAAndB) {
  // Corners of vertices 1, 4 and 7 share the origin; normals A, A, B.
  std::vector<Vertex> vertices(9, Vertex{3, 3, 3, 0});
  vertices[0] = vertices[3] = vertices[6] = Vertex{};
  ModelStore store = testing::buildModel(vertices, {}, facetsOf({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
  testing::setNormals(store, {kX, kX, kY, kZ}, {1, 4, 4, 2, 4, 4, 3, 4, 4});
  ASSERT_EQ(fixSeams(store), NormalToolOutcome::Done);
  expectNormals(store.normals, {kMeanXY, kMeanXY, kMeanXY, kZ});
}

TEST(FixSeams, ReportsMissingModelAndNormals) {
  ModelStore empty;
  EXPECT_EQ(fixSeams(empty), NormalToolOutcome::NoModel);
  EXPECT_EQ(weldVertices(empty), NormalToolOutcome::NoModel);
  ModelStore store = testing::buildModel(twoTriangles(0), {}, facetsOf({{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(fixSeams(store), NormalToolOutcome::NoNormals);
  EXPECT_EQ(weldVertices(store), NormalToolOutcome::NoNormals);
}

// One normal per vertex, numbered like the vertices, as Weld expects.
ModelStore weldModel(const std::vector<Vertex>& vertices, const Lists& facets,
                     const std::vector<Normal>& normals) {
  ModelStore store = testing::buildModel(vertices, {}, facetsOf(facets));
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex > 0) record.normal = record.vertex;
  }
  store.normals = normals;
  store.numVNormals = static_cast<int>(normals.size());
  return store;
}

std::vector<int> cornerNormalIndices(const ModelStore& store) {
  std::vector<int> indices;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex > 0) indices.push_back(record.normal);
  }
  return indices;
}

TEST(Weld, TwoCoincidentVerticesBecomeTheLowerOne) {
  // Vertex 2 and 4 share (1, 0, 0).
  const std::vector<Vertex> vertices = {
      {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {2, 1, 0, 0}};
  ModelStore store = weldModel(vertices, {{1, 2, 3}, {4, 5, 3}}, {kZ, kX, kZ, kY, kZ});
  ASSERT_EQ(weldVertices(store), NormalToolOutcome::Done);
  EXPECT_EQ(facetVertexLists(store), (Lists{{1, 2, 3}, {2, 5, 3}}));
  EXPECT_EQ(cornerNormalIndices(store), (std::vector<int>{1, 2, 3, 2, 5, 3}));
  EXPECT_EQ(store.numVerts, 5);
  expectNormals(store.normals, {kZ, kMeanXY, kZ, kMeanXY, kZ});
}

TEST(Weld, ThreeAtOnePositionMergeIntoTheirNeighbours) {
  // Vertices 1, 2 and 3 coincide: 2 merges into 1, then 3 into 2.
  const std::vector<Vertex> vertices = {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}};
  ModelStore store = weldModel(vertices, {{1, 4, 4}, {2, 4, 4}, {3, 4, 4}}, {kX, kX, kY, kZ});
  ASSERT_EQ(weldVertices(store), NormalToolOutcome::Done);
  EXPECT_EQ(facetVertexLists(store), (Lists{{1, 4, 4}, {1, 4, 4}, {2, 4, 4}}));
}

TEST(Weld, VertexOfManyCornersTakesTheStreamPath) {
  // Vertex 1 is used by 17 facets, more than a list holds; vertex 2 lies on it.
  Lists facets;
  for (int k = 0; k < 17; ++k) facets.push_back({1, 3, 4});
  facets.push_back({2, 4, 3});
  const std::vector<Vertex> vertices = {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}};
  ModelStore store = weldModel(vertices, facets, {kX, kY, kZ, kZ});
  ASSERT_EQ(weldVertices(store), NormalToolOutcome::Done);
  EXPECT_EQ(facetVertexLists(store).back(), (std::vector<int>{1, 4, 3}));
  EXPECT_EQ(cornerNormalIndices(store)[17 * 3], 2);  // normal indices left alone
  expectNormals(store.normals, {kMeanXY, kMeanXY, kZ, kZ});
}

TEST(Weld, FewerNormalsThanVerticesStillMergesWithoutReadingPast) {
  const std::vector<Vertex> vertices = {{1, 0, 0, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}};
  ModelStore store = weldModel(vertices, {{1, 2, 3}}, {kX, kY});
  ASSERT_EQ(weldVertices(store), NormalToolOutcome::Done);
  EXPECT_EQ(facetVertexLists(store), (Lists{{1, 2, 1}}));
  // Vertex 3 has no normal of its number: no mean, normals untouched, and the
  // corner's index 3 (already out of range) is turned to the real normal 1.
  expectNormals(store.normals, {kX, kY});
  EXPECT_EQ(cornerNormalIndices(store), (std::vector<int>{1, 2, 1}));
}

TEST(Weld, MinusZeroIsAnotherPosition) {
  const std::vector<Vertex> vertices = {{0, 0, 0, 0}, {-0.0f, 0, 0, 0}, {1, 1, 0, 0}};
  ModelStore store = weldModel(vertices, {{1, 2, 3}}, {kX, kY, kZ});
  ASSERT_EQ(weldVertices(store), NormalToolOutcome::Done);
  EXPECT_EQ(facetVertexLists(store), (Lists{{1, 2, 3}}));
}

TEST(SplitVertices, CubeGetsOneVertexPerCorner) {
  ModelStore store = testing::unitCube();
  for (Vertex& v : store.vertices) v.x += 10;  // a rotated working copy
  store.baseVertices[7].mark = 1;
  ASSERT_TRUE(splitVertices(store));
  EXPECT_EQ(store.numVerts, 24);
  ASSERT_EQ(store.vertices.size(), 24u);
  const Lists lists = facetVertexLists(store);
  int expectedIndex = 1;
  const std::vector<Vertex> cube = testing::boxCorners(1, 1, 1);
  const auto original = testing::cubeFacets();
  for (std::size_t f = 0; f < lists.size(); ++f) {
    for (std::size_t k = 0; k < lists[f].size(); ++k) {
      EXPECT_EQ(lists[f][k], expectedIndex++);
      const Vertex& was = cube[static_cast<std::size_t>(original[f][k].vertex) - 1];
      for (const auto* array : {&store.vertices, &store.baseVertices}) {
        const Vertex& now = (*array)[static_cast<std::size_t>(lists[f][k]) - 1];
        EXPECT_EQ(now.x, was.x);
        EXPECT_EQ(now.y, was.y);
        EXPECT_EQ(now.z, was.z);
        EXPECT_EQ(now.mark, 0);
      }
    }
  }
}

}  // namespace
}  // namespace corvina
