// Moving a selection from its source frame to its target frame, and fitting
// the frame around the selected corners.

#include <gtest/gtest.h>

#include <cmath>

#include "model/parallel_parts.h"
#include "testing/model_builder.h"
#include "tools/selection_state.h"

namespace corvina {
namespace {

using testing::FacetSpec;
using UvList = std::vector<std::pair<float, float>>;

// Two triangles over vertices 1..4, six corners each owning its own texture
// vertex, the way the editor keeps them.
ModelStore modelWithCorners(const UvList& uvs, const std::vector<bool>& selected) {
  std::vector<TexVertex> tex;
  for (auto [u, v] : uvs) tex.push_back({u, v, 0});
  ModelStore store =
      testing::buildModel(std::vector<Vertex>(4), tex,
                          {FacetSpec{{1, 1}, {2, 2}, {3, 3}}, FacetSpec{{2, 4}, {3, 5}, {4, 6}}});
  int corner = 0;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    if (selected[corner++]) record.group |= kSelectedBit;
  }
  return store;
}

std::vector<bool> selectedBits(const ModelStore& store) {
  std::vector<bool> bits;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex > 0) bits.push_back((record.group & kSelectedBit) != 0);
  }
  return bits;
}

void expectUvs(const ModelStore& store, const UvList& expected) {
  const UvList actual = testing::cornerUvs(store);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_FLOAT_EQ(actual[i].first, expected[i].first) << "u of corner " << i;
    EXPECT_FLOAT_EQ(actual[i].second, expected[i].second) << "v of corner " << i;
  }
}

const UvList kSquareCorners = {{0.25f, 0.25f}, {0.5f, 0.25f}, {0.5f, 0.5f},
                               {0.25f, 0.5f},  {0.9f, 0.9f},  {0.1f, 0.1f}};
const std::vector<bool> kFirstFourSelected = {true, true, true, true, false, false};
// u 0.25..0.5, v 0.25..0.5 in view coordinates (y = 1 - v).
const FrameRect kSquareFrame = {0.25f, 0.5f, 0.5f, 0.75f};

struct MoveCase {
  const char* name;
  bool active;
  FrameRect source, target;
  UvList expected;
};

const MoveCase kMoveCases[] = {
    {"translation",
     true,
     kSquareFrame,
     {0.5f, 0.75f, 0.25f, 0.5f},  // right 0.25, up 0.25
     {{0.5f, 0.5f}, {0.75f, 0.5f}, {0.75f, 0.75f}, {0.5f, 0.75f}, {0.9f, 0.9f}, {0.1f, 0.1f}}},
    {"stretch_to_twice_the_size",
     true,
     kSquareFrame,
     {0.25f, 0.75f, 0.5f, 1.0f},  // left and top edges kept
     {{0.25f, 0.0f}, {0.75f, 0.0f}, {0.75f, 0.5f}, {0.25f, 0.5f}, {0.9f, 0.9f}, {0.1f, 0.1f}}},
    {"mirror_by_crossed_edges",
     true,
     kSquareFrame,
     {0.5f, 0.25f, 0.5f, 0.75f},
     {{0.5f, 0.25f}, {0.25f, 0.25f}, {0.25f, 0.5f}, {0.5f, 0.5f}, {0.9f, 0.9f}, {0.1f, 0.1f}}},
    {"inactive_selection_moves_nothing",
     false,
     kSquareFrame,
     {0.5f, 0.75f, 0.25f, 0.5f},
     kSquareCorners},
    // A source squeezed to zero width cannot be scaled from: the corners move
    // with the target's edge instead of becoming NaN.
    {"zero_width_source",
     true,
     {0.25f, 0.25f, 0.5f, 0.75f},
     {0.5f, 0.75f, 0.5f, 0.75f},
     {{0.5f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.5f}, {0.5f, 0.5f}, {0.9f, 0.9f}, {0.1f, 0.1f}}},
};

class MoveSelectionTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveSelectionTest, CommitMovesAndEndsTheSelection) {
  const MoveCase& c = GetParam();
  ModelStore store = modelWithCorners(kSquareCorners, kFirstFourSelected);
  SelectionState selection{c.active, c.source, c.target, {}, SelectMethod::ByFacet};
  commitSelection(store, selection);
  expectUvs(store, c.expected);
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_EQ(selectedBits(store), c.active ? std::vector<bool>(6, false) : kFirstFourSelected);
}

TEST_P(MoveSelectionTest, ApplyPendingMoveKeepsTheSelectionAndMakesTargetTheSource) {
  const MoveCase& c = GetParam();
  ModelStore store = modelWithCorners(kSquareCorners, kFirstFourSelected);
  SelectionState selection{c.active, c.source, c.target, {}, SelectMethod::ByFacet};
  applyPendingMove(store, selection);
  expectUvs(store, c.expected);
  EXPECT_EQ(selection.selectionActive, c.active);
  EXPECT_EQ(selectedBits(store), kFirstFourSelected);
  const FrameRect expectedSource = c.active ? c.target : c.source;
  EXPECT_EQ(selection.source.left, expectedSource.left);
  EXPECT_EQ(selection.source.bottom, expectedSource.bottom);
  // A second application finds nothing left to move.
  applyPendingMove(store, selection);
  expectUvs(store, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveSelectionTest, ::testing::ValuesIn(kMoveCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FitCase {
  const char* name;
  UvList uvs;
  std::vector<bool> selected;
  bool active;
  FrameRect frame;  // expected source and target when active
  PixelRect pixels;
  std::vector<int> marks;  // per vertex 1..4
};

const FitCase kFitCases[] = {
    {"frame_around_selected_corners",
     {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.5f, 1.0f}, {0.0f, 0.0f}, {0.9f, 0.1f}, {0.1f, 0.2f}},
     {true, true, true, false, false, false},
     true,
     {0.25f, 0.75f, 0.0f, 0.5f},
     {50, 150, 0, 50},
     {1, 1, 1, 0}},
    {"one_shared_u_gets_a_sliver",
     {{0.5f, 0.25f}, {0.5f, 0.75f}, {0.5f, 0.5f}, {0.0f, 0.0f}, {0.9f, 0.1f}, {0.1f, 0.2f}},
     {true, true, true, false, false, false},
     true,
     {0.5f - 0.00001f, 0.5f, 0.25f, 0.75f},
     {99, 100, 25, 75},
     {1, 1, 1, 0}},
    {"one_shared_v_gets_a_sliver_at_the_bottom",
     {{0.5f, 0.25f}, {0.5f, 0.25f}, {0.75f, 0.25f}, {0.0f, 0.0f}, {0.9f, 0.1f}, {0.1f, 0.2f}},
     {true, true, true, false, false, false},
     true,
     {0.5f, 0.75f, 0.75f, 1.0f - (0.25f - 0.00001f)},
     {100, 150, 75, 75},
     {1, 1, 1, 0}},
    {"greatest_u_still_zero",
     {{0.5f, 0.25f}, {0.5f, 0.25f}, {0.75f, 0.25f}, {0.0f, 0.0f}, {0.9f, 0.1f}, {0.1f, 0.2f}},
     {false, false, false, true, false, false},
     false,
     {},
     {},
     {0, 1, 0, 0}},
    {"least_u_exactly_one",
     {{1.0f, 0.25f}, {1.5f, 0.75f}, {0.5f, 0.5f}, {0.0f, 0.0f}, {0.9f, 0.1f}, {0.1f, 0.2f}},
     {true, true, false, false, false, false},
     false,
     {},
     {},
     {1, 1, 0, 0}},
    {"nothing_selected", kSquareCorners, std::vector<bool>(6, false), false, {}, {}, {0, 0, 0, 0}},
    {"selection_beyond_the_square",
     {{-0.5f, -0.5f}, {2.0f, 3.0f}, {0.5f, 0.5f}, {0.0f, 0.0f}, {0.9f, 0.1f}, {0.1f, 0.2f}},
     {true, true, false, false, false, false},
     true,
     {-0.5f, 2.0f, -2.0f, 1.5f},
     {-100, 400, -200, 150},
     {1, 1, 0, 0}},
};

class FitFrameTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitFrameTest, FrameAndMarksFollowTheSelectedCorners) {
  const FitCase& c = GetParam();
  ModelStore store = modelWithCorners(c.uvs, c.selected);
  for (Vertex& vertex : store.vertices) vertex.mark = 1;  // stale marks to be cleared
  SelectionState selection;
  selection.selectionActive = !c.active;

  fitFrameToSelection(store, selection, 200, 100);

  EXPECT_EQ(selection.selectionActive, c.active);
  EXPECT_EQ(selectedBits(store), c.selected);
  std::vector<int> marks;
  for (const Vertex& vertex : store.vertices) marks.push_back(vertex.mark);
  EXPECT_EQ(marks, c.marks);
  if (!c.active) return;
  for (const FrameRect* rect : {&selection.source, &selection.target}) {
    EXPECT_EQ(rect->left, c.frame.left);
    EXPECT_EQ(rect->right, c.frame.right);
    EXPECT_EQ(rect->top, c.frame.top);
    EXPECT_EQ(rect->bottom, c.frame.bottom);
  }
  EXPECT_EQ(selection.framePixels.left, c.pixels.left);
  EXPECT_EQ(selection.framePixels.right, c.pixels.right);
  EXPECT_EQ(selection.framePixels.top, c.pixels.top);
  EXPECT_EQ(selection.framePixels.bottom, c.pixels.bottom);
}

INSTANTIATE_TEST_SUITE_P(Cases, FitFrameTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FitFrameToSelection, FarAwayCoordinatesDoNotOverflowThePixelRectangle) {
  ModelStore store =
      modelWithCorners({{-1e30f, -1e30f}, {1e30f, 1e30f}, {0.5f, 0.5f}, {0, 0}, {0, 0}, {0, 0}},
                       {true, true, false, false, false, false});
  SelectionState selection;
  fitFrameToSelection(store, selection, 200, 100);
  ASSERT_TRUE(selection.selectionActive);
  EXPECT_EQ(selection.framePixels.left, INT_MIN);
  EXPECT_EQ(selection.framePixels.right, INT_MAX);
}

// A commit moves the corners on every core: however the stream is cut, the
// same coordinates and bits as on one thread, and a texture vertex that two
// selected corners share moves twice.
TEST(CommitSelection, TheCutAmongThreadsChangesNothing) {
  ModelStore model;
  model.facetStream.push_back(CornerRecord{});
  for (int f = 0; f < 300; ++f) {
    for (int c = 0; c < 3; ++c) {
      CornerRecord record;
      record.vertex = 1;
      if ((f + c) % 4 != 0) record.group |= kSelectedBit;
      model.facetStream.push_back(record);
    }
    model.facetStream.push_back(CornerRecord{});
  }
  model.facetStream.back().vertex = kEndOfList;
  const std::size_t length = model.facetStream.size();
  for (std::size_t j = 0; j < length; ++j) {
    model.facetStream[j].texVertex = static_cast<std::int32_t>(j + 1);
    model.texVertices.push_back({0.001f * static_cast<float>(j % 997), 0.3f, 0});
  }
  // Some corners share the texture vertex of a corner far before them.
  for (std::size_t j = 600; j < length; j += 37)
    if (model.facetStream[j].vertex > 0) model.facetStream[j].texVertex = 2;
  model.numCornerRecords = static_cast<int>(length);
  model.numTVerts = static_cast<int>(length);
  model.vertices.push_back({0, 0, 0, 0});
  model.numVerts = 1;
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = {0.1f, 0.6f, 0.2f, 0.7f};
  selection.target = {0.3f, 0.7f, 0.1f, 0.9f};

  ModelStore one = model;
  {
    SelectionState s = selection;
    const ScopedParallelThreads cut(1);
    commitSelection(one, s);
  }
  // Texture vertex 2 belongs to record 1 and is shared by selected corners.
  int sharers = 0;
  for (std::size_t j = 0; j < length; ++j) {
    const CornerRecord& record = model.facetStream[j];
    if (record.vertex > 0 && record.texVertex == 2 && (record.group & kSelectedBit) != 0) ++sharers;
  }
  ASSERT_GE(sharers, 3);
  float u = model.texVertices[1].u;
  const float scale = (0.7f - 0.3f) / (0.6f - 0.1f);
  for (int m = 0; m < sharers; ++m) u = 0.3f + scale * (u - 0.1f);
  EXPECT_EQ(one.texVertices[1].u, u);
  for (const std::size_t threads : {2, 3, 8}) {
    ModelStore many = model;
    SelectionState s = selection;
    const ScopedParallelThreads cut(threads, 1);
    commitSelection(many, s);
    EXPECT_FALSE(s.selectionActive);
    for (std::size_t j = 0; j < length; ++j) {
      ASSERT_EQ(many.facetStream[j].group, one.facetStream[j].group) << threads << ", " << j;
      ASSERT_EQ(many.texVertices[j].u, one.texVertices[j].u) << threads << ", " << j;
      ASSERT_EQ(many.texVertices[j].v, one.texVertices[j].v) << threads << ", " << j;
    }
  }
}

}  // namespace
}  // namespace corvina
