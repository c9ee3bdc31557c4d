// Picking with the rubber band, dragging the frame, the keys through the
// editor, and what the view is told to redraw and show.

#include "editor/selection_editor.h"

#include <gtest/gtest.h>

#include <random>

#include "editor/hot_keys_text.h"
#include "editor/selection_picking.h"
#include "editor/tests/three_triangles.h"
#include "model/parallel_parts.h"

namespace corvina {
namespace {

using testing::facets;
using testing::selectedCorners;

constexpr ViewSize kView = {101, 101};  // pixel p is at p / 100

struct EditorFixture : ::testing::Test {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor{store, selection};

  EditorResponse band(int x0, int y0, int x1, int y1) {
    editor.mousePress(kView, ViewButton::Left, x0, y0);
    editor.mouseMove(kView, (x0 + x1) / 2, (y0 + y1) / 2);
    return editor.mouseRelease(kView, ViewButton::Left, x1, y1);
  }
  EditorResponse drag(int x0, int y0, int x1, int y1) {
    editor.mousePress(kView, ViewButton::Left, x0, y0);
    editor.mouseMove(kView, x1, y1);
    return editor.mouseRelease(kView, ViewButton::Left, x1, y1);
  }
  std::vector<int> marks() const {
    std::vector<int> m;
    for (const Vertex& v : store.vertices) m.push_back(v.mark);
    return m;
  }
};

struct BandCase {
  const char* name;
  SelectMethod method;
  int x0, y0, x1, y1;
  std::vector<bool> selected;
  std::vector<int> marks;
  bool active;
};

const BandCase kBandCases[] = {
    {"facet_touched_by_one_corner",
     SelectMethod::ByFacet,
     45,
     45,
     55,
     55,
     facets(false, true, false),
     {0, 0, 0, 0, 0, 0, 0, 0, 0},
     true},
    {"band_dragged_backwards",
     SelectMethod::ByFacet,
     55,
     55,
     45,
     45,
     facets(false, true, false),
     {0, 0, 0, 0, 0, 0, 0, 0, 0},
     true},
    {"two_facets",
     SelectMethod::ByFacet,
     0,
     0,
     55,
     55,
     facets(true, true, false),
     {0, 0, 0, 0, 0, 0, 0, 0, 0},
     true},
    {"vertex_only_the_corner_inside",
     SelectMethod::ByVertex,
     45,
     45,
     55,
     55,
     {false, false, false, true, false, false, false, false, false},
     {0, 0, 0, 1, 0, 0, 0, 0, 0},
     true},
    // Corners lying exactly on the band's edges count as inside.
    {"vertex_corners_on_the_edges",
     SelectMethod::ByVertex,
     50,
     30,
     60,
     50,
     {false, false, false, true, true, false, false, false, false},
     {0, 0, 0, 1, 1, 0, 0, 0, 0},
     true},
    {"nothing_inside",
     SelectMethod::ByFacet,
     0,
     90,
     10,
     100,
     facets(false, false, false),
     {0, 0, 0, 0, 0, 0, 0, 0, 0},
     false},
};

class BandTest : public EditorFixture, public ::testing::WithParamInterface<BandCase> {};

TEST_P(BandTest, BandPicksCorners) {
  const BandCase& c = GetParam();
  selection.selectMethod = c.method;
  const EditorResponse r = band(c.x0, c.y0, c.x1, c.y1);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.redraw, c.active ? ViewRedraw::Full : ViewRedraw::Overlay);
  EXPECT_EQ(selectedCorners(store), c.selected);
  EXPECT_EQ(marks(), c.marks);
  EXPECT_EQ(selection.selectionActive, c.active);
  if (!c.active) return;
  ASSERT_TRUE(editor.frameRect().has_value());
  EXPECT_EQ(editor.frameRect()->left, std::min(c.x0, c.x1));
  EXPECT_EQ(editor.frameRect()->bottom, std::max(c.y0, c.y1));
  EXPECT_FLOAT_EQ(selection.source.left, std::min(c.x0, c.x1) / 100.0f);
  EXPECT_FLOAT_EQ(selection.target.bottom, std::max(c.y0, c.y1) / 100.0f);
  EXPECT_FALSE(editor.frameHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest, ::testing::ValuesIn(kBandCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorFixture, RubberBandIsShownWhileDragged) {
  EXPECT_FALSE(editor.rubberBand().has_value());
  editor.mousePress(kView, ViewButton::Left, 30, 40);
  const EditorResponse r = editor.mouseMove(kView, 10, 60);
  EXPECT_EQ(r.redraw, ViewRedraw::Overlay);
  ASSERT_TRUE(editor.rubberBand().has_value());
  EXPECT_EQ(editor.rubberBand()->left, 10);
  EXPECT_EQ(editor.rubberBand()->right, 30);
  EXPECT_EQ(editor.rubberBand()->top, 40);
  EXPECT_EQ(editor.rubberBand()->bottom, 60);
  editor.mouseRelease(kView, ViewButton::Left, 10, 60);
  EXPECT_FALSE(editor.rubberBand().has_value());
}

TEST_F(EditorFixture, HiddenCornersAreNotPicked) {
  for (int j : {5, 6, 7}) store.facetStream[static_cast<std::size_t>(j)].flags |= kHiddenBit;
  band(40, 40, 70, 70);
  EXPECT_EQ(selectedCorners(store), facets(false, false, false));
  EXPECT_FALSE(selection.selectionActive);
}

TEST_F(EditorFixture, NoModelNoBand) {
  store.modelLoaded = 0;
  EXPECT_FALSE(editor.mousePress(kView, ViewButton::Left, 0, 0).handled);
  EXPECT_FALSE(editor.dragging());
}

TEST_F(EditorFixture, ClickOutsideTheFrameCommitsAndLeavesNoSelection) {
  band(40, 40, 70, 70);  // B, frame 0.4..0.7
  ASSERT_TRUE(selection.selectionActive);
  editor.keyPress(kView, {ViewKey::Home, false, false, 0});  // T to the top-left corner
  const EditorResponse press = editor.mousePress(kView, ViewButton::Left, 90, 10);
  EXPECT_EQ(press.redraw, ViewRedraw::Full);
  editor.mouseRelease(kView, ViewButton::Left, 90, 10);
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_EQ(selectedCorners(store), facets(false, false, false));
  // B moved with the frame by 0.4 left and up: (0.5, 0.5) became (0.1, 0.9).
  const auto uvs = testing::cornerUvs(store);
  EXPECT_NEAR(uvs[3].first, 0.1f, 1e-6);
  EXPECT_NEAR(uvs[3].second, 0.9f, 1e-6);
  EXPECT_NEAR(uvs[0].first, 0.1f, 1e-6);  // A stays
}

TEST_F(EditorFixture, RightClickCommits) {
  band(40, 40, 70, 70);
  editor.keyPress(kView, {ViewKey::Other, false, false, '='});
  const EditorResponse r = editor.mousePress(kView, ViewButton::Right, 55, 55);
  EXPECT_EQ(r.redraw, ViewRedraw::Full);
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_NE(testing::cornerUvs(store)[3], testing::cornerUvs(testing::threeTriangles())[3]);
}

struct CursorCase {
  int x, y;
  ViewCursor cursor;
};

TEST_F(EditorFixture, CursorOverTheFrame) {
  // Frame x 40..70, y 40..70: corner handles at 40..43 and 66..69, edge
  // midpoints at 53..56.
  const CursorCase cases[] = {
      {41, 41, ViewCursor::SizeNwSe}, {68, 68, ViewCursor::SizeNwSe},
      {68, 41, ViewCursor::SizeNeSw}, {41, 68, ViewCursor::SizeNeSw},
      {54, 41, ViewCursor::SizeNs},   {54, 68, ViewCursor::SizeNs},
      {41, 54, ViewCursor::SizeWe},   {68, 54, ViewCursor::SizeWe},
      {50, 60, ViewCursor::Move},     {20, 20, ViewCursor::Arrow},
      {70, 54, ViewCursor::Arrow},
  };
  for (const CursorCase& c : cases) {
    EXPECT_EQ(editor.mouseMove(kView, c.x, c.y).cursor, ViewCursor::Arrow);  // no selection yet
  }
  band(40, 40, 70, 70);
  for (const CursorCase& c : cases) {
    EXPECT_EQ(editor.mouseMove(kView, c.x, c.y).cursor, c.cursor) << c.x << "," << c.y;
  }
}

TEST_F(EditorFixture, DraggingTheInsideMovesTheTargetOnly) {
  band(40, 40, 70, 70);
  const EditorResponse r = drag(50, 60, 60, 50);
  EXPECT_EQ(r.redraw, ViewRedraw::Full);
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_FLOAT_EQ(selection.target.left, 0.5f);
  EXPECT_FLOAT_EQ(selection.target.right, 0.8f);
  EXPECT_FLOAT_EQ(selection.target.top, 0.3f);
  EXPECT_FLOAT_EQ(selection.source.left, 0.4f);
  EXPECT_EQ(editor.frameRect()->left, 50);
  EXPECT_EQ(editor.frameRect()->top, 30);
  EXPECT_EQ(testing::cornerUvs(store), testing::cornerUvs(testing::threeTriangles()));
}

TEST_F(EditorFixture, FrameFollowsThePointerDuringTheDrag) {
  band(40, 40, 70, 70);
  editor.mousePress(kView, ViewButton::Left, 50, 60);
  EXPECT_TRUE(editor.dragging());
  EXPECT_EQ(editor.mouseMove(kView, 55, 60).redraw, ViewRedraw::Full);
  EXPECT_FLOAT_EQ(selection.target.left, 0.45f);
  EXPECT_EQ(editor.mouseMove(kView, 55, 60).cursor, ViewCursor::Move);
  // Back where it began: nothing changed.
  editor.mouseMove(kView, 50, 60);
  EXPECT_EQ(editor.mouseRelease(kView, ViewButton::Left, 50, 60).redraw, ViewRedraw::None);
  EXPECT_FLOAT_EQ(selection.target.left, 0.4f);
}

TEST_F(EditorFixture, RightHandlePastTheLeftEdgeMirrorsTheSelection) {
  band(40, 40, 70, 70);
  drag(68, 54, 20, 54);  // right edge 70 -> 22, left of 40
  EXPECT_FLOAT_EQ(selection.target.left, 0.22f);
  EXPECT_FLOAT_EQ(selection.target.right, 0.4f);
  EXPECT_FLOAT_EQ(selection.source.left, 0.7f);
  EXPECT_FLOAT_EQ(selection.source.right, 0.4f);
  EXPECT_EQ(editor.frameRect()->left, 22);
  EXPECT_EQ(editor.frameRect()->right, 40);
  editor.keyPress(kView, {ViewKey::Enter, false, false, '\r'});
  const auto uvs = testing::cornerUvs(store);
  // B's corners at u 0.5 and 0.6 change places in mirror image; v stays.
  EXPECT_GT(uvs[3].first, uvs[4].first);
  EXPECT_NEAR(uvs[3].first, 0.22f + 0.18f * (0.2f / 0.3f), 1e-5);
  EXPECT_NEAR(uvs[4].first, 0.22f + 0.18f * (0.1f / 0.3f), 1e-5);
  EXPECT_NEAR(uvs[5].second, 0.4f, 1e-6);
}

TEST_F(EditorFixture, BottomHandlePastTheTopMirrorsVertically) {
  band(40, 40, 70, 70);
  drag(54, 68, 54, 10);  // bottom edge 70 -> 12
  EXPECT_FLOAT_EQ(selection.source.top, 0.7f);
  EXPECT_FLOAT_EQ(selection.source.bottom, 0.4f);
  EXPECT_FLOAT_EQ(selection.target.top, 0.12f);
  EXPECT_FLOAT_EQ(selection.target.bottom, 0.4f);
}

// Keypad - with Shift five times turns the frame of 0.05..0.35 inside out
// (0.20625..0.19375), keypad * five times then doubles it to 0.4..0.0 both
// ways: pixels 40..0, shown as 0..40. The handles sit where it is shown and
// drag the edges they sit on.
TEST_F(EditorFixture, HandlesOfAnInsideOutFrameDragTheEdgesTheySitOn) {
  struct Case {
    const char* name;
    int x0, y0, x1, y1;
    PixelRect shown;  // the frame's rectangle afterwards, made normal
  };
  const Case cases[] = {
      {"left handle", 1, 19, 11, 19, {10, 40, 0, 40}},
      {"right handle", 38, 19, 48, 19, {0, 50, 0, 40}},
      {"top handle", 19, 1, 19, 6, {0, 40, 5, 40}},
      {"bottom right handle", 38, 38, 43, 33, {0, 45, 0, 35}},
  };
  for (const Case& c : cases) {
    store = testing::threeTriangles();
    selection = SelectionState{};
    band(5, 5, 35, 35);  // picks A
    ASSERT_TRUE(selection.selectionActive) << c.name;
    for (int i = 0; i < 5; ++i) editor.keyPress(kView, {ViewKey::Other, true, true, '-'});
    for (int i = 0; i < 5; ++i) editor.keyPress(kView, {ViewKey::Other, true, false, '*'});
    ASSERT_GT(selection.target.left, selection.target.right) << c.name;
    ASSERT_GT(selection.target.top, selection.target.bottom) << c.name;
    drag(c.x0, c.y0, c.x1, c.y1);
    const PixelRect frame = *editor.frameRect();
    EXPECT_EQ(frame.left, c.shown.left) << c.name;
    EXPECT_EQ(frame.right, c.shown.right) << c.name;
    EXPECT_EQ(frame.top, c.shown.top) << c.name;
    EXPECT_EQ(frame.bottom, c.shown.bottom) << c.name;
    EXPECT_FLOAT_EQ(selection.target.left, static_cast<float>(c.shown.left) / 100) << c.name;
    EXPECT_FLOAT_EQ(selection.target.right, static_cast<float>(c.shown.right) / 100) << c.name;
    // The selection stays mirrored both ways, as the keys left it: the
    // target is normal again and the source carries the inversion.
    EXPECT_FLOAT_EQ(selection.source.left, 0.35f) << c.name;
    EXPECT_FLOAT_EQ(selection.source.right, 0.05f) << c.name;
    EXPECT_FLOAT_EQ(selection.source.top, 0.35f) << c.name;
    EXPECT_FLOAT_EQ(selection.source.bottom, 0.05f) << c.name;
  }
}

TEST_F(EditorFixture, EscAndRightButtonCancelAFrameDrag) {
  for (bool esc : {true, false}) {
    editor.mousePress(kView, ViewButton::Right, 0, 0);  // no selection left from the last round
    band(40, 40, 70, 70);
    editor.mousePress(kView, ViewButton::Left, 68, 54);
    editor.mouseMove(kView, 10, 54);
    ASSERT_FLOAT_EQ(selection.source.left, 0.7f);
    const EditorResponse r = esc ? editor.keyPress(kView, {ViewKey::Escape, false, false, 0})
                                 : editor.mousePress(kView, ViewButton::Right, 10, 54);
    EXPECT_EQ(r.redraw, ViewRedraw::Full);
    EXPECT_FALSE(editor.dragging());
    EXPECT_TRUE(selection.selectionActive);  // the drag ended, not the selection
    EXPECT_FLOAT_EQ(selection.source.left, 0.4f);
    EXPECT_FLOAT_EQ(selection.target.right, 0.7f);
    EXPECT_EQ(editor.frameRect()->right, 70);
    editor.mouseRelease(kView, ViewButton::Left, 10, 54);
    EXPECT_FLOAT_EQ(selection.target.right, 0.7f);
  }
}

TEST_F(EditorFixture, KeysSetTheFramePixelsFromTheTarget) {
  // In a view of 129 x 129 pixel p is at p / 128: the band is 0.25..0.75.
  editor.mousePress({129, 129}, ViewButton::Left, 32, 32);
  editor.mouseRelease({129, 129}, ViewButton::Left, 96, 96);
  const EditorResponse r = editor.keyPress({200, 100}, {ViewKey::End, true, false, 0});
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.redraw, ViewRedraw::Full);
  // T: left 0, bottom 1, 0.5 wide and high; pixels trunc(200 * x), trunc(100 * y).
  EXPECT_EQ(selection.framePixels.left, 0);
  EXPECT_EQ(selection.framePixels.right, 100);
  EXPECT_EQ(selection.framePixels.top, 50);
  EXPECT_EQ(selection.framePixels.bottom, 100);
  editor.viewResized({400, 50});
  EXPECT_EQ(selection.framePixels.right, 200);
  EXPECT_EQ(selection.framePixels.top, 25);
}

TEST_F(EditorFixture, KeysOutsideTheTablesGoOn) {
  band(40, 40, 70, 70);
  const FrameRect before = selection.target;
  for (ViewKeyPress press : {ViewKeyPress{ViewKey::Other, true, false, '7'},
                             ViewKeyPress{ViewKey::Other, false, false, 'q'}}) {
    const EditorResponse r = editor.keyPress(kView, press);
    EXPECT_FALSE(r.handled);
    EXPECT_EQ(r.redraw, ViewRedraw::None);
  }
  EXPECT_EQ(selection.target.left, before.left);
  EXPECT_EQ(selection.target.top, before.top);
}

TEST_F(EditorFixture, TriangulateAndDegeneratesKeysAskForTheirCommands) {
  EXPECT_EQ(editor.keyPress(kView, {ViewKey::Other, false, false, 't'}).command,
            ViewCommand::Triangulate);
  EXPECT_EQ(editor.keyPress(kView, {ViewKey::Insert, false, false, 0}).command,
            ViewCommand::Degenerates);
  EXPECT_EQ(editor.keyPress(kView, {ViewKey::Home, false, false, 0}).command, ViewCommand::None);
}

TEST_F(EditorFixture, InversionMirrorsInsideTheFrame) {
  band(40, 40, 70, 70);
  editor.invertHorizontally();
  EXPECT_FLOAT_EQ(selection.source.left, 0.7f);
  EXPECT_FLOAT_EQ(selection.source.right, 0.4f);
  editor.invertVertically();
  EXPECT_FLOAT_EQ(selection.source.top, 0.7f);
  EXPECT_FLOAT_EQ(selection.source.bottom, 0.4f);
  EXPECT_EQ(editor.frameRect()->left, 40);
  editor.mousePress(kView, ViewButton::Right, 0, 0);
  const auto uvs = testing::cornerUvs(store);
  // (0.5, 0.5) -> x 0.6 and y 0.6 in view coordinates, so v 0.4.
  EXPECT_NEAR(uvs[3].first, 0.6f, 1e-6);
  EXPECT_NEAR(uvs[3].second, 0.4f, 1e-6);
  // Twice is no change.
  ModelStore again = testing::threeTriangles();
  SelectionState state;
  SelectionEditor other(again, state);
  other.mousePress(kView, ViewButton::Left, 40, 40);
  other.mouseRelease(kView, ViewButton::Left, 70, 70);
  other.invertHorizontally();
  other.invertHorizontally();
  other.mousePress(kView, ViewButton::Right, 0, 0);
  EXPECT_NEAR(testing::cornerUvs(again)[3].first, 0.5f, 1e-6);
}

TEST(BandOnTinyViews, OnePixelViewDoesNotDivideByZero) {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor(store, selection);
  editor.mousePress({1, 1}, ViewButton::Left, 0, 0);
  editor.mouseRelease({1, 1}, ViewButton::Left, 1, 1);
  EXPECT_FLOAT_EQ(selection.source.right, 1.0f);
  EXPECT_FLOAT_EQ(selection.source.bottom, 1.0f);
  EXPECT_TRUE(selection.selectionActive);
}

TEST(PointerFarAway, HugeCoordinatesAreHeld) {
  ModelStore store = testing::threeTriangles();
  SelectionState selection;
  SelectionEditor editor(store, selection);
  editor.mousePress(kView, ViewButton::Left, -2147483647 - 1, -2147483647 - 1);
  editor.mouseRelease(kView, ViewButton::Left, 2147483647, 2147483647);
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_EQ(selectedCorners(store), facets(true, true, true));
}

TEST(HotKeys, LinesAndSections) {
  const std::string text = hotKeysText();
  EXPECT_LT(text.size(), 2048u);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  ASSERT_EQ(lines.size(), 2u + 1 + 18 + 2 + 5 + 2 + 2);
  EXPECT_EQ(lines[0], "Shortcut       \tOperation\t\t\t\t");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Selection");
  EXPECT_EQ(lines[3], "esc            \tclear selection, undo changes");
  EXPECT_EQ(lines[15], "\\              \t\ttoggle facets on/off");
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(lines[22], "Background");
  EXPECT_EQ(lines[27], "tab            \ttoggle background display");
  EXPECT_EQ(lines[28], "");
  EXPECT_EQ(lines[29], "Miscellaneous");
  EXPECT_EQ(lines[31], "insert         \tcheck for degenerate facets");
  // Every entry is a 15-character key column, then a tab.
  for (std::size_t i : {3u, 10u, 20u, 23u, 30u}) EXPECT_EQ(lines[i].find('\t'), 15u) << lines[i];
}

TEST(HotKeys, KeyListLinesAreTwoColumns) {
  struct Case {
    std::string_view text;
    std::vector<std::pair<std::string, std::string>> lines;
  };
  const Case cases[] = {
      {"", {{"", ""}}},
      {"Heading", {{"Heading", ""}}},
      {"a      \t\tdo a\t\n\nb\tdo b", {{"a", "do a"}, {"", ""}, {"b", "do b"}}},
      {"  \t  \n", {{"", ""}, {"", ""}}},
      {"k\t", {{"k", ""}}},
  };
  for (const Case& c : cases) {
    const std::vector<KeyListLine> lines = keyListLines(c.text);
    ASSERT_EQ(lines.size(), c.lines.size()) << c.text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].key, c.lines[i].first) << c.text;
      EXPECT_EQ(lines[i].action, c.lines[i].second) << c.text;
    }
  }
  // The hot keys: headings, then a key and its action on every other line.
  const std::vector<KeyListLine> lines = keyListLines(hotKeysText());
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[0].key, "Shortcut");
  EXPECT_EQ(lines[0].action, "Operation");
  EXPECT_EQ(lines[2].key, "Selection");
  EXPECT_EQ(lines[2].action, "");
  EXPECT_EQ(lines[13].key, "[");
  EXPECT_EQ(lines[13].action, "hide selected facets");
  EXPECT_EQ(lines[23].key, "ctrl+b");
  EXPECT_EQ(lines[23].action, "load background");
  EXPECT_EQ(lines[31].key, "insert");
  EXPECT_EQ(lines[31].action, "check for degenerate facets");
  // No column keeps the blanks and tabs that aligned it.
  for (const KeyListLine& line : lines)
    for (const std::string* column : {&line.key, &line.action}) {
      EXPECT_EQ(column->find('\t'), std::string::npos) << *column;
      EXPECT_TRUE(column->empty() || (column->front() != ' ' && column->back() != ' ')) << *column;
    }
  EXPECT_EQ(lines[6].key, "keypad *");
}

