// The selection frame's handles, hit testing, cursors and drags.

#include "editor/tracker.h"

#include <gtest/gtest.h>

namespace corvina {
namespace {

// A frame 40 pixels wide and 20 high: x 100..140, y 50..70 (far edges
// exclusive). Handles are 4 x 4 inside it; the midpoints sit at x 118..121
// and y 58..61.
const PixelRect kFrame = {100, 140, 50, 70};

struct HitCase {
  int x, y;
  TrackerHit hit;
  ViewCursor cursor;
};

const HitCase kHitCases[] = {
    {100, 50, TrackerHit::TopLeft, ViewCursor::SizeNwSe},
    {103, 53, TrackerHit::TopLeft, ViewCursor::SizeNwSe},
    {104, 53, TrackerHit::Inside, ViewCursor::Move},
    {139, 50, TrackerHit::TopRight, ViewCursor::SizeNeSw},
    {136, 53, TrackerHit::TopRight, ViewCursor::SizeNeSw},
    {139, 69, TrackerHit::BottomRight, ViewCursor::SizeNwSe},
    {100, 69, TrackerHit::BottomLeft, ViewCursor::SizeNeSw},
    {118, 50, TrackerHit::Top, ViewCursor::SizeNs},
    {121, 53, TrackerHit::Top, ViewCursor::SizeNs},
    {122, 50, TrackerHit::Inside, ViewCursor::Move},
    {120, 69, TrackerHit::Bottom, ViewCursor::SizeNs},
    {100, 58, TrackerHit::Left, ViewCursor::SizeWe},
    {139, 61, TrackerHit::Right, ViewCursor::SizeWe},
    {139, 62, TrackerHit::Inside, ViewCursor::Move},
    {120, 60, TrackerHit::Inside, ViewCursor::Move},
    {140, 60, TrackerHit::Nothing, ViewCursor::Arrow},  // right edge is exclusive
    {99, 60, TrackerHit::Nothing, ViewCursor::Arrow},
    {120, 70, TrackerHit::Nothing, ViewCursor::Arrow},
    {120, 49, TrackerHit::Nothing, ViewCursor::Arrow},
};

class TrackerHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(TrackerHitTest, HandlesFirstThenInside) {
  const HitCase& c = GetParam();
  EXPECT_EQ(hitTest(kFrame, c.x, c.y), c.hit);
  EXPECT_EQ(cursorFor(hitTest(kFrame, c.x, c.y)), c.cursor);
  // An inverted rectangle covers the same pixels.
  const PixelRect inverted = {kFrame.right, kFrame.left, kFrame.bottom, kFrame.top};
  EXPECT_EQ(hitTest(inverted, c.x, c.y), c.hit);
}

INSTANTIATE_TEST_SUITE_P(Points, TrackerHitTest, ::testing::ValuesIn(kHitCases));

TEST(TrackerHandles, EightHandlesInsideAFrameLargeEnough) {
  const std::vector<TrackerHandle> handles = trackerHandles(kFrame);
  ASSERT_EQ(handles.size(), 8u);
  for (const TrackerHandle& handle : handles) {
    EXPECT_EQ(handle.rect.right - handle.rect.left, kTrackerHandleSize);
    EXPECT_EQ(handle.rect.bottom - handle.rect.top, kTrackerHandleSize);
    EXPECT_GE(handle.rect.left, kFrame.left);
    EXPECT_LE(handle.rect.right, kFrame.right);
    EXPECT_GE(handle.rect.top, kFrame.top);
    EXPECT_LE(handle.rect.bottom, kFrame.bottom);
  }
}

TEST(TrackerHandles, SmallAndEmptyFramesKeepTheirCornerHandles) {
  // 10 x 10: no room for edge midpoints between the corners.
  EXPECT_EQ(trackerHandles({10, 20, 10, 20}).size(), 4u);
  EXPECT_EQ(hitTest({10, 20, 10, 20}, 19, 19), TrackerHit::BottomRight);
  // A frame of no width (a selection sharing one u) can still be grabbed.
  EXPECT_NE(hitTest({50, 50, 10, 40}, 50, 10), TrackerHit::Nothing);
  // A frame at the end of the int range does not overflow.
  EXPECT_EQ(hitTest({0, 2147483647, 0, 2147483647}, 5, 5), TrackerHit::Inside);
}

struct DragCase {
  const char* name;
  TrackerHit hit;
  int dx, dy;
  PixelRect expected;
};

const DragCase kDragCases[] = {
    {"move", TrackerHit::Inside, 5, -7, {105, 145, 43, 63}},
    {"top_left", TrackerHit::TopLeft, -10, -10, {90, 140, 40, 70}},
    {"bottom_right", TrackerHit::BottomRight, 3, 4, {100, 143, 50, 74}},
    {"top_right", TrackerHit::TopRight, 3, 4, {100, 143, 54, 70}},
    {"bottom_left", TrackerHit::BottomLeft, 3, 4, {103, 140, 50, 74}},
    {"top_edge_ignores_x", TrackerHit::Top, 9, 4, {100, 140, 54, 70}},
    {"left_edge_ignores_y", TrackerHit::Left, 9, 4, {109, 140, 50, 70}},
    {"right_past_left_turns_inside_out", TrackerHit::Right, -60, 0, {100, 80, 50, 70}},
    {"bottom_past_top_turns_inside_out", TrackerHit::Bottom, 0, -30, {100, 140, 50, 40}},
    {"nothing_moves_nothing", TrackerHit::Nothing, 9, 9, kFrame},
};

class TrackerDragTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(TrackerDragTest, EdgesFollowThePointer) {
  const DragCase& c = GetParam();
  const PixelRect r = draggedRect(kFrame, c.hit, c.dx, c.dy);
  EXPECT_EQ(r.left, c.expected.left);
  EXPECT_EQ(r.right, c.expected.right);
  EXPECT_EQ(r.top, c.expected.top);
  EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Drags, TrackerDragTest, ::testing::ValuesIn(kDragCases),
                         [](const auto& info) { return std::string(info.param.name); });

// kFrame turned inside out both ways (keys can leave it so): the handles sit
// where it is shown, and each drags the raw edge that is shown there.
const PixelRect kInverted = {140, 100, 70, 50};

const DragCase kInvertedDragCases[] = {
    {"left_handle_moves_the_shown_left_edge", TrackerHit::Left, -10, 0, {140, 90, 70, 50}},
    {"right_handle_moves_the_shown_right_edge", TrackerHit::Right, 5, 0, {145, 100, 70, 50}},
    {"top_left", TrackerHit::TopLeft, -10, -10, {140, 90, 70, 40}},
    {"bottom_right", TrackerHit::BottomRight, 3, 4, {143, 100, 74, 50}},
    {"top_right", TrackerHit::TopRight, 3, 4, {143, 100, 70, 54}},
    {"bottom_left", TrackerHit::BottomLeft, 3, 4, {140, 103, 74, 50}},
    {"top_edge", TrackerHit::Top, 9, 4, {140, 100, 70, 54}},
    {"left_past_the_right_edge_turns_it_back", TrackerHit::Left, 60, 0, {140, 160, 70, 50}},
    {"move", TrackerHit::Inside, 5, -7, {145, 105, 63, 43}},
};

class TrackerInvertedDragTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(TrackerInvertedDragTest, HandlesDragTheEdgesTheyAreShownOn) {
  const DragCase& c = GetParam();
  const PixelRect r = draggedRect(kInverted, c.hit, c.dx, c.dy);
  EXPECT_EQ(r.left, c.expected.left);
  EXPECT_EQ(r.right, c.expected.right);
  EXPECT_EQ(r.top, c.expected.top);
  EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Drags, TrackerInvertedDragTest, ::testing::ValuesIn(kInvertedDragCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvina
