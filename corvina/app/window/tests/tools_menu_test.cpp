// The Tools menu in the window: after the original menus, its entries follow
// the state of the model and the background, take no keys of their own, and
// the hot keys show as a table.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTextDocument>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/window/main_frame.h"
#include "app/window/qt_user_interface.h"
#include "app/window/tests/window_fixture.h"
#include "editor/background/tests/bmp_bytes.h"
#include "editor/hot_keys_text.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

struct Fixture : WindowFixture {
  const CommandRow& row(int id) const {
    for (const CommandRow& r : toolsMenuRows())
      if (r.id == id) return r;
    return toolsMenuRows().front();
  }
  QAction* action(int id) const { return frame.toolsActionFor(row(id)); }
};

TEST(ToolsMenuWindow, ComesLastWithEveryEntryInOrder) {
  Fixture f;
  const QList<QAction*> bar = f.frame.menuBar()->actions();
  ASSERT_GE(bar.size(), 4);
  // The original menus keep their places; Tools follows all of them.
  EXPECT_EQ(bar[0]->text(), "&File");
  EXPECT_EQ(bar[1]->text(), "&Edit");
  EXPECT_EQ(bar.back()->text(), "&Tools");
  for (int i = 0; i + 1 < bar.size(); ++i) EXPECT_NE(bar[i]->text(), "&Tools");
  QStringList shown;
  for (QAction* entry : bar.back()->menu()->actions()) {
    if (entry->menu() != nullptr) {
      for (QAction* inner : entry->menu()->actions())
        shown << entry->text() + " > " + inner->text();
    } else {
      shown << entry->text();
    }
  }
  QStringList expected;
  for (const CommandRow& row : toolsMenuRows()) {
    QString text =
        QString::fromUtf8(row.menuText.data(), static_cast<qsizetype>(row.menuText.size()));
    if (!row.submenu.empty())
      text = QString::fromUtf8(row.submenu.data(), static_cast<qsizetype>(row.submenu.size())) +
             " > " + text;
    expected << text;
  }
  EXPECT_EQ(shown, expected);
  // The keys shown stay with the commands' own accelerators and the view.
  for (const CommandRow& row : toolsMenuRows()) {
    QAction* action = f.frame.toolsActionFor(row);
    ASSERT_NE(action, nullptr) << row.name;
    EXPECT_TRUE(action->shortcuts().isEmpty()) << row.name;
  }
  ASSERT_NE(f.frame.actionFor(kCommandInvertH), nullptr);
  EXPECT_EQ(f.frame.actionFor(kCommandInvertH)->shortcut(), QKeySequence("Ctrl+X"));
}

TEST(ToolsMenuWindow, EntriesFollowTheModelAndTheBackground) {
  Fixture f;
  f.frame.updateCommandStates();
  EXPECT_FALSE(f.action(kCommandTriangulate)->isEnabled());
  EXPECT_FALSE(f.action(kCommandClearBackground)->isEnabled());
  EXPECT_TRUE(f.action(kCommandLoadBackground)->isEnabled());
  EXPECT_TRUE(f.action(kCommandHotKeys)->isEnabled());
  EXPECT_TRUE(f.action(kCommandToggleBackground)->isChecked());  // display on at start

  const QString model = f.folder.filePath("quad.obj");
  QFile file(model);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
  file.close();
  testing::ScriptedUserInterface ui;  // the statistics box goes here
  ASSERT_TRUE(f.app.document.openModel(model.toStdString(), ui));
  ASSERT_TRUE(f.frame.canvas().background().loadBytes(background::testing::bmpFile(4, 4, 24)));
  f.frame.updateCommandStates();
  EXPECT_TRUE(f.action(kCommandTriangulate)->isEnabled());
  EXPECT_TRUE(f.action(kCommandClearBackground)->isEnabled());
  EXPECT_TRUE(f.action(kCommandFlipBackgroundH)->isEnabled());

  // Show turns the display off, as Tab does; the clear and flips go grey.
  f.frame.runToolsEntry(f.row(kCommandToggleBackground));
  EXPECT_FALSE(f.frame.canvas().background().displayOn());
  EXPECT_FALSE(f.action(kCommandToggleBackground)->isChecked());
  EXPECT_FALSE(f.action(kCommandClearBackground)->isEnabled());
  EXPECT_FALSE(f.action(kCommandFlipBackgroundV)->isEnabled());
}

TEST(ToolsMenuWindow, HotKeysShowAsATableOfTwoColumns) {
  QTextDocument document;
  document.setHtml(keyListHtml(hotKeysText()));
  const QString plain = document.toPlainText();
  for (const KeyListLine& line : keyListLines(hotKeysText())) {
    EXPECT_TRUE(plain.contains(QString::fromStdString(line.key))) << line.key;
    EXPECT_TRUE(plain.contains(QString::fromStdString(line.action))) << line.action;
  }
  const QString html = keyListHtml(hotKeysText());
  // One row per line: the headings, 25 keys, 3 section names and 3 gaps.
  EXPECT_EQ(html.count("<tr>"), 32);
  EXPECT_EQ(html.count("<tt>"), 25);
  EXPECT_EQ(html.count("colspan"), 6);
  // Markup in a key is shown as text.
  EXPECT_TRUE(keyListHtml("Key\tWhat\n<b>\tbold").contains("&lt;b&gt;"));
}

}  // namespace
}  // namespace corvina::window
