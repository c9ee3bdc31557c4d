// The window's own paint path (the layered composition while the frame moves,
// repaints merged by Qt) shows exactly what the painter's full composition
// shows, after every kind of edit in the view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <array>
#include <random>
#include <string>

#include "app/command_ids.h"
#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"
#include "editor/painter/tests/picture_difference.h"
#include "editor/painter/view_composer.h"

namespace corvina::window {
namespace {

using painter::testing::firstDifference;

// A grid of triangles whose texture coordinates are jittered so outlines
// cross, in groups of 7 facets, some coordinates outside the unit square.
std::string jitteredGrid(int cells, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> jitter(-0.6f, 0.6f);
  std::string text;
  const int side = cells + 1;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      text += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const float u = (static_cast<float>(x) + jitter(random)) / static_cast<float>(cells);
      const float v = (static_cast<float>(y) + jitter(random)) / static_cast<float>(cells);
      text += "vt " + std::to_string(u) + " " + std::to_string(v) + "\n";
    }
  int facet = 0;
  for (int y = 0; y < cells; ++y)
    for (int x = 0; x < cells; ++x) {
      const int a = y * side + x + 1, b = a + 1, c = a + side, d = c + 1;
      for (const auto& tri : {std::array<int, 3>{a, b, c}, std::array<int, 3>{b, d, c}}) {
        if (facet++ % 7 == 0) text += "g part" + std::to_string(facet / 7) + "\n";
        text += "f";
        for (int i : tri) text += " " + std::to_string(i) + "/" + std::to_string(i);
        text += "\n";
      }
    }
  return text;
}

struct Fixture : WindowFixture {
  explicit Fixture(unsigned seed, int cells = 14) {
    openModelText(jitteredGrid(cells, seed).c_str(), "grid.obj");
    app.store.colorMode = 1;
    frame.view().resize(173, 151);
    frame.view().refresh();
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
    QMouseEvent event(type, at, frame.view().mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(&frame.view(), &event);
  }

  void key(int code, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(&frame.view(), &event);
  }

  void wheel(QPoint at, int notches) {
    QWheelEvent event(at, frame.view().mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&frame.view(), &event);
  }

  // What the widget paints, and what the painter composes from scratch
  // (at the view's zoom).
  QImage painted() { return frame.view().grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QImage composed() {
    return painter::composeViewWithFrame(frame.view().scene())
        .convertToFormat(QImage::Format_RGB32);
  }
};

// A band, a frame drag merged and step by step, keys that move, size, hide
// and commit, each followed by `check`.
template <class Check>
void editInTheView(Fixture& f, Check&& check) {
  f.mouse(QEvent::MouseButtonPress, {30, 40}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {80, 90}, Qt::LeftButton);
  f.mouse(QEvent::MouseButtonRelease, {110, 120}, Qt::LeftButton);
  check("after a rubber band");
  ASSERT_TRUE(f.app.document.selection().selectionActive);
  // A frame drag: several moves merged into one repaint, then one each.
  f.mouse(QEvent::MouseButtonPress, {70, 80}, Qt::LeftButton);
  for (int i = 1; i <= 4; ++i) f.mouse(QEvent::MouseMove, {70 + 5 * i, 80 - 3 * i}, Qt::LeftButton);
  check("during a drag");
  f.mouse(QEvent::MouseMove, {60, 95}, Qt::LeftButton);
  check("during a drag, after one move");
  f.mouse(QEvent::MouseButtonRelease, {60, 95}, Qt::LeftButton);
  check("after the drag");
  f.key(Qt::Key_Right, Qt::NoModifier, "");
  check("after a key step");
  f.key(Qt::Key_Asterisk, Qt::KeypadModifier, "*");
  check("after doubling the frame");
  f.key(Qt::Key_BracketLeft, Qt::NoModifier, "[");
  check("after hiding the selection");
  f.key(Qt::Key_Backslash, Qt::NoModifier, "\\");
  check("after showing hidden facets instead");
  f.key(Qt::Key_Left, Qt::ShiftModifier, "");
  check("after a shifted key step");
  f.key(Qt::Key_Return, Qt::NoModifier, "\r");
  check("after commit");
}

TEST(ViewPaintPath, EveryEditShowsTheFullComposition) {
  for (unsigned seed : {1u, 2u, 3u}) {
    for (const bool byVertex : {false, true}) {
      Fixture f(seed);
      f.app.document.selection().selectMethod =
          byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
      int step = 0;
      auto check = [&](const char* what) {
        const QImage painted = f.painted(), composed = f.composed();
        ASSERT_EQ(painted.size(), composed.size()) << what;
        ASSERT_TRUE(painted == composed)
            << what << ": " << firstDifference(painted, composed) << ", seed " << seed
            << (byVertex ? " by vertex" : " by facet") << ", step " << step;
        ++step;
      };
      check("as loaded");
      editInTheView(f, check);
    }
  }
}

// Bands one after another on a model of several thousand facets: a band's
// pick redraws only where its lines lay when the press before it was shown
// on its own, and the whole view when the two are merged into one repaint.
TEST(ViewPaintPath, BandsOneAfterAnotherShowTheFullComposition) {
  for (const bool byVertex : {false, true}) {
    Fixture f(5, 48);
    f.app.document.selection().selectMethod =
        byVertex ? SelectMethod::ByVertex : SelectMethod::ByFacet;
    auto check = [&](const std::string& what) {
      const QImage painted = f.painted(), composed = f.composed();
      ASSERT_TRUE(painted == composed) << what << (byVertex ? ", by vertex" : ", by facet") << ": "
                                       << firstDifference(painted, composed);
    };
    check("as loaded");
    const std::array<std::array<QPoint, 2>, 3> bands = {{{QPoint(20, 20), QPoint(60, 50)},
                                                         {QPoint(90, 30), QPoint(150, 45)},
                                                         {QPoint(40, 100), QPoint(120, 140)}}};
    for (std::size_t b = 0; b < bands.size(); ++b) {
      const std::string band = "band " + std::to_string(b);
      // The view's own edits and paints keep the notes that let the next
      // pick and commit walk only the runs they can change.
      if (b > 0) {
        EXPECT_TRUE(f.app.editor.selectionBlocks().known(f.app.store))
            << band << (byVertex ? ", by vertex" : ", by facet");
      }
      f.mouse(QEvent::MouseButtonPress, bands[b][0], Qt::LeftButton);
      if (b != 1) check(band + ", pressed");
      f.mouse(QEvent::MouseMove, (bands[b][0] + bands[b][1]) / 2, Qt::LeftButton);
      f.mouse(QEvent::MouseButtonRelease, bands[b][1], Qt::LeftButton);
      check(band + ", released");
      ASSERT_TRUE(f.app.document.selection().selectionActive) << band;
      f.key(Qt::Key_Up, Qt::NoModifier, "");
      check(band + ", moved by a key");
    }
  }
}

// The same edits zoomed in, zoomed out, panned and with the map's
// proportions kept: the layered composition still shows the full one, and
// the view is really zoomed.
TEST(ViewPaintPath, ZoomedEditsShowTheFullComposition) {
  struct Case {
    const char* name;
    int notches;
    QPoint at, pan;
    bool proportions;
  };
  const Case cases[] = {
      {"zoomed in", 3, {60, 70}, {0, 0}, false},
      {"zoomed out and panned", -2, {100, 40}, {15, -10}, false},
      {"proportions kept, zoomed in", 1, {200, 250}, {-20, -90}, true},
  };
  for (const Case& c : cases) {
    Fixture f(7);
    f.app.store.mapWidth = 1024;
    f.app.store.mapHeight = 512;
    int step = 0;
    auto check = [&](const char* what) {
      const QImage painted = f.painted(), composed = f.composed();
      ASSERT_EQ(painted.size(), composed.size()) << what;
      ASSERT_TRUE(painted == composed) << c.name << ", " << what << ": "
                                       << firstDifference(painted, composed) << ", step " << step;
      ++step;
    };
    SCOPED_TRACE(c.name);
    check("as loaded");  // the window has laid the view out
    if (c.proportions) f.frame.runCommandNumber(kCommandKeepProportions);
    f.wheel(c.at, c.notches);
    f.mouse(QEvent::MouseButtonPress, {50, 50}, Qt::MiddleButton);
    f.mouse(QEvent::MouseMove, QPoint(50, 50) + c.pan, Qt::MiddleButton);
    f.mouse(QEvent::MouseButtonRelease, QPoint(50, 50) + c.pan, Qt::MiddleButton);
    const ViewSize size{f.app.view.width, f.app.view.height};
    ASSERT_FALSE(fillsView(f.app.editor.square(size), size)) << c.name;
    check("zoomed");
    editInTheView(f, check);
    f.frame.runCommandNumber(kCommandOriginalView);
    check("back at the original view");
  }
}

}  // namespace
}  // namespace corvina::window
