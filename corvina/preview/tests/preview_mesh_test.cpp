// The preview's buffers built from hand-made models, the checker and the
// render-3d record's distance.

#include "preview/preview_mesh.h"

#include <gtest/gtest.h>

#include <random>

#include "model/parallel_parts.h"
#include "preview/checker.h"
#include "preview/preview_options.h"
#include "testing/model_builder.h"

namespace corvina::preview {
namespace {

using testing::buildModel;
using testing::ModelRecipe;

//   4 --- 3        a quad (1 2 3 4) in the z = 0 plane, facing +z, and a
//   |     |  5     triangle (2 5 3) tilted towards +x
//   1 --- 2
ModelRecipe quadAndTriangle() {
  ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0.5f, 1}};
  recipe.texVertices = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
  recipe.normals = {{0, 0, 2}};
  recipe.facets = {{{1, 1, 1}, {2, 2, 1}, {3, 3, 1}, {4, 4, 0}}, {{2, 2, 0}, {5, 5, 0}, {3, 3, 0}}};
  recipe.groups = {{0, "body"}, {1, "lid"}};
  recipe.materials = {{0, "wood"}};
  return recipe;
}

TEST(PreviewMeshTest, GeometryFansFacetsAndPlacesCorners) {
  const ModelStore store = buildModel(quadAndTriangle());
  PreviewGeometry geometry;
  buildPreviewGeometry(store, NormalSource::Flat, geometry);
  EXPECT_EQ(previewCornerCount(store), 7u);
  const std::vector<float> positions = {0, 0, 0, 1, 0, 0,    1, 1, 0, 0, 1,
                                        0, 1, 0, 0, 2, 0.5f, 1, 1, 1, 0};
  EXPECT_EQ(geometry.positions, positions);
  const std::vector<std::uint32_t> triangles = {0, 1, 2, 0, 2, 3, 4, 5, 6};
  EXPECT_EQ(geometry.triangles, triangles);
  // The quad faces +z; the triangle lies in the plane x - z = 1, and its
  // corner order (counter-clockwise seen from there) faces (-1, 0, 1).
  for (int k = 0; k < 4; ++k) {
    EXPECT_FLOAT_EQ(geometry.normals[k * 3 + 2], 1.0f);
    EXPECT_FLOAT_EQ(geometry.normals[k * 3], 0.0f);
  }
  const float s = 1.0f / std::sqrt(2.0f);
  for (int k = 4; k < 7; ++k) {
    EXPECT_NEAR(geometry.normals[k * 3], -s, 1e-6);
    EXPECT_NEAR(geometry.normals[k * 3 + 1], 0, 1e-6);
    EXPECT_NEAR(geometry.normals[k * 3 + 2], s, 1e-6);
  }
}

TEST(PreviewMeshTest, ModelNormalsAreUsedWhereTheCornerHasOne) {
  ModelRecipe recipe = quadAndTriangle();
  recipe.normals = {{0, 3, 0}};
  const ModelStore store = buildModel(recipe);
  PreviewGeometry geometry;
  buildPreviewGeometry(store, NormalSource::Model, geometry);
  // Corners 0-2 carry normal 1 (made unit length), corner 3 and the triangle
  // have none and take their facet's plane.
  const std::vector<float> expected = {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1};
  EXPECT_EQ(std::vector<float>(geometry.normals.begin(), geometry.normals.begin() + 12), expected);
}

TEST(PreviewMeshTest, BadVertexNumbersAndShortFacetsMakeNoTriangles) {
  // A facet naming vertex 9 of 3, a two-corner facet and a good triangle.
  ModelStore store = buildModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {},
                                {{{1}, {2}, {9}}, {{1}, {2}}, {{1}, {2}, {3}}});
  PreviewGeometry geometry;
  buildPreviewGeometry(store, NormalSource::Flat, geometry);
  EXPECT_EQ(geometry.positions.size(), 8u * 3);
  EXPECT_EQ(geometry.positions[2 * 3], 0.0f);  // the bad corner sits at the origin
  const std::vector<std::uint32_t> triangles = {5, 6, 7};
  EXPECT_EQ(geometry.triangles, triangles);
  // A counted length shorter than the stream ends the walk there.
  store.numCornerRecords = 5;
  buildPreviewGeometry(store, NormalSource::Flat, geometry);
  EXPECT_EQ(geometry.positions.size(), 3u * 3);
  EXPECT_TRUE(geometry.triangles.empty());
}

