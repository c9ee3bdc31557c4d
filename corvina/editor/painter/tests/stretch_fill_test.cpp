// The stretch view's fill: its colour scale, the pixels it fills under the
// outlines, and that the outlines and the rest of the view stay as they are.

#include "editor/painter/stretch_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "editor/painter/layered_view_composer.h"
#include "editor/painter/tests/uv_model.h"
#include "editor/painter/view_composer.h"

namespace corvina::painter {
namespace {

using testing::squareFacet;
using testing::UvFacet;
using testing::uvModel;

constexpr QRgb kWhite = 0xFFFFFFu;
constexpr QRgb kLess = 0x3060FFu;  // (48, 96, 255)
constexpr QRgb kMore = 0xFF4030u;  // (255, 64, 48)

QRgb rgb(QRgb color) {
  return color & 0xFFFFFFu;
}

TEST(StretchFill, ColourScale) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    StretchKind kind;
    float value;
    QRgb expected;
  };
  const Case cases[] = {
      {StretchKind::Area, 1, kWhite},         {StretchKind::Area, 4, kMore},
      {StretchKind::Area, 1e30f, kMore},      {StretchKind::Area, 0.25f, kLess},
      {StretchKind::Area, 0, kLess},          {StretchKind::Area, 1e-30f, kLess},
      {StretchKind::Area, 2, 0xFFA098u},     // half way to red: (255, 160, 152)
      {StretchKind::Area, 0.5f, 0x98B0FFu},  // half way to blue: (152, 176, 255)
      {StretchKind::Area, nan, kLess},        {StretchKind::Angle, 0, kWhite},
      {StretchKind::Angle, 22.5f, 0xFFA098u}, {StretchKind::Angle, 45, kMore},
      {StretchKind::Angle, 180, kMore},       {StretchKind::Angle, nan, kMore},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rgb(stretchColor(c.kind, c.value)), c.expected)
        << static_cast<int>(c.kind) << " " << c.value;
}

// Two squares side by side in a 101 x 101 view: pixels 10 to 50 and 50 to 90
// across, 25 to 75 down.
ModelStore twoSquares() {
  return uvModel({squareFacet(0.1f, 0.25f, 0.5f, 0.75f), squareFacet(0.5f, 0.25f, 0.9f, 0.75f)});
}

int countColor(const QImage& image, QRgb color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += rgb(image.pixel(x, y)) == color;
  return count;
}

TEST(StretchFill, FacetsAreFilledUnderTheirOutlines) {
  const ModelStore store = twoSquares();
  const SelectionState selection;
  const std::vector<float> values = {4.0f, 0.25f};
  const std::vector<std::uint8_t> measured = {1, 1};
  const StretchFill fill{StretchKind::Area, values.data(), measured.data(), 2};
  const QImage plain = composeView(ViewScene{store, selection, nullptr, 101, 101});
  ViewScene scene{store, selection, nullptr, 101, 101};
  scene.stretch = &fill;
  const QImage filled = composeView(scene);
  // Each inside, 39 x 49 pixels, takes its colour; no pixel is left between
  // the two, and nothing outside is touched.
  EXPECT_EQ(countColor(filled, kMore), 39 * 49);
  EXPECT_EQ(countColor(filled, kLess), 39 * 49);
  EXPECT_EQ(rgb(filled.pixel(30, 50)), kMore);
  EXPECT_EQ(rgb(filled.pixel(70, 50)), kLess);
  // The outlines are drawn on top exactly as without the fill; every other
  // pixel was white and is white or filled.
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 101; ++x) {
      const QRgb before = rgb(plain.pixel(x, y)), after = rgb(filled.pixel(x, y));
      if (before != kWhite)
        ASSERT_EQ(after, before) << x << "," << y;
      else
        ASSERT_TRUE(after == kWhite || after == kMore || after == kLess) << x << "," << y;
    }
}

