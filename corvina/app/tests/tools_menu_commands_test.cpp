// The Tools menu: its entries issue commands of the table with their own
// handlers, show those commands' keys, and leave the original menus as they
// are.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/history_recording.h"
#include "app/tests/scratch_folder.h"
#include "editor/hot_keys_text.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUserInterface;

const CommandRow& toolsRow(int id) {
  for (const CommandRow& row : toolsMenuRows())
    if (row.id == id) return row;
  ADD_FAILURE() << "no Tools entry for " << id;
  return toolsMenuRows().front();
}

TEST(ToolsMenu, EntriesIssueTableCommandsAndShowTheirKeys) {
  // The keys the view itself takes for the commands without accelerators.
  const std::map<int, std::string_view> viewKeys = {{kCommandTriangulate, "T"},
                                                    {kCommandDegenerates, "Ins"}};
  std::set<int> positions;
  std::set<int> ids;
  for (const CommandRow& row : toolsMenuRows()) {
    SCOPED_TRACE(std::string(row.menuText));
    EXPECT_EQ(row.menu, "&Tools");
    EXPECT_TRUE(positions.insert(row.menuPosition).second);
    EXPECT_NE(row.enabled, nullptr);
    EXPECT_NE(row.run, nullptr);
    EXPECT_TRUE(row.step.empty());
    std::string_view text = row.menuText;
    const std::size_t tab = text.find('\t');
    EXPECT_EQ(tab == std::string_view::npos ? std::string_view() : text.substr(tab + 1), row.keys);
    if (row.id == 0) {
      EXPECT_EQ(row.name, "render");
      continue;
    }
    EXPECT_TRUE(ids.insert(row.id).second);
    const CommandRow* command = findCommand(row.id);
    ASSERT_NE(command, nullptr);
    EXPECT_NE(command->run, nullptr);
    const auto viewKey = viewKeys.find(row.id);
    EXPECT_EQ(row.keys, viewKey == viewKeys.end() ? command->keys : viewKey->second);
  }
  // In menu order, without gaps.
  ASSERT_FALSE(positions.empty());
  EXPECT_EQ(*positions.begin(), 1);
  EXPECT_EQ(*positions.rbegin(), static_cast<int>(positions.size()));
  for (std::size_t i = 0; i + 1 < toolsMenuRows().size(); ++i)
    EXPECT_LT(toolsMenuRows()[i].menuPosition, toolsMenuRows()[i + 1].menuPosition);
  // Everything the menu was made for is in it.
  for (int id : {kCommandPerFacet, kCommandLastProjection, kCommandSelectInverse, kCommandSmooth,
                 kCommandTriangulate, kCommandDegenerates, kCommandInvertH, kCommandInvertV,
                 kCommandLoadBackground, kCommandClearBackground, kCommandFlipBackgroundH,
                 kCommandFlipBackgroundV, kCommandToggleBackground, kCommandHotKeys})
    EXPECT_TRUE(ids.count(id)) << id;
  // The original menus hold no Tools entry.
  for (const CommandRow* row : menuRows()) EXPECT_NE(row->menu, "&Tools") << row->name;
}

// A quad, a triangle and a degenerate triangle, with normals.
constexpr const char* kModel =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\n"
    "vn 0 0 1\n"
    "f 1//1 2//1 3//1 4//1\nf 2//1 5//1 3//1\nf 1//1 1//1 2//1\n";

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool sameModel(const ModelStore& a, const ModelStore& b) {
  if (!sameBytes(a.facetStream, b.facetStream) || !sameBytes(a.texVertices, b.texVertices) ||
      !sameBytes(a.normals, b.normals) || a.vertices.size() != b.vertices.size())
    return false;
  for (std::size_t i = 0; i < a.vertices.size(); ++i)
    if (std::memcmp(&a.vertices[i].x, &b.vertices[i].x, 3 * sizeof(float)) != 0) return false;
  return true;
}

