#include "editor/painter/layered_view_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "editor/painter/outline_pixels.h"
#include "editor/painter/tests/picture_difference.h"
#include "editor/painter/tests/uv_model.h"
#include "editor/painter/view_composer.h"
#include "editor/selection_picking.h"
#include "model/parallel_parts.h"
#include "tools/selection_state.h"

namespace corvina::painter {
namespace {

using testing::firstDifference;
using testing::UvCorner;
using testing::UvFacet;
using testing::uvModel;

// Random facets of 1 to 5 corners, mostly inside the unit square, some far
// outside, some corners without coordinates; sets, selected and hidden bits
// at random (by facet or by corner). A dense model's facets span a pixel or
// two, as on a model of millions of facets.
std::vector<UvFacet> randomFacets(std::mt19937& random, int facets, bool selectByVertex, bool dense,
                                  bool withoutCoordinates = true) {
  std::uniform_real_distribution<float> inside(-0.1f, 1.1f), nearby(-0.012f, 0.012f);
  std::uniform_real_distribution<float> far(-40.0f, 40.0f);
  std::uniform_int_distribution<int> corners(1, 5), set(0, 20), percent(0, 99);
  std::vector<UvFacet> list;
  for (int f = 0; f < facets; ++f) {
    UvFacet facet;
    facet.group = set(random);
    facet.material = set(random);
    facet.region = set(random);
    const bool facetSelected = percent(random) < 30;
    const bool facetHidden = percent(random) < 10;
    const int count = corners(random);
    const float centreU = inside(random), centreV = inside(random);
    for (int c = 0; c < count; ++c) {
      UvCorner corner{inside(random), inside(random)};
      if (dense) corner = UvCorner{centreU + nearby(random), centreV + nearby(random)};
      const int kind = percent(random);
      if (kind < 3 && !dense) corner = UvCorner{far(random), far(random)};
      if (kind >= 3 && kind < 5 && withoutCoordinates) corner = UvCorner{kNoUvU, kNoUvV};
      corner.selected = selectByVertex ? percent(random) < 30 : facetSelected;
      corner.hidden = facetHidden;
      facet.corners.push_back(corner);
    }
    list.push_back(facet);
  }
  return list;
}

ModelStore randomModel(std::mt19937& random, int facets, bool selectByVertex, bool dense = false) {
  return uvModel(randomFacets(random, facets, selectByVertex, dense));
}

// The full composition draws on every core: however the stream is cut, the
// pixels, the style changes and the hint are those of one thread, with the
// list ending early, a hint due, and selected corners through a moved frame.
TEST(ViewComposer, TheCutAmongThreadsChangesNoPixel) {
  std::mt19937 random(606);
  for (int model = 0; model < 6; ++model) {
    const bool byVertex = model % 2 == 1;
    ModelStore store = randomModel(random, 700, byVertex, model < 4);
    store.colorMode = model % 4;
    if (model == 2) store.facetStream[store.facetStream.size() / 3 * 2].vertex = kEndOfList;
    if (model == 5)
      for (TexVertex& uv : store.texVertices) uv = {kNoUvU, kNoUvV, 0};  // the hint is due
    SelectionState selection;
    selection.selectionActive = true;
    selection.selectMethod = byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
    selection.source = {0.2f, 0.7f, 0.1f, 0.6f};
    selection.target = {0.25f, 0.6f, 0.15f, 0.8f};
    const ViewScene scene{store, selection, nullptr, 150, 110};
    CompositionReport oneReport;
    QImage one;
    {
      const ScopedParallelThreads cut(1);
      one = composeView(scene, &oneReport);
    }
    for (const std::size_t threads : {2, 3, 5}) {
      const ScopedParallelThreads cut(threads, 1);
      CompositionReport report;
      const QImage many = composeView(scene, &report);
      ASSERT_EQ(many, one) << threads << " threads, model " << model << ": "
                           << firstDifference(many, one);
      EXPECT_EQ(report.penChanges, oneReport.penChanges) << threads << " threads, model " << model;
      EXPECT_EQ(report.hintShown, oneReport.hintShown) << threads << " threads, model " << model;
    }
    EXPECT_EQ(oneReport.hintShown, model == 5);
  }
}

TEST(LayeredViewComposer, EveryFrameOfAMoveIsTheFullComposition) {
  struct Case {
    const char* name;
    bool byVertex;
    int colorMode;
    bool background;
  };
  const Case cases[] = {
      {"by facet, black and white", false, 0, false},
      {"by facet, by group", false, 1, false},
      {"by vertex, by material", true, 2, false},
      {"by vertex, by region, over a background", true, 3, true},
      {"by facet, by group, over a background", false, 1, true},
  };
  QImage background(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) background.setPixel(x, y, qRgb(40 * x, 50 * y, 90));
  std::mt19937 random(4242);
  std::uniform_real_distribution<float> offset(-0.4f, 0.4f), scale(0.3f, 1.8f);
  // The work is cut among threads however small the model; the cut must not
  // show in a pixel.
  for (const std::size_t threads : {1, 3}) {
    const ScopedParallelThreads cut(threads, 1);
    for (const Case& c : cases) {
      // Odd models list the moving lines; even ones list too few and walk.
      // Models 2 and 3 are dense; the cut into parts is tried on them (each
      // line is drawn whole by one part, so lines that leave the picture,
      // slow to draw in the sanitizer build, add nothing to it).
      for (int model = threads > 1 ? 2 : 0; model < 4; ++model) {
        ModelStore store = randomModel(random, model >= 2 ? 600 : 150, c.byVertex, model >= 2);
        store.colorMode = c.colorMode;
        SelectionState selection;
        selection.selectionActive = true;
        selection.selectMethod = c.byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
        selection.source = {0.2f, 0.7f, 0.1f, 0.6f};
        selection.target = selection.source;
        const int width = 97 + model * 13, height = 71 + model * 7;
        LayeredViewComposer layered;
        if (model % 2 == 0) layered.setMovingLineLimit(20);
        for (int frame = 0; frame < 6; ++frame) {
          // Frame 0 draws the layer (with the frame moved already on odd
          // models, the moving lines drawn in the same walk); later frames
          // move, stretch and mirror the target as a drag and the keys do.
          if (frame > 0 || model % 2 == 1) {
            const float dx = offset(random), dy = offset(random), k = scale(random);
            selection.target = {0.2f + dx, 0.2f + dx + 0.5f * k, 0.1f + dy, 0.1f + dy + 0.5f * k};
            if (frame % 3 == 0) std::swap(selection.target.left, selection.target.right);
          }
          const ViewScene scene{store, selection, c.background ? &background : nullptr, width,
                                height};
          const QImage& fast = layered.compose(scene, frame > 0);
          const QImage full = composeView(scene);
          ASSERT_EQ(fast, full) << threads << " threads, " << c.name << ", model " << model
                                << ", frame " << frame << ": " << firstDifference(fast, full);
          EXPECT_EQ(layered.reusedLayer(), frame > 0);
        }
      }
    }
  }
}

// A list that ends early: what lies after the end-of-list record is not
// drawn, however the stream is cut, and a part left over from a cut of a
// longer list does not show in the next picture.
TEST(LayeredViewComposer, DrawsNothingAfterTheEndOfTheList) {
  std::mt19937 random(77);
  ModelStore store = randomModel(random, 400, false, true);
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = {0.1f, 0.8f, 0.2f, 0.9f};
  selection.target = {0.15f, 0.85f, 0.1f, 0.8f};
  std::vector<std::size_t> separators;
  for (std::size_t j = 1; j + 1 < store.facetStream.size(); ++j)
    if (store.facetStream[j].vertex == kSeparator) separators.push_back(j);
  ASSERT_GT(separators.size(), 10u);
  for (const std::size_t threads : {1, 2, 5}) {
    const ScopedParallelThreads cut(threads, 1);
    LayeredViewComposer layered;
    for (const std::size_t at : {separators[separators.size() / 5],
                                 separators[separators.size() / 2], separators.back()}) {
      ModelStore ended = store;
      ended.facetStream[at].vertex = kEndOfList;
      for (const bool frameOnly : {false, true}) {
        const ViewScene scene{ended, selection, nullptr, 90, 70};
        const QImage& fast = layered.compose(scene, frameOnly);
        const QImage full = composeView(scene);
        ASSERT_EQ(fast, full) << threads << " threads, end at " << at << ": "
                              << firstDifference(fast, full);
      }
    }
  }
}

// A selection let go (its move committed), dropped or hidden: only its
// facets are drawn again when every corner owns its coordinates, and the
// picture is the full composition's either way.
TEST(LayeredViewComposer, AShrunkSelectionRedrawsOnlyItsFacets) {
  enum class Change { Commit, Drop, Hide, None };
  struct Case {
    const char* name;
    Change change;
    bool byVertex;
    bool ownCoordinates;  // each corner its own texture vertex, as after a load
    // Whether only the selection's facets are drawn again: not with shared
    // coordinates, nor when hiding corners cuts short facets that also have
    // corners that stay (by vertex, nearly every such model).
    bool onlyItsFacets;
  };
  const Case cases[] = {
      {"commit of a moved frame, by facet", Change::Commit, false, true, true},
      {"commit of a moved frame, by vertex", Change::Commit, true, true, true},
      {"drop, by facet", Change::Drop, false, true, true},
      {"hide the selected, by facet", Change::Hide, false, true, true},
      {"hide the selected corners, by vertex", Change::Hide, true, true, false},
      {"nothing changed", Change::None, false, true, true},
      {"commit with shared coordinates", Change::Commit, false, false, false},
  };
  std::mt19937 random(2024);
  for (const std::size_t threads : {1, 3}) {
    const ScopedParallelThreads cut(threads, 1);
    for (const Case& c : cases) {
      for (int model = 0; model < 3; ++model) {
        ModelStore store = randomModel(random, 500, c.byVertex, model > 0);
        expandTextureVertices(store, true);
        if (!c.ownCoordinates) {
          // Some corners take the texture vertex of the corner before them.
          for (std::size_t j = 2; j < store.facetStream.size(); j += 5)
            if (store.facetStream[j].vertex > 0 && store.facetStream[j - 1].vertex > 0)
              store.facetStream[j].texVertex = static_cast<std::int32_t>(j);
        }
        store.colorMode = 1;
        SelectionState selection;
        selection.selectionActive = true;
        selection.selectMethod = c.byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
        selection.source = {0.2f, 0.7f, 0.1f, 0.6f};
        selection.target = {0.25f, 0.8f, 0.05f, 0.5f};
        LayeredViewComposer layered;
        const ViewScene scene{store, selection, nullptr, 110, 80};
        layered.compose(scene, false);
        switch (c.change) {
          case Change::Commit:
            commitSelection(store, selection);
            break;
          case Change::Drop:
            for (CornerRecord& record : store.facetStream)
              record.group &= static_cast<std::uint16_t>(~kSelectedBit);
            selection.selectionActive = false;
            break;
          case Change::Hide:
            for (CornerRecord& record : store.facetStream)
              if (record.vertex > 0 && (record.group & kSelectedBit) != 0)
                record.flags |= kHiddenBit;
            break;
          case Change::None:
            break;
        }
        const QImage& fast = layered.compose(scene, false, false, true);
        const QImage full = composeView(scene);
        ASSERT_EQ(fast, full) << threads << " threads, " << c.name << ", model " << model << ": "
                              << firstDifference(fast, full);
        EXPECT_EQ(layered.redrewShrunkSelection(), c.onlyItsFacets) << c.name;
        // The next frames move what is still selected over the new layer.
        selection.target = {0.3f, 0.75f, 0.2f, 0.6f};
        ASSERT_EQ(layered.compose(scene, true), composeView(scene)) << c.name << ", moved";
      }
    }
  }
}

// Dense random facets in stream order row by row over the map, as a mesh's
// facets mostly come, none selected, every corner with coordinates (a line
// to a corner without them crosses the view).
ModelStore rowsOfFacets(std::mt19937& random, int facets) {
  std::vector<UvFacet> list = randomFacets(random, facets, false, true, false);
  auto place = [](const UvFacet& facet) {
    const UvCorner& corner = facet.corners.front();
    return std::make_pair(std::floor(corner.v * 24.0f), corner.u);
  };
  std::stable_sort(list.begin(), list.end(),
                   [&](const UvFacet& a, const UvFacet& b) { return place(a) < place(b); });
  for (UvFacet& facet : list)
    for (UvCorner& corner : facet.corners) corner.selected = false;
  return uvModel(list);
}

// A rubber band's pick changes only selected bits: the layer is drawn again
// only where the lines it set moving (or let stay) lay, and the picture is
// the full composition's, with the frame still and moved, for a first band
// and for a second one elsewhere.
TEST(LayeredViewComposer, APickRedrawsOnlyWhereLinesChanged) {
  struct Case {
    const char* name;
    bool byVertex;
    FrameRect first, second;  // the bands, in view coordinates
    bool background;
    std::size_t movingLimit;  // 0: one line per pixel
    // Whether each pick redraws only where its lines lay, or clears the
    // layer when all it shows moves and is too much to list: not when its
    // changes spread over more than half the stream, nor when the lines
    // were not listed.
    bool onlyThere[2];
  };
  // The second band lies in the same rows as the first: its pick changes
  // those rows' records only, the first band's lines among them.
  const FrameRect small{0.1f, 0.35f, 0.6f, 0.8f}, elsewhere{0.5f, 0.9f, 0.62f, 0.75f};
  const FrameRect nowhere{1.5f, 1.6f, 1.5f, 1.6f}, everything{-0.2f, 1.2f, -0.2f, 1.2f};
  const Case cases[] = {
      {"small band, by facet", false, small, elsewhere, false, 0, {true, true}},
      {"small band, by vertex, over a background", true, small, elsewhere, true, 0, {true, true}},
      {"band over nothing", false, nowhere, small, false, 0, {true, true}},
      {"band over everything", false, everything, small, false, 0, {false, false}},
      {"too many moving lines to list", true, small, elsewhere, false, 5, {true, false}},
      {"band over everything, too many lines to list",
       false,
       everything,
       small,
       true,
       5,
       {true, false}},
  };
  QImage background(9, 6, QImage::Format_RGB32);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) background.setPixel(x, y, qRgb(25 * x, 40 * y, 150));
  std::mt19937 random(515);
  for (const std::size_t threads : {1, 3}) {
    const ScopedParallelThreads cut(threads, 1);
    for (const Case& c : cases) {
      ModelStore store = rowsOfFacets(random, 600);
      store.colorMode = 2;
      SelectionState selection;
      selection.selectMethod = c.byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
      LayeredViewComposer layered;
      layered.setBlockRecords(40);
      layered.setMovingLineLimit(c.movingLimit);
      const ViewScene scene{store, selection, c.background ? &background : nullptr, 130, 100};
      layered.compose(scene, false);
      for (const int pick : {0, 1}) {
        const FrameRect band = pick == 0 ? c.first : c.second;
        PickChange changed;
        selection.selectionActive =
            pickCornersInside(store, band, selection.selectMethod, &changed);
        selection.source = selection.target = band;
        const QImage& picked = layered.compose(scene, false, false, false, changed);
        const QImage full = composeView(scene);
        ASSERT_EQ(picked, full) << threads << " threads, " << c.name << ": "
                                << firstDifference(picked, full);
        EXPECT_EQ(layered.redrewReselection(), c.onlyThere[pick]) << c.name << ", pick " << pick;
        selection.target = {band.left + 0.05f, band.right + 0.1f, band.top - 0.07f, band.bottom};
        const QImage& moved = layered.compose(scene, true);
        ASSERT_EQ(moved, composeView(scene)) << threads << " threads, " << c.name << ", moved";
        selection.target = selection.source;
        layered.compose(scene, true);
      }
    }
  }
}

TEST(LayeredViewComposer, DrawsTheLayerAgainWhenToldTheModelChanged) {
  std::mt19937 random(99);
  ModelStore store = randomModel(random, 80, false);
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = selection.target = {0, 1, 0, 1};
  LayeredViewComposer layered;
  const ViewScene scene{store, selection, nullptr, 120, 90};
  layered.compose(scene, false);
  // A corner moves without the frame: only a composition that is not told
  // "frame only" may show it.
  store.texVertices[1] = {0.9f, 0.05f, 0};
  store.facetStream[1].group &= static_cast<std::uint16_t>(~kSelectedBit);
  const QImage& again = layered.compose(scene, false);
  EXPECT_FALSE(layered.reusedLayer());
  EXPECT_EQ(again, composeView(scene));
  // A size change draws the layer again even when told "frame only".
  const ViewScene larger{store, selection, nullptr, 130, 95};
  EXPECT_EQ(layered.compose(larger, true), composeView(larger));
  EXPECT_FALSE(layered.reusedLayer());
}

TEST(LayeredViewComposer, FallsBackToTheFullCompositionForTheHintAndTheEmptyView) {
  SelectionState selection;
  ModelStore empty;
  LayeredViewComposer layered;
  const ViewScene emptyScene{empty, selection, nullptr, 200, 150};
  EXPECT_EQ(layered.compose(emptyScene, false), composeView(emptyScene));
  ModelStore noUv = uvModel(
      {UvFacet{{UvCorner{kNoUvU, kNoUvV}, UvCorner{kNoUvU, kNoUvV}, UvCorner{kNoUvU, kNoUvV}}}});
  const ViewScene hintScene{noUv, selection, nullptr, 300, 200};
  EXPECT_EQ(layered.compose(hintScene, false), composeView(hintScene));
  EXPECT_EQ(layered.compose(hintScene, true), composeView(hintScene));
}

// A corner's prepared point skips the doubles only where that changes
// nothing: at the reach's edges, for coordinates that are not numbers or
// infinite, through a frame and in a zoomed or panned square.
TEST(OutlinePoint, ThePreparedPointIsTheExactOne) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float reach = static_cast<float>(kOutlineSafeReach);
  SelectionState selection;
  selection.source = {0.2f, 0.7f, 0.1f, 0.6f};
  selection.target = {0.7f, 0.25f, 0.15f, 0.8f};  // mirrored
  const FrameTransform frame = frameTransform(selection);
  const SquarePlacement squares[] = {
      {0, 0, {100, 80}}, {-7000, 3000, {8192, 6144}}, {1 << 19, -(1 << 19), {1 << 20, 1 << 19}}};
  const float values[] = {0.0f,  -0.0f,  0.5f,  -0.5f,    0.75f,          0.999f,          1.0f,
                          3.0f,  -1e-9f, 40.0f, -4000.0f, reach / 100.0f, -reach / 100.0f, reach,
                          1e30f, nan,    inf,   -inf};
  for (const SquarePlacement& square : squares)
    for (const float u : values)
      for (const float v : values)
        for (const bool selected : {false, true}) {
          const TexVertex uv{u, v, 0};
          const OutlinePoint fast = outlinePoint(uv, selected, frame, square);
          const OutlinePoint exact(viewPoint(uv, selected, frame, square));
          const std::string at = "u " + std::to_string(u) + ", v " + std::to_string(v) +
                                 ", square left " + std::to_string(square.left) +
                                 (selected ? ", selected" : "");
          EXPECT_EQ(fast.x, exact.x) << at;
          EXPECT_EQ(fast.y, exact.y) << at;
          EXPECT_EQ(fast.view.x, exact.view.x) << at;
          EXPECT_EQ(fast.view.y, exact.view.y) << at;
        }
}

}  // namespace
}  // namespace corvina::painter
