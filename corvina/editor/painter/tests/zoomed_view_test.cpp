// The texture-map view zoomed and panned: the square drawn at its placement
// is the original view of the square's size moved there, the area outside
// it is grey with the square outlined, the layered composition still gives
// the full composition's pixels, and what is drawn is what the editor picks.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>

#include "editor/painter/layered_view_composer.h"
#include "editor/painter/map_field.h"
#include "editor/painter/tests/picture_difference.h"
#include "editor/painter/tests/uv_model.h"
#include "editor/painter/view_colors.h"
#include "editor/painter/view_composer.h"
#include "editor/painter/view_point.h"
#include "editor/selection_editor.h"
#include "model/parallel_parts.h"

namespace corvina::painter {
namespace {

using testing::firstDifference;
using testing::UvCorner;
using testing::UvFacet;
using testing::uvModel;

QRgb rgb(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

// Random facets of 2 to 4 corners, inside the square or up to half a square
// outside it, in random groups; selected facets or corners at random.
ModelStore randomModel(std::mt19937& random, int facets, bool byVertex) {
  std::uniform_real_distribution<float> coordinate(-0.5f, 1.5f);
  std::uniform_int_distribution<int> corners(2, 4), set(0, 20), percent(0, 99);
  std::vector<UvFacet> list;
  for (int f = 0; f < facets; ++f) {
    UvFacet facet;
    facet.group = facet.material = facet.region = set(random);
    const bool selected = percent(random) < 30;
    const int count = corners(random);
    for (int c = 0; c < count; ++c) {
      UvCorner corner{coordinate(random), coordinate(random)};
      corner.selected = byVertex ? percent(random) < 30 : selected;
      facet.corners.push_back(corner);
    }
    list.push_back(facet);
  }
  ModelStore store = uvModel(list);
  store.colorMode = 1;
  return store;
}

TEST(ZoomedView, ASquareFillingTheViewIsTheOriginalView) {
  std::mt19937 random(5);
  const ModelStore store = randomModel(random, 60, false);
  SelectionState selection;
  const ViewScene original{store, selection, nullptr, 131, 97};
  ViewScene placed = original;
  placed.square = SquarePlacement{0, 0, {131, 97}};
  EXPECT_EQ(composeView(placed), composeView(original));
}

// Zoomed in, the view is a window onto the original view of the square's
// size: every pixel is that view's pixel at the same place in the square.
// Solid outlines (by vertex, with its corner squares) are cut exactly where
// the view ends.
TEST(ZoomedView, ZoomedInIsTheLargerOriginalViewSeenThroughTheView) {
  struct Case {
    SquarePlacement square;
  };
  const Case cases[] = {
      {{-40, -30, {260, 190}}},   // twice the view, its middle shown
      {{0, 0, {300, 200}}},       // the top-left corner
      {{-171, -93, {301, 187}}},  // the bottom-right corner, odd sizes
      {{-5, 11, {140, 150}}},     // panned: part of the view is outside
  };
  std::mt19937 random(11);
  for (const Case& c : cases) {
    const ModelStore store = randomModel(random, 120, true);
    SelectionState selection;
    selection.selectionActive = true;
    selection.selectMethod = SelectMethod::ByVertex;
    selection.source = {0.1f, 0.6f, 0.2f, 0.7f};
    selection.target = {0.3f, 0.9f, 0.1f, 0.5f};
    ViewScene zoomed{store, selection, nullptr, 130, 95};
    zoomed.square = c.square;
    const QImage view = composeView(zoomed);
    const ViewScene whole{store, selection, nullptr, c.square.size.width, c.square.size.height};
    const QImage larger = composeView(whole);
    const QRect square(c.square.left, c.square.top, c.square.size.width, c.square.size.height);
    for (int y = 0; y < view.height(); ++y)
      for (int x = 0; x < view.width(); ++x) {
        if (!square.contains(x, y)) continue;
        ASSERT_EQ(rgb(view, x, y), rgb(larger, x - c.square.left, y - c.square.top))
            << "at (" << x << ", " << y << ") with the square at " << c.square.left << ", "
            << c.square.top;
      }
  }
}

TEST(ZoomedView, ZoomedOutShowsTheOutlinedSquareAndCoordinatesOutsideIt) {
  // One facet inside the square, one wholly right of it (u from 1.2 to 1.4).
  const ModelStore store = uvModel(
      {testing::squareFacet(0.2f, 0.2f, 0.4f, 0.4f), testing::squareFacet(1.2f, 0.2f, 1.4f, 0.4f)});
  SelectionState selection;
  ViewScene scene{store, selection, nullptr, 200, 120};
  scene.square = SquarePlacement{30, 20, {101, 81}};
  const QImage view = composeView(scene);
  const QRgb outside = outsideSquareColor().rgb() & 0xFFFFFFu;
  const QRgb outline = squareOutlineColor().rgb() & 0xFFFFFFu;
  // The outline runs just outside the square's pixels, 29..131 by 19..101.
  for (int x = 29; x <= 131; ++x) {
    EXPECT_EQ(rgb(view, x, 19), outline) << x;
    EXPECT_EQ(rgb(view, x, 101), outline) << x;
  }
  for (int y = 19; y <= 101; ++y) {
    EXPECT_EQ(rgb(view, 29, y), outline) << y;
    EXPECT_EQ(rgb(view, 131, y), outline) << y;
  }
  EXPECT_EQ(rgb(view, 5, 5), outside);
  EXPECT_EQ(rgb(view, 190, 110), outside);
  EXPECT_EQ(rgb(view, 31, 21), 0xFFFFFFu);
  // The facets' corners: x = 30 + trunc(100 u), y = 20 + trunc(80 (1 - v)).
  EXPECT_EQ(rgb(view, 50, 84), 0u);        // (0.2, 0.2), inside
  EXPECT_EQ(rgb(view, 70, 68), 0u);        // (0.4, 0.4), inside
  EXPECT_EQ(rgb(view, 150, 84), 0u);       // (1.2, 0.2), outside the square
  EXPECT_EQ(rgb(view, 170, 68), 0u);       // (1.4, 0.4)
  EXPECT_EQ(rgb(view, 160, 84), 0u);       // on its bottom edge
  EXPECT_EQ(rgb(view, 160, 76), outside);  // in its middle
  // Inside the square the view is the original view of the square's size.
  const QImage square = composeView(ViewScene{store, selection, nullptr, 101, 81});
  for (int y = 0; y < 81; ++y)
    for (int x = 0; x < 101; ++x)
      ASSERT_EQ(rgb(view, 30 + x, 20 + y), rgb(square, x, y)) << x << ", " << y;
}

TEST(ZoomedView, TheBackgroundCoversTheSquareOnly) {
  QImage background(4, 2, QImage::Format_RGB32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) background.setPixel(x, y, qRgb(60 * x, 100 * y, 7));
  const ModelStore store = uvModel({testing::squareFacet(0.45f, 0.45f, 0.55f, 0.55f)});
  SelectionState selection;
  struct Case {
    SquarePlacement square;
  };
  // Zoomed out, and zoomed in far beyond the view.
  for (const Case& c : {Case{{20, 10, {80, 40}}}, Case{{-3000, -1000, {8000, 4000}}}}) {
    ViewScene scene{store, selection, &background, 120, 60};
    scene.square = c.square;
    const QImage view = composeView(scene);
    for (int y = 0; y < 60; y += 3)
      for (int x = 0; x < 120; x += 3) {
        const int sx = x - c.square.left, sy = y - c.square.top;
        if (sx < 0 || sy < 0 || sx >= c.square.size.width || sy >= c.square.size.height) continue;
        // Each picture pixel covers a quarter of the square's width and half
        // its height; pixels near a border may take either neighbour.
        const int px = sx * 4 / c.square.size.width, py = sy * 2 / c.square.size.height;
        const bool nearBorder =
            (sx * 4) % c.square.size.width == 0 || (sx * 4 + 4) % c.square.size.width < 4 ||
            (sy * 2) % c.square.size.height == 0 || (sy * 2 + 2) % c.square.size.height < 2;
        if (nearBorder || (x >= 50 && x <= 70)) continue;  // the facet's lines
        EXPECT_EQ(rgb(view, x, y), background.pixel(px, py) & 0xFFFFFFu) << x << ", " << y;
      }
    if (c.square.left > 0) {
      EXPECT_EQ(rgb(view, 2, 2), outsideSquareColor().rgb() & 0xFFFFFFu);
    }
  }
}

TEST(ZoomedView, EveryLayeredFrameIsTheFullCompositionAtAnyZoom) {
  const SquarePlacement squares[] = {
      {-60, -45, {300, 220}},      // zoomed in
      {25, 18, {70, 50}},          // zoomed out
      {-900, -700, {2400, 1800}},  // far in: most lines outside the view
      {40, -30, {120, 160}},       // panned, kept proportions
  };
  std::mt19937 random(77);
  std::uniform_real_distribution<float> offset(-0.3f, 0.3f), scale(0.4f, 1.6f);
  for (const SquarePlacement& square : squares) {
    for (const bool byVertex : {false, true}) {
      const ModelStore store = randomModel(random, 150, byVertex);
      SelectionState selection;
      selection.selectionActive = true;
      selection.selectMethod = byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
      selection.source = {0.2f, 0.7f, 0.1f, 0.6f};
      selection.target = selection.source;
      LayeredViewComposer layered;
      for (int frame = 0; frame < 5; ++frame) {
        if (frame > 0) {
          const float dx = offset(random), dy = offset(random), k = scale(random);
          selection.target = {0.2f + dx, 0.2f + dx + 0.5f * k, 0.1f + dy, 0.1f + dy + 0.5f * k};
        }
        ViewScene scene{store, selection, nullptr, 150, 110};
        scene.square = square;
        const QImage& fast = layered.compose(scene, frame > 0);
        const QImage full = composeView(scene);
        ASSERT_EQ(fast, full) << "square at " << square.left << ", " << square.top << ", frame "
                              << frame << ": " << firstDifference(fast, full);
        EXPECT_EQ(layered.reusedLayer(), frame > 0);
      }
      // Another placement with the same frame draws the layer again.
      ViewScene moved{store, selection, nullptr, 150, 110};
      moved.square = SquarePlacement{square.left + 7, square.top - 3, square.size};
      EXPECT_EQ(layered.compose(moved, true), composeView(moved));
      EXPECT_FALSE(layered.reusedLayer());
    }
  }
}

// Zoom and pan over the same model skip the runs of facets out of sight;
// every picture is still the full composition's, with the frame moved in
// between and the work cut among threads.
TEST(ZoomedView, NavigatingTheSameModelWalksOnlyWhatIsInSight) {
  // A grid of quads in stream order, so a run of facets covers a strip of
  // the square; a patch of it selected, a few quads hidden.
  std::vector<UvFacet> list;
  constexpr int kSide = 72;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const float u = static_cast<float>(x) / kSide, v = static_cast<float>(y) / kSide;
      const float step = 1.0f / kSide;
      UvFacet facet;
      facet.group = facet.material = facet.region = (x + y) % 9;
      const bool selected = x > 30 && x < 36 && y > 40 && y < 44;
      const bool hidden = (x * 7 + y * 3) % 97 == 0;
      for (const auto& [du, dv] :
           {std::pair{0.0f, 0.0f}, {step, 0.0f}, {step, step}, {0.0f, step}}) {
        UvCorner corner{u + du, v + dv};
        corner.selected = selected;
        corner.hidden = hidden;
        facet.corners.push_back(corner);
      }
      list.push_back(facet);
    }
  ModelStore store = uvModel(list);
  store.colorMode = 1;
  // Placements at random zooms and pans, so that edges of runs of facets
  // fall on and about the view's edges, then everything in sight.
  std::mt19937 random(5);
  std::uniform_int_distribution<int> side(600, 3000), shift(0, 1000);
  std::vector<SquarePlacement> places;
  for (int p = 0; p < 24; ++p) {
    const int size = side(random);
    places.push_back(
        {-(size - 150) * shift(random) / 1000, -(size - 110) * shift(random) / 1000, {size, size}});
  }
  places.push_back({10, 5, {120, 90}});
  for (const std::size_t threads : {1, 3}) {
    const ScopedParallelThreads cut(threads, 1);
    SelectionState selection;
    selection.selectionActive = true;
    selection.source = {0.42f, 0.5f, 0.38f, 0.45f};
    selection.target = selection.source;
    LayeredViewComposer layered;
    bool skipped = false;
    for (std::size_t p = 0; p < places.size(); ++p) {
      for (int frame = 0; frame < 2; ++frame) {
        if (frame == 1) selection.target = {0.45f, 0.55f, 0.3f, 0.4f};
        ViewScene scene{store, selection, nullptr, 150, 110};
        scene.square = places[p];
        const QImage& fast = layered.compose(scene, frame == 1, p > 0);
        const QImage full = composeView(scene);
        ASSERT_EQ(fast, full) << threads << " threads, place " << p << ", frame " << frame << ": "
                              << firstDifference(fast, full);
        if (frame == 0 && p > 0 && layered.walkedBlocks() < layered.blockCount()) skipped = true;
      }
      selection.target = selection.source;
    }
    EXPECT_TRUE(skipped) << "no run of facets was out of sight";
    EXPECT_GT(layered.blockCount(), 4u);
  }
}

// A run of facets counts as out of sight exactly when all its corners lie
// beyond one edge of the view, down to the last pixel.
TEST(ZoomedView, ARunOfFacetsIsOutOfSightExactlyWhenEveryCornerIs) {
  std::mt19937 random(12);
  std::uniform_int_distribution<int> size(50, 5000), pixel(-3, 3), corners(1, 5), edge(0, 3);
  std::uniform_real_distribution<float> jitter(-0.6f, 0.6f);
  const int width = 150, height = 110;
  const FrameTransform unused;
  int outOfSight = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    const int side = size(random);
    std::uniform_int_distribution<int> offset(-side, width);
    const SquarePlacement square{offset(random), offset(random), {side, side}};
    // Corners whose pixels lie within a few pixels of one edge of the view.
    const int near = edge(random);
    MapBlock block;
    std::vector<TexVertex> uvs;
    for (int c = corners(random); c > 0; --c) {
      const float x = static_cast<float>((near == 0 ? 0 : near == 1 ? width : 50) + pixel(random));
      const float y = static_cast<float>((near == 2 ? 0 : near == 3 ? height : 50) + pixel(random));
      const float span = static_cast<float>(side - 1);
      const TexVertex uv{(x - square.left + jitter(random)) / span,
                         1.0f - (y - square.top + jitter(random)) / span, 0};
      uvs.push_back(uv);
      block.include(uv, false);
    }
    bool left = true, right = true, above = true, below = true;
    for (const TexVertex& uv : uvs) {
      const ViewPoint p = viewPoint(uv, false, unused, square);
      left = left && p.x < 0;
      right = right && p.x >= width;
      above = above && p.y < 0;
      below = below && p.y >= height;
    }
    const bool expected = left || right || above || below;
    ASSERT_EQ(block.outOfSight(square, width, height), expected) << "trial " << trial;
    outOfSight += expected ? 1 : 0;
  }
  EXPECT_GT(outOfSight, 400);
  EXPECT_LT(outOfSight, 3600);
  // A selected corner moves with the frame, and a corner that is not a
  // number lies anywhere: such a run is always walked.
  MapBlock selected, unordered;
  selected.include({-5.0f, 0.5f, 0}, true);
  unordered.include({-5.0f, std::nanf(""), 0}, false);
  const SquarePlacement square{0, 0, {width, height}};
  EXPECT_FALSE(selected.outOfSight(square, width, height));
  EXPECT_FALSE(unordered.outOfSight(square, width, height));
}

TEST(ZoomedView, CornerSquaresAreFourLogicalPixels) {
  UvFacet facet = testing::squareFacet(0.25f, 0.25f, 0.75f, 0.75f);
  for (UvCorner& corner : facet.corners) corner.selected = true;
  const ModelStore store = uvModel({facet});
  SelectionState selection;
  selection.selectionActive = true;
  selection.selectMethod = SelectMethod::ByVertex;
  selection.source = selection.target = {0, 1, 0, 1};
  for (const double ratio : {1.0, 2.0}) {
    ViewScene scene{store, selection, nullptr, 101, 101, ratio};
    const QImage view = composeView(scene);
    // The corner (0.25, 0.75) lands on (25, 25); its square spans 4 logical
    // pixels, half of it before the corner.
    const int side = static_cast<int>(4 * ratio), before = side / 2;
    int red = 0;
    for (int y = 25 - before - 2; y < 25 - before + side + 2; ++y)
      for (int x = 25 - before - 2; x < 25 - before + side + 2; ++x)
        red += rgb(view, x, y) == 0xC00000u;
    EXPECT_EQ(red, side * side) << ratio;
    EXPECT_EQ(rgb(view, 25 - before, 25 - before), 0xC00000u);
    EXPECT_EQ(rgb(view, 25 - before + side - 1, 25 - before + side - 1), 0xC00000u);
  }
}

// What the view draws is what the editor picks: a rubber band around the
// pixels of a small facet, in device pixels of the zoomed view, selects that
// facet and no other.
TEST(ZoomedView, ABandAroundTheDrawnFacetPicksIt) {
  const ModelStore model = uvModel({testing::squareFacet(0.30f, 0.30f, 0.32f, 0.32f, 1),
                                    testing::squareFacet(0.34f, 0.30f, 0.36f, 0.32f, 2),
                                    testing::squareFacet(1.30f, -0.2f, 1.32f, -0.18f, 3)});
  const ViewSize view{160, 120};
  struct Case {
    double notches;
    int x, y;
  };
  const Case cases[] = {{0, 0, 0}, {6, 50, 80}, {10, 52, 85}, {-4, 80, 60}, {3, 10, 110}};
  int picked = 0;
  for (const Case& c : cases) {
    for (int target = 0; target < 3; ++target) {
      ModelStore store = model;
      store.colorMode = 1;
      SelectionState selection;
      SelectionEditor editor(store, selection);
      editor.viewResized(view);
      editor.wheel(view, c.x, c.y, c.notches);
      ViewScene scene{store, selection, nullptr, view.width, view.height};
      scene.square = editor.square(view);
      const QImage drawn = composeView(scene);
      // The pixels of the target facet's colour (groups 1, 2 and 3 are red,
      // green and blue).
      const QRgb colour = setPaletteColor(target + 1).rgb() & 0xFFFFFFu;
      int left = view.width, right = -1, top = view.height, bottom = -1;
      for (int y = 0; y < view.height; ++y)
        for (int x = 0; x < view.width; ++x)
          if (rgb(drawn, x, y) == colour) {
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
          }
      if (right < 0) continue;  // not in sight at this zoom
      editor.mousePress(view, ViewButton::Left, left, top);
      editor.mouseMove(view, right, bottom);
      editor.mouseRelease(view, ViewButton::Left, right, bottom);
      ASSERT_TRUE(selection.selectionActive) << c.notches << ", facet " << target;
      ++picked;
      for (std::size_t j = 0; j < store.facetStream.size(); ++j) {
        const CornerRecord& record = store.facetStream[j];
        if (record.vertex <= 0) continue;
        const bool selected = (record.group & kSelectedBit) != 0;
        const int group = record.group & kSetIndexMask;
        EXPECT_EQ(selected, group == target + 1)
            << "notches " << c.notches << ", facet " << target << ", record " << j;
      }
    }
  }
  // The facet outside the square is seen only zoomed out; the two inside it
  // at every zoom of the table.
  EXPECT_EQ(picked, 11);
}

}  // namespace
}  // namespace corvina::painter