bool sameFrame(const FrameRect& a, const FrameRect& b) {
  return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

// One side of the comparison: a model loaded and mapped, everything
// selected, answers Yes to every question.
struct Side {
  ApplicationState app;
  ScriptedUserInterface ui;

  explicit Side(const std::string& model) : app("/tmp") {
    ui.answers.assign(8, Answer::Yes);
    EXPECT_TRUE(app.document.openModel(model, ui));
    run(kCommandBox);
    run(kCommandSelectAll);
  }
  void run(int id) {
    CommandContext context{app, ui};
    ASSERT_TRUE(runCommand(context, id)) << id;
  }
  void run(const CommandRow& row) {
    CommandContext context{app, ui};
    ASSERT_TRUE(runCommand(context, row)) << row.name;
  }
  std::size_t shown() const {
    return ui.messages.size() + ui.questions.size() + ui.optionDialogs.size();
  }
};

TEST(ToolsMenu, EachEntryDoesExactlyWhatItsCommandDoes) {
  ScratchFolder folder;
  const std::string model = folder.write("model.obj", kModel);
  Side menu(model), command(model);
  // In this order every entry has something to do: the quad is split before
  // per-facet mapping, which needs triangles.
  for (int id : {kCommandTriangulate, kCommandPerFacet, kCommandLastProjection, kCommandInvertH,
                 kCommandInvertV, kCommandSelectInverse, kCommandSmooth, kCommandDegenerates,
                 kCommandHotKeys}) {
    SCOPED_TRACE(id);
    // The mappings leave no selection; the mirrors need one.
    if (id == kCommandInvertH) {
      menu.run(kCommandSelectAll);
      command.run(kCommandSelectAll);
    }
    const ModelStore before = menu.app.store;
    const SelectionState selectionBefore = menu.app.document.selection();
    const std::size_t shownBefore = menu.shown();
    const CommandRow& row = toolsRow(id);
    EXPECT_TRUE(row.enabled(menu.app));
    menu.run(row);
    command.run(id);
    EXPECT_TRUE(sameModel(menu.app.store, command.app.store));
    const SelectionState& a = menu.app.document.selection();
    const SelectionState& b = command.app.document.selection();
    EXPECT_EQ(a.selectionActive, b.selectionActive);
    EXPECT_TRUE(sameFrame(a.source, b.source) && sameFrame(a.target, b.target));
    ASSERT_EQ(menu.ui.messages.size(), command.ui.messages.size());
    for (std::size_t i = 0; i < menu.ui.messages.size(); ++i)
      EXPECT_EQ(menu.ui.messages[i].text, command.ui.messages[i].text);
    EXPECT_EQ(menu.ui.questions.size(), command.ui.questions.size());
    EXPECT_EQ(menu.ui.optionDialogs, command.ui.optionDialogs);
    // One step of the history, named as the command's own.
    EXPECT_EQ(undoStepName(menu.app), undoStepName(command.app));
    // The entry did something a user sees.
    EXPECT_TRUE(!sameModel(before, menu.app.store) || menu.shown() > shownBefore ||
                a.selectionActive != selectionBefore.selectionActive ||
                !sameFrame(a.source, selectionBefore.source));
  }
  ASSERT_FALSE(menu.ui.messages.empty());
  EXPECT_EQ(menu.ui.messages.back().text, hotKeysText());
  // Undoing every step takes both back to the same start.
  while (undoLastStep(menu.app)) ASSERT_TRUE(undoLastStep(command.app));
  EXPECT_FALSE(undoLastStep(command.app));
  EXPECT_TRUE(sameModel(menu.app.store, command.app.store));
}

TEST(ToolsMenu, EntriesAreEnabledAsTheirCommandsAre) {
  ApplicationState app("/tmp");
  // Without a model: the model's commands are off, the others on.
  struct Case {
    int id;
    bool withoutModel;
  };
  const Case cases[] = {{kCommandPerFacet, false},       {kCommandLastProjection, false},
                        {kCommandSelectInverse, false},  {kCommandTriangulate, false},
                        {kCommandDegenerates, false},    {kCommandSmooth, true},
                        {kCommandHotKeys, true},         {kCommandLoadBackground, true},
                        {kCommandToggleBackground, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(toolsRow(c.id).enabled(app), c.withoutModel) << c.id;
    EXPECT_EQ(toolsRow(c.id).enabled(app), isCommandEnabled(app, c.id)) << c.id;
  }
  // Without a view, nothing to clear, flip or render.
  for (int id : {kCommandClearBackground, kCommandFlipBackgroundH, kCommandFlipBackgroundV})
    EXPECT_FALSE(toolsRow(id).enabled(app)) << id;
  for (const CommandRow& row : toolsMenuRows()) {
    if (row.id == 0) {
      EXPECT_FALSE(row.enabled(app)) << row.name;
    }
  }
  // The mirrors act on a selection.
  ScratchFolder folder;
  ScriptedUserInterface ui;
  ASSERT_TRUE(app.document.openModel(folder.write("model.obj", kModel), ui));
  for (int id : {kCommandInvertH, kCommandInvertV}) EXPECT_FALSE(toolsRow(id).enabled(app)) << id;
  CommandContext context{app, ui};
  runCommand(context, kCommandBox);
  runCommand(context, kCommandSelectAll);
  for (int id : {kCommandInvertH, kCommandInvertV}) EXPECT_TRUE(toolsRow(id).enabled(app)) << id;
}

}  // namespace
}  // namespace corvina