// The buffers are built on every core: however the stream is cut, the same
// bytes as on one thread, on random facets with bad vertex and texture
// numbers, hidden and selected corners, and a list that ends early.
TEST(PreviewMeshTest, TheCutAmongThreadsChangesNothing) {
  std::mt19937 random(12);
  std::uniform_int_distribution<int> corners(1, 6), percent(0, 99);
  std::uniform_real_distribution<float> coordinate(-1.0f, 2.0f);
  for (const bool endsEarly : {false, true}) {
    std::vector<Vertex> vertices;
    for (int v = 0; v < 50; ++v)
      vertices.push_back({coordinate(random), coordinate(random), coordinate(random), 0});
    std::vector<testing::FacetSpec> facets;
    for (int f = 0; f < 900; ++f) {
      testing::FacetSpec facet;
      const int count = corners(random);
      for (int c = 0; c < count; ++c)
        facet.push_back({percent(random) < 3 ? 77 : 1 + percent(random) % 50});
      facets.push_back(facet);
    }
    ModelStore store = buildModel(vertices, {}, facets);
    for (CornerRecord& record : store.facetStream) {
      if (record.vertex <= 0) continue;
      if (percent(random) < 20) record.group |= kSelectedBit;
      if (percent(random) < 10) record.flags |= kHiddenBit;
      record.normal = percent(random) < 50 ? 1 : 0;
    }
    store.normals = {{0, 0, 3}};
    store.numVNormals = 1;
    store.texVertices.clear();
    for (int t = 0; t < 60; ++t)
      store.texVertices.push_back({coordinate(random), coordinate(random), 0});
    store.numTVerts = 60;
    for (CornerRecord& record : store.facetStream) record.texVertex = percent(random) % 65;
    if (endsEarly) store.facetStream[store.facetStream.size() / 2 + 1].vertex = kEndOfList;
    SelectionState selection;
    selection.source = {0.1f, 0.6f, 0.2f, 0.7f};
    selection.target = {0.3f, 0.9f, 0.1f, 0.5f};
    PreviewGeometry oneGeometry;
    PreviewSurface oneSurface;
    {
      const ScopedParallelThreads cut(1);
      buildPreviewGeometry(store, NormalSource::Model, oneGeometry);
      buildPreviewSurface(store, selection, oneSurface);
    }
    ASSERT_FALSE(oneGeometry.triangles.empty());
    for (const std::size_t threads : {2, 3, 8}) {
      const ScopedParallelThreads cut(threads, 1);
      PreviewGeometry geometry;
      PreviewSurface surface;
      buildPreviewGeometry(store, NormalSource::Model, geometry);
      buildPreviewSurface(store, selection, surface);
      EXPECT_EQ(previewCornerCount(store), oneSurface.flags.size()) << threads;
      EXPECT_EQ(geometry.positions, oneGeometry.positions) << threads;
      EXPECT_EQ(geometry.normals, oneGeometry.normals) << threads;
      EXPECT_EQ(geometry.triangles, oneGeometry.triangles) << threads;
      EXPECT_EQ(surface.texCoords, oneSurface.texCoords) << threads;
      EXPECT_EQ(surface.flags, oneSurface.flags) << threads;
    }
  }
}

TEST(PreviewMeshTest, SurfaceCarriesCoordinatesFlagsAndSets) {
  ModelStore store = buildModel(quadAndTriangle());
  SelectionState selection;
  // Corner records 1..4 are the quad, 6..8 the triangle.
  store.facetStream[6].flags |= kHiddenBit;  // hides the triangle (its first corner)
  store.texVertices[store.facetStream[4].texVertex - 1] = {kNoUvU, kNoUvV, 0};
  struct Case {
    int colorMode;
    std::vector<std::uint32_t> sets;
  };
  const Case cases[] = {{kColorModeBlackWhite, {0, 0, 0, 0, 1, 1, 1}},
                        {kColorModeGroup, {0, 0, 0, 0, 1, 1, 1}},
                        {kColorModeMaterial, {0, 0, 0, 0, 0, 0, 0}},
                        {kColorModeRegion, {0, 0, 0, 0, 0, 0, 0}}};
  for (const Case& c : cases) {
    store.colorMode = c.colorMode;
    PreviewSurface surface;
    buildPreviewSurface(store, selection, surface);
    const std::vector<float> uvs = {0, 0, 1, 0, 1, 1, 0, 0, 1, 0, 0.5f, 0.5f, 1, 1};
    EXPECT_EQ(surface.texCoords, uvs);
    const std::vector<std::uint32_t> states = {
        0, 0, 0, kCornerNoUv, kCornerHidden, kCornerHidden, kCornerHidden};
    for (std::size_t k = 0; k < 7; ++k) {
      EXPECT_EQ(surface.flags[k] & 0xFF, states[k]) << k;
      EXPECT_EQ(surface.flags[k] >> kCornerSetShift, c.sets[k]) << k;
    }
  }
}

