// The edit history in the window: Undo and Redo at the top of the Edit menu
// named for their step, the title's name and mark, view input recorded one
// step per key or drag, and the save question before the window closes.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <vector>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

constexpr const char* kTwoSquares =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0.1 0.1\nvt 0.4 0.1\nvt 0.4 0.4\nvt 0.1 0.4\n"
    "vt 0.6 0.6\nvt 0.9 0.6\nvt 0.9 0.9\nvt 0.6 0.9\n"
    "f 1/1 2/2 3/3 4/4\nf 1/5 2/6 3/7 4/8\n";

struct Fixture : WindowFixture {
  testing::ScriptedUserInterface ui;

  void load() {
    openModelText(kTwoSquares, "squares.obj", ui);
    frame.view().resize(201, 201);
    frame.updateCommandStates();
  }
  void run(int id) {
    CommandContext context{app, ui};
    runCommand(context, id);
    frame.updateCommandStates();
  }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, frame.view().mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&frame.view(), &event);
  }
  void key(int code, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(&frame.view(), &event);
  }
  QMenu* editMenu() {
    for (QAction* action : frame.menuBar()->actions())
      if (action->text() == "&Edit") return action->menu();
    return nullptr;
  }
  QString undoText() { return frame.actionFor(kCommandUndo)->text(); }
  QString redoText() { return frame.actionFor(kCommandRedo)->text(); }
};

TEST(EditHistoryWindow, EditMenuNamesTheStepsAndTheTitleMarksChanges) {
  Fixture f;
  QMenu* edit = f.editMenu();
  ASSERT_NE(edit, nullptr);
  ASSERT_GE(edit->actions().size(), 4);
  EXPECT_EQ(edit->actions()[0], f.frame.actionFor(kCommandUndo));
  EXPECT_EQ(edit->actions()[1], f.frame.actionFor(kCommandRedo));
  EXPECT_TRUE(edit->actions()[2]->isSeparator());
  EXPECT_EQ(edit->actions()[3], f.frame.actionFor(kCommandSettings));
  EXPECT_EQ(f.undoText(), "&Undo\tCtrl+Z");
  EXPECT_EQ(f.redoText(), "&Redo\tShift+Ctrl+Z");
  EXPECT_FALSE(f.frame.actionFor(kCommandUndo)->isEnabled());
  EXPECT_EQ(f.frame.windowTitle(), "Corvina");

  f.load();
  EXPECT_EQ(f.frame.windowTitle(), "squares[*] - Corvina");
  EXPECT_FALSE(f.frame.isWindowModified());
  f.run(kCommandBox);
  EXPECT_EQ(f.undoText(), "&Undo Box Mapping\tCtrl+Z");
  EXPECT_TRUE(f.frame.actionFor(kCommandUndo)->isEnabled());
  EXPECT_TRUE(f.frame.isWindowModified());
  const QList<QKeySequence> undoKeys = f.frame.actionFor(kCommandUndo)->shortcuts();
  EXPECT_TRUE(undoKeys.contains(QKeySequence("Ctrl+Z")));
  EXPECT_TRUE(undoKeys.contains(QKeySequence("Alt+Backspace")));
  EXPECT_TRUE(f.frame.actionFor(kCommandRedo)->shortcuts().contains(QKeySequence("Shift+Ctrl+Z")));

  f.frame.runCommandNumber(kCommandUndo);
  EXPECT_EQ(f.undoText(), "&Undo\tCtrl+Z");
  EXPECT_EQ(f.redoText(), "&Redo Box Mapping\tShift+Ctrl+Z");
  EXPECT_FALSE(f.frame.isWindowModified());
  f.frame.runCommandNumber(kCommandRedo);
  EXPECT_TRUE(f.frame.isWindowModified());
}

TEST(EditHistoryWindow, KeysAndDragsInTheViewAreSteps) {
  Fixture f;
  f.load();
  // A band around the left square.
  f.mouse(QEvent::MouseButtonPress, {10, 110}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {50, 150}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {90, 190}, Qt::LeftButton);
  f.mouse(QEvent::MouseButtonRelease, {90, 190}, Qt::NoButton);
  ASSERT_TRUE(f.app.document.selection().selectionActive);
  EXPECT_EQ(f.undoText(), "&Undo Select\tCtrl+Z");
  const FrameRect selected = f.app.document.selection().target;
  for (int i = 0; i < 3; ++i) f.key(Qt::Key_Right);
  f.key(Qt::Key_Down);
  EXPECT_EQ(f.undoText(), "&Undo Move Selection\tCtrl+Z");
  EXPECT_EQ(f.app.document.undoHistory().position, 2);
  f.key(Qt::Key_BracketLeft, "[");
  EXPECT_EQ(f.undoText(), "&Undo Hide Facets\tCtrl+Z");
  f.frame.runCommandNumber(kCommandUndo);
  f.frame.runCommandNumber(kCommandUndo);
  EXPECT_EQ(f.app.document.selection().target.left, selected.left);
  EXPECT_EQ(f.app.document.selection().target.top, selected.top);
  EXPECT_EQ(f.undoText(), "&Undo Select\tCtrl+Z");
  f.frame.runCommandNumber(kCommandUndo);
  EXPECT_FALSE(f.app.document.selection().selectionActive);
}

TEST(EditHistoryWindow, UndoWaitsForTheDragToEnd) {
  Fixture f;
  f.load();
  f.run(kCommandBox);
  const std::vector<TexVertex> mapped = f.app.store.texVertices;
  f.mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {150, 150}, Qt::LeftButton);
  f.frame.runCommandNumber(kCommandUndo);  // Ctrl+Z during the band
  EXPECT_EQ(f.app.document.undoHistory().position, 1);
  f.mouse(QEvent::MouseButtonRelease, {190, 190}, Qt::NoButton);
  EXPECT_EQ(f.app.document.undoHistory().position, 2);
  EXPECT_EQ(f.undoText(), "&Undo Select\tCtrl+Z");
  f.frame.runCommandNumber(kCommandUndo);
  f.frame.runCommandNumber(kCommandUndo);
  // Both steps are taken back: the texture map is no longer the box map.
  const auto us = [](const std::vector<TexVertex>& uvs) {
    std::vector<float> u;
    for (const TexVertex& uv : uvs) u.push_back(uv.u);
    return u;
  };
  EXPECT_NE(us(f.app.store.texVertices), us(mapped));
  EXPECT_FALSE(f.frame.actionFor(kCommandUndo)->isEnabled());
}

TEST(EditHistoryWindow, ClosingWithUnsavedChangesAsksFirst) {
  Fixture f;
  f.load();
  f.run(kCommandBox);
  f.frame.show();
  // The question is answered as Escape would: Cancel, so the window stays.
  int questions = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      ++questions;
      box->close();
    }
  });
  closer.start(5);
  EXPECT_FALSE(f.frame.close());
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(f.frame.isVisible());
  EXPECT_EQ(f.app.store.modelLoaded, kModelRead);
  // Without changes it closes at once.
  f.frame.runCommandNumber(kCommandUndo);
  EXPECT_TRUE(f.frame.close());
  EXPECT_EQ(questions, 1);
}

}  // namespace
}  // namespace corvina::window