TEST(Picking, StaleMarksAreCleared) {
  ModelStore store = testing::threeTriangles();
  for (Vertex& v : store.vertices) v.mark = 1;
  EXPECT_FALSE(pickCornersInside(store, {0.95f, 0.99f, 0.0f, 0.05f}, SelectMethod::ByVertex));
  for (const Vertex& v : store.vertices) EXPECT_EQ(v.mark, 0);
}

// Random facets of 1 to 5 corners over a stretch around the unit square:
// some hidden, some corners without coordinates, stale selected bits
// everywhere.
ModelStore randomPickModel(std::mt19937& random, int facets) {
  std::uniform_real_distribution<float> coordinate(-0.2f, 1.2f);
  std::uniform_int_distribution<int> corners(1, 5), percent(0, 99);
  ModelStore store;
  const int vertices = facets + 7;
  for (int v = 0; v < vertices; ++v) store.vertices.push_back({0, 0, 0, 0});
  store.facetStream.push_back(CornerRecord{});
  for (int f = 0; f < facets; ++f) {
    const bool hidden = percent(random) < 10;
    const int count = corners(random);
    for (int c = 0; c < count; ++c) {
      CornerRecord record;
      record.vertex = 1 + (f * 3 + c) % vertices;  // shared between facets
      if (percent(random) >= 5) {
        store.texVertices.push_back({coordinate(random), coordinate(random), 0});
        record.texVertex = static_cast<int>(store.texVertices.size());
      }
      if (percent(random) < 40) record.group |= kSelectedBit;
      if (hidden) record.flags |= kHiddenBit;
      store.facetStream.push_back(record);
    }
    store.facetStream.push_back(CornerRecord{});
  }
  testing::closeFacetStream(store, facets);
  return store;
}