TEST(StretchFill, OnlyVisibleMeasuredFacetsAreFilled) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> measured;
    std::size_t count;
    bool hideFirst;
    int firstFilled, secondFilled;
  };
  const Case cases[] = {
      {"both", {1, 1}, 2, false, 39 * 49, 39 * 49},
      {"the first not measured", {0, 1}, 2, false, 0, 39 * 49},
      {"the first hidden", {1, 1}, 2, true, 0, 39 * 49},
      {"values for the first only", {1, 1}, 1, false, 39 * 49, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store = twoSquares();
    if (c.hideFirst)
      for (std::size_t j = 1; j <= 4; ++j) store.facetStream[j].flags |= kHiddenBit;
    const std::vector<float> values = {4.0f, 0.25f};
    const StretchFill fill{StretchKind::Area, values.data(), c.measured.data(), c.count};
    ViewScene scene{store, SelectionState{}, nullptr, 101, 101};
    scene.stretch = &fill;
    const QImage filled = composeView(scene);
    EXPECT_EQ(countColor(filled, kMore), c.firstFilled);
    EXPECT_EQ(countColor(filled, kLess), c.secondFilled);
  }
}

// Nothing measured: the view is the plain view, pixel for pixel.
TEST(StretchFill, NothingToFillIsThePlainView) {
  const ModelStore store = twoSquares();
  const std::vector<float> values = {4.0f, 0.25f};
  const std::vector<std::uint8_t> measured = {0, 0};
  const StretchFill fill{StretchKind::Angle, values.data(), measured.data(), 2};
  ViewScene scene{store, SelectionState{}, nullptr, 101, 101};
  const QImage plain = composeView(scene);
  scene.stretch = &fill;
  EXPECT_EQ(composeView(scene), plain);
}

TEST(StretchFill, APendingMoveCarriesTheFill) {
  // The square selected and its frame moved right by 0.4: the fill moves
  // with the outline before the move is committed.
  ModelStore store = uvModel({squareFacet(0.1f, 0.25f, 0.5f, 0.75f)});
  for (std::size_t j = 1; j <= 4; ++j) store.facetStream[j].group |= kSelectedBit;
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = {0.1f, 0.5f, 0.25f, 0.75f};
  selection.target = {0.5f, 0.9f, 0.25f, 0.75f};
  const std::vector<float> values = {4.0f};
  const std::vector<std::uint8_t> measured = {1};
  const StretchFill fill{StretchKind::Area, values.data(), measured.data(), 1};
  ViewScene scene{store, selection, nullptr, 101, 101};
  scene.stretch = &fill;
  const QImage filled = composeView(scene);
  EXPECT_EQ(rgb(filled.pixel(30, 50)), kWhite);
  EXPECT_EQ(rgb(filled.pixel(70, 50)), kMore);
}

TEST(StretchFill, FarCornersAreClippedToTheView) {
  ModelStore store = uvModel({UvFacet{{{-3e38f, -3e38f}, {3e38f, -3e38f}, {0.5f, 3e38f}}}});
  const std::vector<float> values = {4.0f};
  const std::vector<std::uint8_t> measured = {1};
  const StretchFill fill{StretchKind::Area, values.data(), measured.data(), 1};
  ViewScene scene{store, SelectionState{}, nullptr, 64, 48};
  scene.stretch = &fill;
  const QImage filled = composeView(scene);
  EXPECT_EQ(rgb(filled.pixel(32, 24)), kMore);
}

// While the fill is shown every composition is a full one, so a move of the
// frame changes the fill as well as the lines.
TEST(StretchFill, TheLayeredComposerComposesWholeWhileTheFillIsShown) {
  ModelStore store = twoSquares();
  for (std::size_t j = 1; j <= 4; ++j) store.facetStream[j].group |= kSelectedBit;
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = selection.target = {0.1f, 0.5f, 0.25f, 0.75f};
  const std::vector<float> values = {4.0f, 0.25f};
  const std::vector<std::uint8_t> measured = {1, 1};
  const StretchFill fill{StretchKind::Area, values.data(), measured.data(), 2};
  LayeredViewComposer composer;
  ViewScene scene{store, selection, nullptr, 101, 101};
  composer.compose(scene, false);
  scene.stretch = &fill;
  for (const float right : {0.5f, 0.6f, 0.3f}) {
    selection.target.right = right;
    EXPECT_EQ(composer.compose(scene, true), composeView(scene)) << right;
    EXPECT_FALSE(composer.reusedLayer());
  }
  scene.stretch = nullptr;
  EXPECT_EQ(composer.compose(scene, true), composeView(scene));
  EXPECT_EQ(composer.compose(scene, true), composeView(scene));
  EXPECT_TRUE(composer.reusedLayer());
}

}  // namespace
}  // namespace corvina::painter
