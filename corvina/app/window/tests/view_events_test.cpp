#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

// Two unit-square facets side by side in texture space: the left one covers
// u 0.1..0.4, v 0.1..0.4.
constexpr const char* kTwoSquares =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0.1 0.1\nvt 0.4 0.1\nvt 0.4 0.4\nvt 0.1 0.4\n"
    "vt 0.6 0.6\nvt 0.9 0.6\nvt 0.9 0.9\nvt 0.6 0.9\n"
    "f 1/1 2/2 3/3 4/4\nf 1/5 2/6 3/7 4/8\n";

struct Fixture : WindowFixture {
  Fixture() {
    openModelText(kTwoSquares, "squares.obj");
    frame.view().resize(201, 201);  // view pixels 0..200: u = x / 200
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, frame.view().mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&frame.view(), &event);
  }

  void key(int code, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(&frame.view(), &event);
  }
};

TEST(ViewEvents, RubberBandSelectsAndKeysMoveTheFrame) {
  Fixture f;
  // A band around the left square (x 20..80, y 120..180).
  f.mouse(QEvent::MouseButtonPress, {10, 110}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {50, 150}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {90, 190}, Qt::LeftButton);
  f.mouse(QEvent::MouseButtonRelease, {90, 190}, Qt::NoButton);
  const SelectionState& selection = f.app.document.selection();
  ASSERT_TRUE(selection.selectionActive);
  EXPECT_FLOAT_EQ(selection.target.left, 10.0f / 200.0f);
  EXPECT_FLOAT_EQ(selection.target.bottom, 190.0f / 200.0f);

  f.key(Qt::Key_Equal, Qt::NoModifier, "=");
  EXPECT_FLOAT_EQ(selection.target.left, 0.0f);
  EXPECT_FLOAT_EQ(selection.target.right, 1.0f);

  const float width = selection.target.right - selection.target.left;
  f.key(Qt::Key_Slash, Qt::KeypadModifier, "/");  // halve about the centre
  EXPECT_FLOAT_EQ(selection.target.right - selection.target.left, width / 2);

  const float left = selection.target.left;
  f.key(Qt::Key_Right, Qt::ShiftModifier, "");  // 1/32 of the view
  EXPECT_FLOAT_EQ(selection.target.left, left + 0.03125f);

  f.key(Qt::Key_Escape, Qt::NoModifier, "\x1b");
  EXPECT_FALSE(selection.selectionActive);
}

TEST(ViewEvents, ViewSizeFollowsTheWidgetInDevicePixels) {
  Fixture f;
  f.frame.view().resize(300, 120);
  const QImage picture = f.frame.view().composedPicture();
  EXPECT_EQ(picture.size(), f.frame.view().devicePixelSize());
  EXPECT_EQ(f.app.view.width, picture.width());
  EXPECT_EQ(f.app.view.height, picture.height());
}

}  // namespace
}  // namespace corvina::window