// The band is picked on every core: however the stream is cut, the same
// corners, vertex marks and answer as on one thread, nothing after the end of
// the list is touched, and the changed records it tells of run from the first
// record whose bit changed to the last.
TEST(Picking, TheCutAmongThreadsChangesNothing) {
  std::mt19937 random(31);
  for (int round = 0; round < 10; ++round) {
    ModelStore randomModel = randomPickModel(random, 300);
    if (round % 2 == 1) {
      // The list ends a third of the way in; the records after it stay.
      const std::size_t at = randomModel.facetStream.size() / 3;
      for (std::size_t j = at; j < randomModel.facetStream.size(); ++j)
        if (randomModel.facetStream[j].vertex == kSeparator) {
          randomModel.facetStream[j].vertex = kEndOfList;
          break;
        }
    }
    // Rounds 4 and 5 pick nothing; 6 and 7 what is picked already (no record
    // changes); 8 and 9 every visible corner, the band taking all it sees
    // and the corners it cannot see being selected before.
    FrameRect band{0.2f, 0.7f, 0.3f, 0.9f};
    if (round == 4 || round == 5) band = {1.5f, 1.6f, 1.5f, 1.6f};
    if (round >= 8) {
      band = {-1, 2, -1, 2};
      for (CornerRecord& record : randomModel.facetStream)
        if (record.texVertex == 0) record.group |= kSelectedBit;
    }
    for (const SelectMethod method : {SelectMethod::ByFacet, SelectMethod::ByVertex}) {
      ModelStore model = randomModel;
      if (round == 6 || round == 7) pickCornersInside(model, band, method);
      ModelStore one = model;
      bool oneAnswer = false;
      {
        const ScopedParallelThreads cut(1);
        oneAnswer = pickCornersInside(one, band, method);
      }
      if (round == 4 || round == 5) {
        // An empty band leaves selected only the corners it cannot see.
        bool unseenSelected = false;
        for (std::size_t j = 1; model.facetStream[j].vertex >= 0; ++j) {
          const CornerRecord& record = model.facetStream[j];
          const bool unseen = (record.flags & kHiddenBit) != 0 || record.texVertex == 0;
          if (record.vertex > 0 && unseen && (record.group & kSelectedBit) != 0)
            unseenSelected = true;
        }
        EXPECT_EQ(oneAnswer, unseenSelected) << "round " << round;
      }
      std::size_t firstChanged = one.facetStream.size(), endChanged = 0;
      for (std::size_t j = 0; j < one.facetStream.size(); ++j)
        if (one.facetStream[j].group != model.facetStream[j].group) {
          firstChanged = std::min(firstChanged, j);
          endChanged = j + 1;
        }
      if (endChanged == 0) firstChanged = 0;
      bool everyVisibleSelected = true;
      std::size_t visibleSelected = 0;
      for (std::size_t j = 0; one.facetStream[j].vertex >= 0; ++j) {
        const CornerRecord& record = one.facetStream[j];
        if (record.vertex <= 0 || (record.flags & kHiddenBit) != 0) continue;
        if ((record.group & kSelectedBit) == 0) everyVisibleSelected = false;
        if ((record.group & kSelectedBit) != 0) ++visibleSelected;
      }
      for (const std::size_t threads : {2, 3, 8}) {
        ModelStore many = model;
        const ScopedParallelThreads cut(threads, 1);
        PickChange changed{{99, 7}, round % 2 == 0};
        EXPECT_EQ(pickCornersInside(many, band, method, &changed), oneAnswer)
            << threads << " threads";
        EXPECT_EQ(changed.records.begin, firstChanged) << threads << " threads, round " << round;
        EXPECT_EQ(changed.records.end, endChanged) << threads << " threads, round " << round;
        EXPECT_EQ(changed.everyVisibleSelected, everyVisibleSelected)
            << threads << " threads, round " << round;
        EXPECT_EQ(changed.visibleSelected, visibleSelected)
            << threads << " threads, round " << round;
        for (std::size_t j = 0; j < one.facetStream.size(); ++j)
          ASSERT_EQ(many.facetStream[j].group, one.facetStream[j].group)
              << threads << " threads, record " << j << ", round " << round;
        for (std::size_t v = 0; v < one.vertices.size(); ++v)
          ASSERT_EQ(many.vertices[v].mark, one.vertices[v].mark) << threads << " threads";
      }
      if (round % 2 == 1) {
        std::size_t end = 0;
        while (one.facetStream[end].vertex >= 0) ++end;
        for (std::size_t j = end; j < one.facetStream.size(); ++j)
          ASSERT_EQ(one.facetStream[j].group, model.facetStream[j].group) << "record " << j;
      }
    }
  }
}

}  // namespace
}  // namespace corvina
