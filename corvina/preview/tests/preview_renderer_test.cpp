// The preview drawn through a window-less OpenGL context (Mesa's software
// renderer does, without a display): the colours where the model is and is
// not, and which buffers an update sends. Skipped only where no OpenGL
// context can be made at all.

#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/texture_map_raster.h"
#include "preview/gl/headless_context.h"
#include "preview/gl/preview_picture.h"
#include "preview/gl/preview_renderer.h"
#include "preview/preview_colors.h"
#include "testing/model_builder.h"

namespace corvina::preview {
namespace {

// A square from (-1, -1) to (1, 1) facing +z, the unit square of texture
// space over it, and a second square behind it, out of sight.
ModelStore facingSquare() {
  testing::ModelRecipe recipe;
  recipe.vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
  recipe.texVertices = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}, {4, 4}}};
  recipe.groups = {{0, "lid"}};
  return testing::buildModel(recipe);
}

RenderPreviewOptions faceOn(TextureMode mode) {
  RenderPreviewOptions options;
  options.width = 64;
  options.height = 48;
  options.yaw = 0;
  options.pitch = 0;
  options.texture = static_cast<int>(mode);
  return options;
}

Rgb pixel(const PreviewPicture& p, int x, int y) {
  const std::uint8_t* at = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
  return {at[0], at[1], at[2]};
}

bool near(Rgb a, Rgb b, int tolerance = 3) {
  return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
         std::abs(a.blue - b.blue) <= tolerance;
}

// Whether c is a mix of a and b (as a filtered edge between two squares is).
bool mixOf(Rgb c, Rgb a, Rgb b) {
  const float t = (static_cast<float>(c.blue) - a.blue) / static_cast<float>(b.blue - a.blue);
  if (t < -0.02f || t > 1.02f) return false;
  auto at = [&](int x, int y) { return static_cast<float>(x) + (y - x) * t; };
  return std::abs(at(a.red, b.red) - c.red) <= 4 && std::abs(at(a.green, b.green) - c.green) <= 4;
}

Rgb blend(Rgb from, Rgb to, float weight) {
  auto mix = [&](int a, int b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * weight));
  };
  return {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

// Renders, or skips the test when this machine cannot make a context.
#define RENDER_OR_SKIP(store, selection, options, picture)                         \
  PreviewPicture picture;                                                          \
  {                                                                                \
    std::string error;                                                             \
    if (!renderPreviewPicture(store, selection, nullptr, options, picture, error)) \
      GTEST_SKIP() << "no OpenGL context: " << error;                              \
  }

TEST(PreviewRendererTest, TheCheckerFillsTheModelAndTheBackgroundTheRest) {
  const ModelStore store = facingSquare();
  RENDER_OR_SKIP(store, SelectionState{}, faceOn(TextureMode::Checker), picture);
  ASSERT_EQ(picture.width, 64);
  ASSERT_EQ(picture.rgba.size(), 64u * 48 * 4);
  // The framed square spans the middle of the picture; its inside shows
  // the two checker colours, both of them, and their mixes only along the
  // squares' edges.
  int light = 0, dark = 0;
  for (int y = 16; y < 32; ++y)
    for (int x = 24; x < 40; ++x) {
      const Rgb c = pixel(picture, x, y);
      light += near(c, kCheckerLight);
      dark += near(c, kCheckerDark);
      EXPECT_TRUE(mixOf(c, kCheckerLight, kCheckerDark)) << x << "," << y;
    }
  EXPECT_GT(light, 40);
  EXPECT_GT(dark, 40);
  for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}, {2, 24}})
    EXPECT_TRUE(near(pixel(picture, x, y), kBackgroundColor)) << x << "," << y;
}

