// A response that says "frame only" lets the view keep the layer of lines that
// do not move, so it must never come with a change of the model.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "editor/selection_editor.h"
#include "editor/tests/three_triangles.h"

namespace corvina {
namespace {

// Everything of the model a frame-only response must leave alone.
std::string modelBytes(const ModelStore& store) {
  std::string bytes(reinterpret_cast<const char*>(store.facetStream.data()),
                    store.facetStream.size() * sizeof(CornerRecord));
  bytes.append(reinterpret_cast<const char*>(store.texVertices.data()),
               store.texVertices.size() * sizeof(TexVertex));
  return bytes;
}

constexpr ViewSize kView{101, 101};

// A selection of triangle B by a rubber band, in either select method.
void selectMiddleTriangle(SelectionEditor& editor) {
  editor.mousePress(kView, ViewButton::Left, 45, 35);
  editor.mouseMove(kView, 65, 55);
  editor.mouseRelease(kView, ViewButton::Left, 65, 55);
}

TEST(FrameOnlyResponse, EveryKeyThatSaysFrameOnlyLeavesTheModelAlone) {
  const char* names[] = {"enter", "esc", "home", "end",   "pageup", "pagedown", "left",
                         "right", "up",  "down", "clear", "insert", "kp+",      "kp-",
                         "kp*",   "kp/", "u",    "v",     "x",      "y",        "t",
                         "=",     ".",   "[",    "]",     "\\",     "'"};
  int frameOnlyKeys = 0, otherKeys = 0;
  for (const SelectMethod method : {SelectMethod::ByFacet, SelectMethod::ByVertex}) {
    for (const char* name : names) {
      for (const bool shift : {false, true}) {
        ModelStore store = testing::threeTriangles();
        SelectionState selection;
        selection.selectMethod = method;
        SelectionEditor editor(store, selection);
        selectMiddleTriangle(editor);
        ASSERT_TRUE(selection.selectionActive);
        const std::string before = modelBytes(store);
        const EditorResponse r = editor.keyPress(kView, *keyPressFromName(name, shift, {}));
        if (r.frameOnly) {
          ++frameOnlyKeys;
          EXPECT_EQ(r.redraw, ViewRedraw::Full) << name;
          EXPECT_EQ(modelBytes(store), before) << name << (shift ? " with shift" : "");
        } else if (r.redraw == ViewRedraw::Full) {
          ++otherKeys;
        }
      }
    }
  }
  // The steps, sizes and moves are frame-only; commit, drop, hide and the
  // like are not.
  EXPECT_GE(frameOnlyKeys, 30);
  EXPECT_GE(otherKeys, 6);
}

TEST(FrameOnlyResponse, AFrameDragAndTheMirrorsAreFrameOnlyAndAChangedSelectionIsNot) {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor(store, selection);
  editor.mousePress(kView, ViewButton::Left, 45, 35);
  EXPECT_FALSE(editor.mouseMove(kView, 65, 55).frameOnly);  // a band
  const EditorResponse picked = editor.mouseRelease(kView, ViewButton::Left, 65, 55);
  EXPECT_EQ(picked.redraw, ViewRedraw::Full);
  EXPECT_FALSE(picked.frameOnly);

  const std::string before = modelBytes(store);
  const PixelRect frame = *editor.frameRect();
  const int x = (frame.left + frame.right) / 2, y = (frame.top + frame.bottom) / 2;
  editor.mousePress(kView, ViewButton::Left, x, y);
  for (int i = 1; i <= 5; ++i) {
    const EditorResponse moved = editor.mouseMove(kView, x + 3 * i, y + 2 * i);
    EXPECT_TRUE(moved.frameOnly);
    EXPECT_EQ(moved.redraw, ViewRedraw::Full);
  }
  EXPECT_TRUE(editor.mouseRelease(kView, ViewButton::Left, x + 15, y + 10).frameOnly);
  EXPECT_TRUE(editor.invertHorizontally().frameOnly);
  EXPECT_TRUE(editor.invertVertically().frameOnly);
  EXPECT_EQ(modelBytes(store), before);

  // A right click commits: the corners move, so the layer must go.
  const EditorResponse committed = editor.mousePress(kView, ViewButton::Right, 5, 5);
  EXPECT_FALSE(committed.frameOnly);
  EXPECT_NE(modelBytes(store), before);
}

// What a response that says "the selection shrank" may have done: let go of
// selected corners, hide some of them, move their own coordinates; nothing
// else.
void expectOnlyShrank(const ModelStore& before, const ModelStore& after, const std::string& what) {
  ASSERT_EQ(before.facetStream.size(), after.facetStream.size()) << what;
  std::vector<bool> movable(before.texVertices.size(), false);
  for (std::size_t j = 0; j < before.facetStream.size(); ++j) {
    const CornerRecord& was = before.facetStream[j];
    const CornerRecord& is = after.facetStream[j];
    const bool wasSelected = (was.group & kSelectedBit) != 0;
    EXPECT_TRUE(wasSelected || (is.group & kSelectedBit) == 0) << what << ": corner " << j;
    EXPECT_EQ(was.group & kSetIndexMask, is.group & kSetIndexMask) << what;
    EXPECT_EQ(was.vertex, is.vertex) << what;
    EXPECT_EQ(was.texVertex, is.texVertex) << what;
    if (!wasSelected) {
      EXPECT_EQ(was.flags, is.flags) << what << ": corner " << j;
    }
    EXPECT_FALSE((was.flags & kHiddenBit) != 0 && (is.flags & kHiddenBit) == 0) << what;
    if (wasSelected && was.vertex > 0 && was.texVertex >= 1 &&
        static_cast<std::size_t>(was.texVertex) <= movable.size())
      movable[static_cast<std::size_t>(was.texVertex) - 1] = true;
  }
  for (std::size_t t = 0; t < movable.size(); ++t)
    if (!movable[t]) {
      EXPECT_EQ(before.texVertices[t].u, after.texVertices[t].u) << what << ": vertex " << t;
      EXPECT_EQ(before.texVertices[t].v, after.texVertices[t].v) << what << ": vertex " << t;
    }
}

// The three triangles in an editor, triangle B selected with a moved frame
// pending, or nothing selected.
struct EditedTriangles {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor{store, selection};
  EditedTriangles(SelectMethod method, bool selected) {
    selection.selectMethod = method;
    if (!selected) return;
    selectMiddleTriangle(editor);
    editor.keyPress(kView, *keyPressFromName("right", false, {}));
  }
};

TEST(FrameOnlyResponse, WhatSaysTheSelectionShrankOnlyLetsGoOrHidesSelectedCorners) {
  const char* names[] = {"enter", "esc", "home", "left", "t", "[", "]", "\\", "'", "x", "."};
  int shrinking = 0;
  for (const SelectMethod method : {SelectMethod::ByFacet, SelectMethod::ByVertex}) {
    for (const bool selected : {true, false}) {
      for (const char* name : names) {
        EditedTriangles t(method, selected);
        const ModelStore before = t.store;
        const EditorResponse r = t.editor.keyPress(kView, *keyPressFromName(name, false, {}));
        if (!r.selectionShrank) continue;
        ++shrinking;
        EXPECT_EQ(r.redraw, ViewRedraw::Full) << name;
        expectOnlyShrank(before, t.store, name);
      }
      // Presses that commit the frame: a right click, and a left one beside it.
      for (const ViewButton button : {ViewButton::Right, ViewButton::Left}) {
        EditedTriangles t(method, selected);
        const ModelStore before = t.store;
        EXPECT_TRUE(t.editor.mousePress(kView, button, 2, 98).selectionShrank);
        expectOnlyShrank(before, t.store, "a press");
      }
    }
  }
  // Esc and the hide key with a selection.
  EXPECT_GE(shrinking, 4);
}

}  // namespace
}  // namespace corvina