TEST(PreviewMeshTest, SelectedCornersShowThePendingMove) {
  ModelStore store = buildModel(quadAndTriangle());
  for (int j = 1; j <= 4; ++j) store.facetStream[j].group |= kSelectedBit;
  SelectionState selection;
  selection.selectionActive = true;
  // The quad's frame (x = u, y = 1 - v) moved right by 0.5 and squeezed to
  // half its height at the top.
  selection.source = {0, 1, 0, 1};
  selection.target = {0.5f, 1.5f, 0, 0.5f};
  PreviewSurface surface;
  buildPreviewSurface(store, selection, surface);
  const std::vector<float> uvs = {0.5f, 0.5f, 1.5f, 0.5f, 1.5f, 1, 0.5f, 1, 1, 0, 0.5f, 0.5f, 1, 1};
  EXPECT_EQ(surface.texCoords, uvs);
  for (std::size_t k = 0; k < 7; ++k)
    EXPECT_EQ((surface.flags[k] & kCornerSelected) != 0, k < 4) << k;
}

TEST(PreviewMeshTest, OutOfRangeTextureNumbersReadAsMissing) {
  ModelStore store = buildModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0.25f, 0.75f, 0}},
                                {{{1, 1}, {2, 0}, {3, 7}}});
  PreviewSurface surface;
  buildPreviewSurface(store, SelectionState{}, surface);
  const std::vector<float> uvs = {0.25f, 0.75f, 0, 0, 0, 0};
  EXPECT_EQ(surface.texCoords, uvs);
  const std::vector<std::uint32_t> flags = {0, kCornerNoUv, kCornerNoUv};
  EXPECT_EQ(surface.flags, flags);
}

TEST(PreviewMeshTest, AnEmptyStoreHasNoCorners) {
  const ModelStore store;
  PreviewGeometry geometry;
  PreviewSurface surface;
  buildPreviewGeometry(store, NormalSource::Model, geometry);
  buildPreviewSurface(store, SelectionState{}, surface);
  EXPECT_TRUE(geometry.positions.empty());
  EXPECT_TRUE(geometry.triangles.empty());
  EXPECT_TRUE(surface.texCoords.empty());
}

TEST(PreviewMeshTest, CheckerHasEightSquaresEachWay) {
  const TexturePixels checker = checkerPixels(64);
  ASSERT_EQ(checker.width, 64);
  ASSERT_EQ(checker.rgba.size(), 64u * 64 * 4);
  auto at = [&](int x, int y) {
    const std::uint8_t* p = &checker.rgba[(static_cast<std::size_t>(y) * 64 + x) * 4];
    return Rgb{p[0], p[1], p[2]};
  };
  int changes = 0;
  for (int x = 1; x < 64; ++x) changes += at(x, 0).red != at(x - 1, 0).red;
  EXPECT_EQ(changes, 7);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool light = (x / 8 + y / 8) % 2 == 0;
      const Rgb expected = light ? kCheckerLight : kCheckerDark;
      ASSERT_EQ(at(x, y).red, expected.red) << x << "," << y;
      ASSERT_EQ(at(x, y).green, expected.green);
      ASSERT_EQ(at(x, y).blue, expected.blue);
      ASSERT_EQ(checker.rgba[(static_cast<std::size_t>(y) * 64 + x) * 4 + 3], 255);
    }
  // Strongly contrasting: far apart in every sense of brightness.
  const int lightSum = kCheckerLight.red + kCheckerLight.green + kCheckerLight.blue;
  const int darkSum = kCheckerDark.red + kCheckerDark.green + kCheckerDark.blue;
  EXPECT_GT(lightSum - darkSum, 300);
}

TEST(PreviewMeshTest, RenderDistanceIsEmptyOrAPositiveNumber) {
  const std::pair<const char*, float> cases[] = {
      {"", 0.0f},   {"2.5", 2.5f}, {"10", 10.0f},  {"0", -1.0f},   {"-3", -1.0f},
      {"x", -1.0f}, {"3m", -1.0f}, {"nan", -1.0f}, {"inf", -1.0f}, {"1e40", -1.0f}};
  for (const auto& [text, expected] : cases) {
    RenderPreviewOptions options;
    options.distance = text;
    EXPECT_EQ(requestedDistance(options), expected) << text;
  }
}

}  // namespace
}  // namespace corvina::preview
