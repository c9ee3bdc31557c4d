#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <set>

#include "app/command_table.h"
#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

// Whether the entry can be issued at all: commands whose handler is still
// missing stay disabled whatever their rule says, and the window handles
// About and Exit itself.
bool built(int id) {
  const CommandRow* row = findCommand(id);
  return row != nullptr && (row->run != nullptr || id == 57664 || id == 57665);
}

// The menu entries and their expected state for one model situation.
void expectEnabledExactly(CMainFrame& frame, const std::set<int>& enabled, const char* situation) {
  frame.updateCommandStates();
  int checkedEntries = 0;
  for (const CommandRow* row : menuRows()) {
    QAction* action = frame.actionFor(row->id);
    ASSERT_NE(action, nullptr) << row->id;
    const bool expected = enabled.count(row->id) != 0 && built(row->id);
    EXPECT_EQ(action->isEnabled(), expected) << situation << ": " << row->id;
    ++checkedEntries;
  }
  // The whole menu, layout, stretch view, 3D preview and zoom entries
  // included.
  EXPECT_EQ(checkedEntries, 51) << situation;
}

using Fixture = WindowFixture;

TEST(Enablement, BeforeAnyModelOnlyTheModelFreeEntriesAreEnabled) {
  Fixture f;
  expectEnabledExactly(f.frame,
                       {57601, 32776, 32778, 32779, 32780, 32781, 57665, 32771, 32844, 32845, 32820,
                        32821, 32822, 32823, 32796, 57664, 32870, 32871, 32872},
                       "no model");
  EXPECT_TRUE(f.frame.actionFor(32823)->isChecked());  // black and white to start
  EXPECT_FALSE(f.frame.actionFor(32820)->isChecked());
  EXPECT_TRUE(f.frame.actionFor(32844)->isChecked());  // select by facet
}

TEST(Enablement, ModelWithGroupsButNoMaterialsOrCoordinates) {
  Fixture f;
  const QString path = f.folder.filePath("grouped.obj");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("v 0 0 0\nv 1 0 0\nv 0 1 0\ng left\nf 1 2 3\ng right\nf 3 2 1\n");
  file.close();
  testing::ScriptedUserInterface ui;
  ASSERT_TRUE(f.app.document.openModel(path.toStdString(), ui));

  const std::set<int> always = {57601, 32776, 32778, 32779, 32780, 32781, 57665,
                                32771, 32844, 32845, 32820, 32821, 32822, 32823,
                                32796, 57664, 32870, 32871, 32872};
  std::set<int> loaded = always;
  for (int id : {32829, 32772, 32773, 32782, 32774, 32795, 32794, 32792, 32826, 32785, 32786, 32787,
                 32790, 32788, 32816, 32798, 32799})
    loaded.insert(id);
  // The View menu's zoom entries.
  for (int id : {32880, 32881, 32882}) loaded.insert(id);
  // Not: select and tile by material or region (no such sets), assign (no
  // selection), texture map and UV export (no texture coordinates).
  expectEnabledExactly(f.frame, loaded, "groups, no materials");
}

}  // namespace
}  // namespace corvina::window
