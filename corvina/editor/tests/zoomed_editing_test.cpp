// Editing in a zoomed or panned view: every band, drag and key does what it
// does in an original view of the 0..1 square's size; the wheel, the middle
// button and Space with a drag zoom and pan without touching the selection;
// Frame Selection and the map's proportions; handles on a dense screen.

#include <gtest/gtest.h>

#include <random>

#include "editor/selection_editor.h"
#include "editor/tests/three_triangles.h"

namespace corvina {
namespace {

using testing::selectedCorners;

constexpr ViewSize kView = {240, 180};

// One editor zoomed to `notches` about (x, y) and panned by (panX, panY)
// with the middle button.
struct Zoomed {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor{store, selection};

  Zoomed(double notches, int x, int y, int panX, int panY) {
    editor.viewResized(kView);
    editor.wheel(kView, x, y, notches);
    editor.mousePress(kView, ViewButton::Middle, 100, 100);
    editor.mouseMove(kView, 100 + panX, 100 + panY);
    editor.mouseRelease(kView, ViewButton::Middle, 100 + panX, 100 + panY);
  }
};

void expectSameSelection(const Zoomed& zoomed, const ModelStore& store,
                         const SelectionState& selection, const char* what) {
  EXPECT_EQ(selectedCorners(zoomed.store), selectedCorners(store)) << what;
  EXPECT_EQ(testing::hiddenCorners(zoomed.store), testing::hiddenCorners(store)) << what;
  EXPECT_EQ(zoomed.selection.selectionActive, selection.selectionActive) << what;
  const FrameRect* a[] = {&zoomed.selection.source, &zoomed.selection.target};
  const FrameRect* b[] = {&selection.source, &selection.target};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(a[i]->left, b[i]->left) << what;
    EXPECT_EQ(a[i]->right, b[i]->right) << what;
    EXPECT_EQ(a[i]->top, b[i]->top) << what;
    EXPECT_EQ(a[i]->bottom, b[i]->bottom) << what;
  }
  const PixelRect& p = zoomed.selection.framePixels;
  const PixelRect& q = selection.framePixels;
  EXPECT_TRUE(p.left == q.left && p.right == q.right && p.top == q.top && p.bottom == q.bottom)
      << what;
  for (std::size_t i = 0; i < store.texVertices.size(); ++i) {
    EXPECT_EQ(zoomed.store.texVertices[i].u, store.texVertices[i].u) << what;
    EXPECT_EQ(zoomed.store.texVertices[i].v, store.texVertices[i].v) << what;
  }
}

// Random bands, frame drags, clicks and keys, played on a zoomed view at
// device pixels and on an original view of the square's size at the same
// places in the square: the two end with the same selection, frame and
// coordinates after every event.
TEST(ZoomedEditing, EveryEventActsAsInAnOriginalViewOfTheSquaresSize) {
  struct Case {
    double notches;
    int x, y, panX, panY;
  };
  const Case cases[] = {{3, 60, 50, 0, 0},
                        {5, 200, 150, -30, 17},
                        {-2, 120, 90, 25, -40},
                        {1, 0, 0, 3, 3},
                        {0, 0, 0, -11, 6}};
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> event(0, 9), coordinate(0, 1000);
  const ViewKeyPress keys[] = {
      {ViewKey::Right, false, false, 0},   {ViewKey::Up, false, true, 0},
      {ViewKey::Other, true, false, '*'},  {ViewKey::Other, false, false, 'x'},
      {ViewKey::Other, false, false, 'U'}, {ViewKey::Other, false, false, '.'},
      {ViewKey::Other, false, false, '['}, {ViewKey::Other, false, false, ']'},
      {ViewKey::Clear, false, false, 0},   {ViewKey::Enter, false, false, 0}};
  int withSelection = 0;
  for (const Case& c : cases) {
    Zoomed zoomed(c.notches, c.x, c.y, c.panX, c.panY);
    const SquarePlacement square = zoomed.editor.square(kView);
    ASSERT_FALSE(fillsView(square, kView));
    ModelStore store = testing::threeTriangles();
    SelectionState selection;
    SelectionEditor original(store, selection);
    const ViewSize view = square.size;
    original.viewResized(view);
    // A point in the square's pixels (a little beyond it too).
    auto point = [&](int& x, int& y) {
      x = coordinate(random) * (view.width + 20) / 1000 - 10;
      y = coordinate(random) * (view.height + 20) / 1000 - 10;
    };
    for (int step = 0; step < 60; ++step) {
      const int kind = event(random);
      int x0, y0, x1, y1;
      point(x0, y0);
      point(x1, y1);
      if (kind < 3 && selection.selectionActive) {
        // From inside the frame: a frame drag.
        const PixelRect f = selection.framePixels;
        x0 = (f.left + f.right) / 2;
        y0 = (f.top + f.bottom) / 2;
      }
      if (kind < 7) {
        zoomed.editor.mousePress(kView, ViewButton::Left, x0 + square.left, y0 + square.top);
        zoomed.editor.mouseMove(kView, x1 + square.left, y1 + square.top);
        zoomed.editor.mouseRelease(kView, ViewButton::Left, x1 + square.left, y1 + square.top);
        original.mousePress(view, ViewButton::Left, x0, y0);
        original.mouseMove(view, x1, y1);
        original.mouseRelease(view, ViewButton::Left, x1, y1);
      } else {
        const ViewKeyPress& key = keys[static_cast<std::size_t>(coordinate(random)) % 10];
        zoomed.editor.keyPress(kView, key);
        original.keyPress(view, key);
      }
      expectSameSelection(zoomed, store, selection, "after an event");
      if (::testing::Test::HasFailure()) return;
      withSelection += selection.selectionActive ? 1 : 0;
    }
    // What the view is told to draw lies where the original draws it,
    // moved with the square.
    if (selection.selectionActive) {
      const PixelRect shown = *zoomed.editor.frameRect();
      const PixelRect there = *original.frameRect();
      EXPECT_EQ(shown.left, there.left + square.left);
      EXPECT_EQ(shown.bottom, there.bottom + square.top);
    }
  }
  // Of the 300 events, a good share act on a picked selection.
  EXPECT_GT(withSelection, 50);
}

TEST(ZoomedEditing, KeysStepOneScreenPixelOrAThirtySecondOfTheSquare) {
  Zoomed zoomed(6, 120, 90, 0, 0);
  const SquarePlacement square = zoomed.editor.square(kView);
  ASSERT_GT(square.size.width, 2 * kView.width);
  SelectionState& selection = zoomed.selection;
  selection.selectionActive = true;
  selection.source = selection.target = {0.45f, 0.55f, 0.45f, 0.55f};
  zoomed.editor.keyPress(kView, {ViewKey::Right, false, false, 0});
  EXPECT_FLOAT_EQ(selection.target.left, 0.45f + 1.0f / square.size.width);
  zoomed.editor.keyPress(kView, {ViewKey::Down, false, true, 0});
  EXPECT_FLOAT_EQ(selection.target.top, 0.45f + 0.03125f);
  // The frame on screen follows the square.
  const PixelRect shown = *zoomed.editor.frameRect();
  EXPECT_EQ(shown.left, square.left + static_cast<int>(square.size.width * selection.target.left));
}

TEST(ZoomedEditing, PanningMovesTheViewAndLeavesTheSelection) {
  Zoomed zoomed(4, 120, 90, 0, 0);
  SelectionEditor& editor = zoomed.editor;
  // A selection of B, made in the zoomed view.
  const SquarePlacement square = editor.square(kView);
  auto at = [&](float x, float y) {
    return std::pair(square.left + static_cast<int>((square.size.width - 1) * x),
                     square.top + static_cast<int>((square.size.height - 1) * y));
  };
  const auto [bx0, by0] = at(0.45f, 0.45f);
  const auto [bx1, by1] = at(0.55f, 0.55f);
  editor.mousePress(kView, ViewButton::Left, bx0, by0);
  editor.mouseRelease(kView, ViewButton::Left, bx1, by1);
  ASSERT_EQ(selectedCorners(zoomed.store), testing::facets(false, true, false));
  const SelectionState before = zoomed.selection;
  const PixelRect shownBefore = *editor.frameRect();

  // The middle button drags the view; a move during it redraws it all.
  EXPECT_EQ(editor.mousePress(kView, ViewButton::Middle, 50, 50).cursor, ViewCursor::ClosedHand);
  const EditorResponse moved = editor.mouseMove(kView, 70, 35);
  EXPECT_EQ(moved.redraw, ViewRedraw::Full);
  EXPECT_FALSE(moved.frameOnly);
  editor.mouseRelease(kView, ViewButton::Middle, 70, 35);
  EXPECT_EQ(editor.square(kView).left, square.left + 20);
  EXPECT_EQ(editor.square(kView).top, square.top - 15);
  EXPECT_EQ(editor.frameRect()->left, shownBefore.left + 20);
  EXPECT_EQ(zoomed.selection.framePixels.left, before.framePixels.left);

  // Space held: a left drag pans too, and selects nothing.
  EXPECT_EQ(editor.keyPress(kView, {ViewKey::Space}).cursor, ViewCursor::OpenHand);
  editor.mousePress(kView, ViewButton::Left, 10, 10);
  editor.mouseMove(kView, 5, 12);
  editor.mouseRelease(kView, ViewButton::Left, 5, 12);
  EXPECT_EQ(editor.square(kView).left, square.left + 15);
  EXPECT_EQ(selectedCorners(zoomed.store), testing::facets(false, true, false));
  EXPECT_TRUE(zoomed.selection.selectionActive);
  // Released, a left drag is a band again (and commits the pending move).
  EXPECT_TRUE(editor.keyRelease(kView, {ViewKey::Space}).handled);
  EXPECT_FALSE(editor.keyRelease(kView, {ViewKey::Space}).handled) << "not held any more";
  editor.mousePress(kView, ViewButton::Left, 2, 2);
  editor.mouseRelease(kView, ViewButton::Left, 4, 4);
  EXPECT_FALSE(zoomed.selection.selectionActive);

  // A right press ends a pan where it began.
  const SquarePlacement beforePan = editor.square(kView);
  editor.mousePress(kView, ViewButton::Middle, 50, 50);
  editor.mouseMove(kView, 90, 90);
  editor.mousePress(kView, ViewButton::Right, 90, 90);
  EXPECT_FALSE(editor.dragging());
  EXPECT_EQ(editor.square(kView), beforePan);
}

TEST(ZoomedEditing, TheWheelWaitsForDragsAndAModel) {
  Zoomed zoomed(0, 0, 0, 0, 0);
  SelectionEditor& editor = zoomed.editor;
  editor.mousePress(kView, ViewButton::Left, 10, 10);
  EXPECT_FALSE(editor.wheel(kView, 10, 10, 2).handled);
  editor.mouseRelease(kView, ViewButton::Left, 12, 12);
  const EditorResponse zoom = editor.wheel(kView, 10, 10, 2);
  EXPECT_EQ(zoom.redraw, ViewRedraw::Full);
  EXPECT_EQ(editor.square(kView).size.width, 375);  // 240 x 1.25^2

  ModelStore empty;
  SelectionState selection;
  SelectionEditor idle(empty, selection);
  EXPECT_FALSE(idle.wheel(kView, 10, 10, 2).handled);
  EXPECT_TRUE(fillsView(idle.square(kView), kView));
}

TEST(ZoomedEditing, HomeFrameAndProportions) {
  Zoomed zoomed(0, 0, 0, 0, 0);
  SelectionEditor& editor = zoomed.editor;
  zoomed.store.mapWidth = 1024;
  zoomed.store.mapHeight = 512;
  // Frame Selection without a selection: every visible corner, A to C,
  // from (0.1, 0.1) to (0.9, 0.9) in view coordinates.
  EXPECT_EQ(editor.frameSelection(kView).redraw, ViewRedraw::Full);
  SquarePlacement square = editor.square(kView);
  EXPECT_NEAR(square.left + 0.5 * (square.size.width - 1), 119.5, 1.0);
  EXPECT_NEAR(square.top + 0.5 * (square.size.height - 1), 89.5, 1.0);
  // The box spans nine tenths of the view's width (0.9 x 240 = 216 pixels).
  EXPECT_NEAR((square.size.width - 1) * 0.8, 216, 3.0);

  // With a selection of C: its frame fills the view's middle.
  zoomed.selection.selectionActive = true;
  zoomed.selection.source = zoomed.selection.target = {0.8f, 0.9f, 0.8f, 0.9f};
  editor.frameSelection(kView);
  const PixelRect frame = *editor.frameRect();
  EXPECT_NEAR((frame.left + frame.right) / 2.0, 119.5, 2.0);
  EXPECT_NEAR((frame.top + frame.bottom) / 2.0, 89.5, 2.0);
  EXPECT_NEAR(frame.bottom - frame.top, 162, 3);

  // Keeping the proportions shows the 2 : 1 map whole, and the frame
  // follows the square's new size.
  editor.setKeepProportions(kView, true);
  EXPECT_TRUE(editor.keepsProportions());
  square = editor.square(kView);
  EXPECT_EQ(square, (SquarePlacement{0, 30, {240, 120}}));
  EXPECT_EQ(editor.frameRect()->left, static_cast<int>(240 * 0.8f));
  EXPECT_EQ(editor.frameRect()->top, 30 + static_cast<int>(120 * 0.8f));
  // A new map size moves the home square, and the frame with it.
  zoomed.store.mapHeight = 1024;
  square = editor.square(kView);
  EXPECT_EQ(square, (SquarePlacement{30, 0, {180, 180}}));
  editor.mouseMove(kView, 0, 0);
  EXPECT_EQ(editor.frameRect()->left, 30 + static_cast<int>(180 * 0.8f));

  editor.wheel(kView, 50, 50, 3);
  editor.showHome(kView);
  EXPECT_EQ(editor.square(kView), (SquarePlacement{30, 0, {180, 180}}));
  editor.setKeepProportions(kView, false);
  EXPECT_TRUE(fillsView(editor.square(kView), kView));
}

TEST(ZoomedEditing, FrameSelectionShowsTheSelectedFacetsWhole) {
  Zoomed zoomed(0, 0, 0, 0, 0);
  SelectionEditor& editor = zoomed.editor;
  // A band around C's first corner (0.8, 0.8) picks all of C, which reaches
  // to (0.9, 0.9) beyond the band.
  editor.mousePress(kView, ViewButton::Left, 189, 141);
  editor.mouseRelease(kView, ViewButton::Left, 193, 145);
  ASSERT_EQ(selectedCorners(zoomed.store), testing::facets(false, false, true));
  editor.frameSelection(kView);
  const SquarePlacement square = editor.square(kView);
  auto pixelX = [&](double x) { return square.left + (square.size.width - 1) * x; };
  auto pixelY = [&](double y) { return square.top + (square.size.height - 1) * y; };
  // C from its first corner to the far one fills the view's middle.
  EXPECT_GE(pixelX(0.79), 0);
  EXPECT_LE(pixelX(0.9), kView.width - 1);
  EXPECT_GE(pixelY(0.79), 0);
  EXPECT_LE(pixelY(0.9), kView.height - 1);
  EXPECT_GT(pixelY(0.9) - pixelY(0.79), 0.8 * kView.height);
}

TEST(ZoomedEditing, HandlesAreFourLogicalPixels) {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor(store, selection);
  selection.selectionActive = true;
  selection.source = selection.target = {0.2f, 0.6f, 0.2f, 0.6f};
  selection.framePixels = {20, 60, 20, 60};
  struct Case {
    double ratio;
    int size;
  };
  for (const Case& c : {Case{1.0, 4}, Case{2.0, 8}, Case{1.5, 6}, Case{0.1, 1}}) {
    editor.setPixelRatio(c.ratio);
    EXPECT_EQ(editor.handleSize(), c.size);
    for (const TrackerHandle& handle : editor.frameHandles()) {
      EXPECT_EQ(handle.rect.right - handle.rect.left, c.size);
      EXPECT_EQ(handle.rect.bottom - handle.rect.top, c.size);
    }
    // The last pixel of the top-left handle stretches; the next one moves.
    EXPECT_EQ(editor.mouseMove({101, 101}, 20 + c.size - 1, 20 + c.size - 1).cursor,
              ViewCursor::SizeNwSe);
    EXPECT_EQ(editor.mouseMove({101, 101}, 20 + c.size, 20 + c.size).cursor, ViewCursor::Move);
  }
}

}  // namespace
}  // namespace corvina
