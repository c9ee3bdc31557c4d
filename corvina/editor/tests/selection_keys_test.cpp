// The view's keys acting on the selection frame and on hidden facets.

#include "editor/selection_keys.h"

#include <gtest/gtest.h>

#include "editor/tests/three_triangles.h"
#include "model/parallel_parts.h"

namespace corvina {
namespace {

using testing::facets;
using testing::hiddenCorners;
using testing::selectedCorners;

// T = S: w = 0.25, h = 0.5, in a view of 512 x 256, so one step is 1/512
// across and 1/256 down.
constexpr FrameRect kFrame = {0.25f, 0.5f, 0.25f, 0.75f};
constexpr ViewSize kView = {512, 256};

SelectionState activeSelection() {
  SelectionState selection;
  selection.selectionActive = true;
  selection.source = kFrame;
  selection.target = kFrame;
  return selection;
}

struct FrameKeyCase {
  const char* name;
  KeyAction action;
  bool shift;
  FrameRect expected;
};

const FrameKeyCase kFrameKeyCases[] = {
    {"center", KeyAction::Center, false, {0.375f, 0.625f, 0.25f, 0.75f}},
    {"home", KeyAction::MoveToTopLeft, false, {0.0f, 0.25f, 0.0f, 0.5f}},
    {"page_up", KeyAction::MoveToTopRight, false, {0.75f, 1.0f, 0.0f, 0.5f}},
    {"end", KeyAction::MoveToBottomLeft, false, {0.0f, 0.25f, 0.5f, 1.0f}},
    {"page_down", KeyAction::MoveToBottomRight, false, {0.75f, 1.0f, 0.5f, 1.0f}},
    {"left_one_pixel", KeyAction::StepLeft, false, {0.248046875f, 0.498046875f, 0.25f, 0.75f}},
    {"right_one_pixel", KeyAction::StepRight, false, {0.251953125f, 0.501953125f, 0.25f, 0.75f}},
    {"up_one_pixel", KeyAction::StepUp, false, {0.25f, 0.5f, 0.24609375f, 0.74609375f}},
    {"down_one_pixel", KeyAction::StepDown, false, {0.25f, 0.5f, 0.25390625f, 0.75390625f}},
    {"shift_left_a_32nd", KeyAction::StepLeft, true, {0.21875f, 0.46875f, 0.25f, 0.75f}},
    {"shift_down_a_32nd", KeyAction::StepDown, true, {0.25f, 0.5f, 0.28125f, 0.78125f}},
    // S is twice as high as wide, so the vertical step is twice the
    // horizontal one.
    {"grow", KeyAction::Grow, false, {0.248046875f, 0.501953125f, 0.24609375f, 0.75390625f}},
    {"shrink", KeyAction::Shrink, false, {0.251953125f, 0.498046875f, 0.25390625f, 0.74609375f}},
    {"shift_grow", KeyAction::Grow, true, {0.21875f, 0.53125f, 0.1875f, 0.8125f}},
    {"double", KeyAction::DoubleSize, false, {0.125f, 0.625f, 0.0f, 1.0f}},
    {"halve", KeyAction::HalveSize, false, {0.3125f, 0.4375f, 0.375f, 0.625f}},
    {"u_widens",
     KeyAction::ResizeFineHorizontal,
     false,
     {0.248046875f, 0.501953125f, 0.25f, 0.75f}},
    {"shift_u_narrows",
     KeyAction::ResizeFineHorizontal,
     true,
     {0.251953125f, 0.498046875f, 0.25f, 0.75f}},
    {"v_heightens", KeyAction::ResizeFineVertical, false, {0.25f, 0.5f, 0.24609375f, 0.75390625f}},
    {"shift_v_lowers",
     KeyAction::ResizeFineVertical,
     true,
     {0.25f, 0.5f, 0.25390625f, 0.74609375f}},
    {"x_widens_by_a_16th",
     KeyAction::ResizeCoarseHorizontal,
     false,
     {0.234375f, 0.515625f, 0.25f, 0.75f}},
    {"shift_x_narrows_by_an_18th",
     KeyAction::ResizeCoarseHorizontal,
     true,
     {0.26388889f, 0.48611111f, 0.25f, 0.75f}},
    {"y_heightens", KeyAction::ResizeCoarseVertical, false, {0.25f, 0.5f, 0.21875f, 0.78125f}},
    {"maximize", KeyAction::Maximize, false, {0.0f, 1.0f, 0.0f, 1.0f}},
    {"triangulate_leaves_the_frame", KeyAction::Triangulate, false, kFrame},
};

class FrameKeyTest : public ::testing::TestWithParam<FrameKeyCase> {};

TEST_P(FrameKeyTest, KeyMovesOrScalesTheTarget) {
  const FrameKeyCase& c = GetParam();
  ModelStore store = testing::threeTriangles();
  SelectionState selection = activeSelection();
  ASSERT_TRUE(applyKeyAction(store, selection, c.action, c.shift, kView));
  EXPECT_NEAR(selection.target.left, c.expected.left, 1e-6);
  EXPECT_NEAR(selection.target.right, c.expected.right, 1e-6);
  EXPECT_NEAR(selection.target.top, c.expected.top, 1e-6);
  EXPECT_NEAR(selection.target.bottom, c.expected.bottom, 1e-6);
  // Keys move only the target; the texture coordinates wait for the commit.
  EXPECT_EQ(selection.source.left, kFrame.left);
  EXPECT_EQ(selection.source.bottom, kFrame.bottom);
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_EQ(testing::cornerUvs(store), testing::cornerUvs(testing::threeTriangles()));
}

INSTANTIATE_TEST_SUITE_P(Keys, FrameKeyTest, ::testing::ValuesIn(kFrameKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameKeys, ShiftStepIsAThirtySecondOfAnyView) {
  for (ViewSize view : {ViewSize{64, 64}, ViewSize{1000, 300}, ViewSize{1, 1}}) {
    SelectionState selection = activeSelection();
    ModelStore store;
    applyKeyAction(store, selection, KeyAction::StepRight, true, view);
    EXPECT_FLOAT_EQ(selection.target.left, 0.28125f);
    applyKeyAction(store, selection, KeyAction::StepUp, true, view);
    EXPECT_FLOAT_EQ(selection.target.top, 0.21875f);
  }
}

TEST(FrameKeys, CoarseGrowThenShrinkRestoresTheWidth) {
  SelectionState selection = activeSelection();
  ModelStore store;
  applyKeyAction(store, selection, KeyAction::ResizeCoarseHorizontal, false, kView);
  applyKeyAction(store, selection, KeyAction::ResizeCoarseHorizontal, true, kView);
  EXPECT_NEAR(selection.target.right - selection.target.left, 0.25f, 1e-6);
  applyKeyAction(store, selection, KeyAction::ResizeCoarseVertical, false, kView);
  applyKeyAction(store, selection, KeyAction::ResizeCoarseVertical, true, kView);
  EXPECT_NEAR(selection.target.bottom - selection.target.top, 0.5f, 1e-6);
}

TEST(FrameKeys, GrowKeepsTheProportionsOfAMirroredOrFlatSource) {
  ModelStore store;
  struct Case {
    FrameRect source;
    float expectedTop;
  } cases[] = {
      // mirrored across: still twice as high as wide, so it grows upward too
      {{0.5f, 0.25f, 0.25f, 0.75f}, 0.24609375f},
      // mirrored both ways
      {{0.5f, 0.25f, 0.75f, 0.25f}, 0.24609375f},
      // no width: no proportions, the same step both ways
      {{0.25f, 0.25f, 0.25f, 0.75f}, 0.248046875f},
      // no height
      {{0.25f, 0.5f, 0.5f, 0.5f}, 0.248046875f},
  };
  for (const Case& c : cases) {
    SelectionState selection = activeSelection();
    selection.source = c.source;
    applyKeyAction(store, selection, KeyAction::Grow, false, kView);
    EXPECT_FLOAT_EQ(selection.target.top, c.expectedTop);
    EXPECT_FLOAT_EQ(selection.target.left, 0.248046875f);
  }
}

TEST(SelectionKeys, EnterCommitsTheMoveAndEscDropsIt) {
  for (bool enter : {true, false}) {
    ModelStore store = testing::threeTriangles();
    for (int j : {5, 6, 7}) store.facetStream[static_cast<std::size_t>(j)].group |= kSelectedBit;
    SelectionState selection;
    selection.selectionActive = true;
    selection.source = {0.5f, 0.6f, 0.5f, 0.6f};  // around B
    selection.target = {0.3f, 0.4f, 0.5f, 0.6f};  // 0.2 to the left
    applyKeyAction(store, selection, enter ? KeyAction::Commit : KeyAction::Drop, false, kView);
    EXPECT_FALSE(selection.selectionActive);
    EXPECT_EQ(selectedCorners(store), facets(false, false, false));
    const auto uvs = testing::cornerUvs(store);
    EXPECT_NEAR(uvs[3].first, enter ? 0.3f : 0.5f, 1e-6);
    EXPECT_NEAR(uvs[4].first, enter ? 0.4f : 0.6f, 1e-6);
    EXPECT_FLOAT_EQ(uvs[3].second, 0.5f);
  }
}

struct HideCase {
  const char* name;
  bool active;
  std::vector<bool> hiddenBefore;
  KeyAction action;
  std::vector<bool> hiddenAfter;
};

// B is selected in every case (its bits stay even while no selection is
// active).
const HideCase kHideCases[] = {
    {"hide_selected", true, facets(false, false, false), KeyAction::Hide,
     facets(false, true, false)},
    {"show_selected", true, facets(true, true, true), KeyAction::Show, facets(true, false, true)},
    {"toggle_selected", true, facets(true, false, false), KeyAction::ToggleHidden,
     facets(true, true, false)},
    {"hide_others", true, facets(false, false, false), KeyAction::HideOthers,
     facets(true, false, true)},
    {"hide_all_without_selection", false, facets(false, false, false), KeyAction::Hide,
     facets(true, true, true)},
    {"hide_others_without_selection_hides_all", false, facets(false, false, false),
     KeyAction::HideOthers, facets(true, true, true)},
    {"show_all_without_selection", false, facets(true, true, true), KeyAction::Show,
     facets(false, false, false)},
    {"toggle_all_without_selection", false, facets(true, false, false), KeyAction::ToggleHidden,
     facets(false, true, true)},
};

class HideKeyTest : public ::testing::TestWithParam<HideCase> {};

TEST_P(HideKeyTest, HiddenBitsFollowTheSelection) {
  const HideCase& c = GetParam();
  ModelStore store = testing::threeTriangles();
  std::size_t corner = 0;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    if (c.hiddenBefore[corner]) record.flags |= kHiddenBit;
    if (corner >= 3 && corner < 6) record.group |= kSelectedBit;
    ++corner;
  }
  SelectionState selection = activeSelection();
  selection.selectionActive = c.active;
  applyKeyAction(store, selection, c.action, false, kView);
  EXPECT_EQ(hiddenCorners(store), c.hiddenAfter);
  EXPECT_EQ(selectedCorners(store), facets(false, true, false));
}

INSTANTIATE_TEST_SUITE_P(Keys, HideKeyTest, ::testing::ValuesIn(kHideCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SnapToFacets, FrameShrinksToTheSelectionWhereItIsShown) {
  ModelStore store = testing::threeTriangles();
  for (int j : {5, 6, 7}) store.facetStream[static_cast<std::size_t>(j)].group |= kSelectedBit;
  SelectionState selection;
  selection.selectionActive = true;
  // B (x 0.5..0.6, y 0.5..0.6) inside a frame of twice its size, shown
  // moved by 0.1 to the right and at twice the scale.
  selection.source = {0.4f, 0.8f, 0.4f, 0.8f};
  selection.target = {0.5f, 1.3f, 0.4f, 1.2f};
  snapFrameToSelection(store, selection);
  EXPECT_NEAR(selection.source.left, 0.5f, 1e-6);
  EXPECT_NEAR(selection.source.right, 0.6f, 1e-6);
  EXPECT_NEAR(selection.source.top, 0.5f, 1e-6);
  EXPECT_NEAR(selection.source.bottom, 0.6f, 1e-6);
  // B's corner (0.5, 0.5) was shown at 0.5 + 2 * 0.1 = 0.7 across and
  // 0.4 + 2 * 0.1 = 0.6 down; the box is 0.2 wide and high on screen.
  EXPECT_NEAR(selection.target.left, 0.7f, 1e-6);
  EXPECT_NEAR(selection.target.right, 0.9f, 1e-6);
  EXPECT_NEAR(selection.target.top, 0.6f, 1e-6);
  EXPECT_NEAR(selection.target.bottom, 0.8f, 1e-6);
}

TEST(SnapToFacets, NothingToSnapToLeavesTheFrame) {
  struct Case {
    const char* name;
    bool active;
    int texVertex;  // of B's selected corners
  } cases[] = {
      {"inactive", false, 4},
      {"no_texture_index", true, 0},
      {"texture_index_past_the_array", true, 99},
      {"negative_texture_index", true, -3},
  };
  for (const Case& c : cases) {
    ModelStore store = testing::threeTriangles();
    for (int j : {5, 6, 7}) {
      store.facetStream[static_cast<std::size_t>(j)].group |= kSelectedBit;
      store.facetStream[static_cast<std::size_t>(j)].texVertex = c.texVertex;
    }
    SelectionState selection = activeSelection();
    selection.selectionActive = c.active;
    snapFrameToSelection(store, selection);
    EXPECT_EQ(selection.source.left, kFrame.left) << c.name;
    EXPECT_EQ(selection.target.right, kFrame.right) << c.name;
  }
}

// The hide keys and Esc change every record on every core: however the
// stream is cut, the records come out as on one thread, and nothing after
// the end of the list changes.
TEST(SelectionKeys, HidingAndDroppingAreTheSameOnEveryCut) {
  ModelStore model;
  model.facetStream.push_back(CornerRecord{});
  for (int f = 0; f < 400; ++f) {
    for (int c = 0; c < 1 + f % 4; ++c) {
      CornerRecord record;
      record.vertex = 1 + c;
      if ((f * 7 + c) % 3 == 0) record.group |= kSelectedBit;
      if ((f * 5 + c) % 11 == 0) record.flags |= kHiddenBit;
      model.facetStream.push_back(record);
    }
    model.facetStream.push_back(CornerRecord{});
  }
  // The list ends two thirds of the way; the records after it stay.
  model.facetStream[model.facetStream.size() * 2 / 3].vertex = kEndOfList;
  model.numCornerRecords = static_cast<int>(model.facetStream.size());
  for (const KeyAction action : {KeyAction::Hide, KeyAction::Show, KeyAction::ToggleHidden,
                                 KeyAction::HideOthers, KeyAction::Drop}) {
    for (const bool active : {true, false}) {
      ModelStore one = model;
      SelectionState oneSelection = activeSelection();
      oneSelection.selectionActive = active;
      {
        const ScopedParallelThreads cut(1);
        applyKeyAction(one, oneSelection, action, false, kView);
      }
      ModelStore many = model;
      SelectionState manySelection = activeSelection();
      manySelection.selectionActive = active;
      {
        const ScopedParallelThreads cut(3, 1);
        applyKeyAction(many, manySelection, action, false, kView);
      }
      bool changed = false;
      for (std::size_t j = 0; j < model.facetStream.size(); ++j) {
        const CornerRecord &a = one.facetStream[j], &b = many.facetStream[j];
        ASSERT_TRUE(a.group == b.group && a.flags == b.flags) << "record " << j;
        changed = changed || a.group != model.facetStream[j].group ||
                  a.flags != model.facetStream[j].flags;
        if (j >= model.facetStream.size() * 2 / 3) {
          EXPECT_EQ(a.group, model.facetStream[j].group);
          EXPECT_EQ(a.flags, model.facetStream[j].flags);
        }
      }
      EXPECT_TRUE(changed || (action == KeyAction::HideOthers && !active));
    }
  }
}

}  // namespace
}  // namespace corvina