TEST(PreviewRendererTest, FlagsChangeTheColours) {
  struct Case {
    const char* name;
    std::uint16_t hidden, group;
    bool noUv;
    TextureMode mode;
    std::function<bool(Rgb)> expected;
  };
  const Rgb palette3{kSetPalette[3].red, kSetPalette[3].green, kSetPalette[3].blue};
  const Case cases[] = {
      {"selected", 0, kSelectedBit, false, TextureMode::Checker,
       [](Rgb c) {
         return mixOf(c, blend(kCheckerLight, kHighlightColor, kHighlightWeight),
                      blend(kCheckerDark, kHighlightColor, kHighlightWeight));
       }},
      {"hidden", kHiddenBit, 0, false, TextureMode::Checker,
       [](Rgb c) {
         return mixOf(c, blend(kBackgroundColor, kCheckerLight, kHiddenWeight),
                      blend(kBackgroundColor, kCheckerDark, kHiddenWeight));
       }},
      {"no texture coordinates", 0, 0, true, TextureMode::Checker,
       [](Rgb c) { return near(c, kNoUvColor); }},
      // The facet is put in group 3: palette colour 3, lit face-on.
      {"sets", 0, 3, false, TextureMode::Sets, [palette3](Rgb c) { return near(c, palette3); }},
  };
  for (const Case& c : cases) {
    ModelStore store = facingSquare();
    for (int j = 1; j <= 4; ++j) {
      store.facetStream[j].flags |= c.hidden;
      store.facetStream[j].group |= c.group;
      if (c.noUv) store.facetStream[j].texVertex = 0;
    }
    RENDER_OR_SKIP(store, SelectionState{}, faceOn(c.mode), picture);
    for (int y = 18; y < 30; y += 3)
      for (int x = 26; x < 38; x += 3)
        EXPECT_TRUE(c.expected(pixel(picture, x, y)))
            << c.name << " at " << x << "," << y << ": " << int(pixel(picture, x, y).red) << " "
            << int(pixel(picture, x, y).green) << " " << int(pixel(picture, x, y).blue);
    EXPECT_TRUE(near(pixel(picture, 0, 0), kBackgroundColor)) << c.name;
  }
}

TEST(PreviewRendererTest, AnEmptyStoreShowsOnlyTheBackground) {
  const ModelStore store;
  RENDER_OR_SKIP(store, SelectionState{}, faceOn(TextureMode::Checker), picture);
  for (int y = 0; y < 48; y += 5)
    for (int x = 0; x < 64; x += 5) EXPECT_TRUE(near(pixel(picture, x, y), kBackgroundColor));
}

TEST(PreviewRendererTest, AnUpdateSendsOnlyWhatChanged) {
  HeadlessContext context;
  std::string error;
  if (!context.create(error)) GTEST_SKIP() << "no OpenGL context: " << error;
  PreviewRenderer renderer;
  ASSERT_TRUE(renderer.initialize(error)) << error;
  ModelStore store = facingSquare();
  SelectionState selection;
  UploadReport first = renderer.update(store, selection);
  EXPECT_TRUE(first.geometry && first.texCoords && first.flags);
  EXPECT_EQ(first.bytes, 4u * (3 + 3 + 2 + 1) * 4 + 6 * 4);
  EXPECT_EQ(renderer.triangleCount(), 2u);

  struct Case {
    const char* name;
    std::function<void()> change;
    bool geometry, texCoords, flags;
    std::size_t bytes;
  };
  const Case cases[] = {
      {"nothing", [] {}, false, false, false, 0},
      {"texture coordinates",
       [&] { store.texVertices[store.facetStream[1].texVertex - 1].u = 0.25f; }, false, true, false,
       32},
      {"selection",
       [&] {
         store.facetStream[1].group |= kSelectedBit;
         selection.selectionActive = true;
         selection.source = selection.target = {0, 1, 0, 1};
       },
       false, false, true, 16},
      {"pending move",
       [&] {
         selection.target = {0.5f, 1.5f, 0, 1};
       },
       false, true, false, 32},
      {"positions", [&] { store.vertices[2].z = 0.5f; }, true, false, false, 4 * 6 * 4 + 24},
  };
  for (const Case& c : cases) {
    c.change();
    const UploadReport report = renderer.update(store, selection);
    EXPECT_EQ(report.geometry, c.geometry) << c.name;
    EXPECT_EQ(report.texCoords, c.texCoords) << c.name;
    EXPECT_EQ(report.flags, c.flags) << c.name;
    EXPECT_EQ(report.bytes, c.bytes) << c.name;
  }
  renderer.release();
}

TEST(PreviewRendererTest, TurnedOffOpenGlIsReportedNotFaked) {
  setenv("CORVINA_NO_OPENGL", "1", 1);
  HeadlessContext context;
  std::string error;
  const bool made = context.create(error);
  unsetenv("CORVINA_NO_OPENGL");
  EXPECT_FALSE(made);
  EXPECT_NE(error.find("CORVINA_NO_OPENGL"), std::string::npos) << error;
}

}  // namespace
}  // namespace corvina::preview
