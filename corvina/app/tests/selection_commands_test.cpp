// The selection commands as the window runs them: their dialogs, questions
// and enablement, over a hand-made model.

#include <gtest/gtest.h>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "testing/model_builder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using corvina::testing::FacetSpec;
using corvina::testing::ScriptedUserInterface;

// Three triangles side by side along u; groups "wood" (facets 1 and 3) and
// "metal" (facet 2); no materials or regions.
void loadThreeFacets(ApplicationState& app) {
  std::vector<TexVertex> uvs;
  std::vector<FacetSpec> facets;
  for (int f = 1; f <= 3; ++f) {
    const float right = 0.25f * static_cast<float>(f);
    uvs.push_back({right - 0.2f, 0.25f, 0});
    uvs.push_back({right, 0.25f, 0});
    uvs.push_back({right, 0.5f, 0});
    const int t = static_cast<int>(uvs.size());
    facets.push_back(FacetSpec{{1, t - 2}, {2, t - 1}, {3, t}});
  }
  app.store = testing::buildModel(std::vector<Vertex>(3), uvs, facets);
  testing::fillSetTable(app.store.groups, app.store.numGroups, app.store.numGroupStatements,
                        {{0, "wood"}, {1, "metal"}, {2, "wood"}}, app.store.numCornerRecords);
  assignSetIndices(app.store);
  app.store.texVerticesExpanded = 1;
}

std::vector<int> groupsOfCorners(const ModelStore& store) {
  std::vector<int> groups;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex > 0) groups.push_back(record.group & kSetIndexMask);
  }
  return groups;
}

std::vector<bool> selectedFacets(const ModelStore& store) {
  std::vector<bool> facets;
  for (std::size_t j = 0; j < store.facetStream.size(); ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (record.vertex == 0 && j + 1 < store.facetStream.size()) {
      facets.push_back((store.facetStream[j + 1].group & kSelectedBit) != 0);
    }
  }
  return facets;
}

struct SelectionCommands : ::testing::Test {
  ApplicationState app{"/tmp"};
  ScriptedUserInterface ui;

  void SetUp() override { loadThreeFacets(app); }
  void run(int id) {
    CommandContext context{app, ui};
    ASSERT_TRUE(runCommand(context, id)) << id;
  }
};

TEST_F(SelectionCommands, SelectByGroupListsTheNamesSortedAndSelectsTheChosen) {
  ui.listChoices.push_back(std::vector<int>{1});  // "wood"
  run(kCommandSelectGroup);
  ASSERT_EQ(ui.listRequests.size(), 1u);
  EXPECT_EQ(ui.listRequests[0].caption, "Select by Group");
  EXPECT_EQ(ui.listRequests[0].items, (std::vector<std::string>{"metal", "wood"}));
  EXPECT_TRUE(ui.listRequests[0].multiple);
  EXPECT_EQ(selectedFacets(app.store), (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(app.document.selection().selectionActive);
  EXPECT_GT(ui.refreshes, 0);
}

TEST_F(SelectionCommands, CancelledListChangesNothing) {
  run(kCommandSelectAll);
  ui.listChoices.push_back(std::nullopt);
  run(kCommandSelectGroup);
  EXPECT_EQ(selectedFacets(app.store), (std::vector<bool>{true, true, true}));
}

struct AssignCase {
  const char* name;
  std::string typed;
  std::vector<Answer> answers;
  std::vector<std::string> questions;  // texts asked
  std::vector<int> groups;             // per corner afterwards
  int numGroups;
};

// Facet 2 ("metal") is selected before each assignment.
const AssignCase kAssignCases[] = {
    {"existing_name_without_question", "wood", {}, {}, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 2},
    {"new_name_confirmed",
     "stone",
     {Answer::Yes},
     {"Group stone does not exist\ndo you want to create it?"},
     {0, 0, 0, 2, 2, 2, 0, 0, 0},
     3},
    {"new_name_declined",
     "stone",
     {Answer::No},
     {"Group stone does not exist\ndo you want to create it?"},
     {0, 0, 0, 1, 1, 1, 0, 0, 0},
     2},
    {"case_differs_is_a_new_set",
     "Wood",
     {Answer::Yes},
     {"Group Wood does not exist\ndo you want to create it?"},
     {0, 0, 0, 2, 2, 2, 0, 0, 0},
     3},
};

class AssignTest : public SelectionCommands, public ::testing::WithParamInterface<AssignCase> {};

TEST_P(AssignTest, NameDialogAndQuestion) {
  const AssignCase& c = GetParam();
  ui.listChoices.push_back(std::vector<int>{0});  // "metal"
  run(kCommandSelectGroup);
  ASSERT_TRUE(isCommandEnabled(app, kCommandAssignGroup));
  ui.names.push_back(c.typed);
  for (Answer a : c.answers) ui.answers.push_back(a);
  run(kCommandAssignGroup);
  ASSERT_EQ(ui.nameRequests.size(), 1u);
  EXPECT_EQ(ui.nameRequests[0].caption, "Assign Selection to Group");
  EXPECT_EQ(ui.nameRequests[0].items, (std::vector<std::string>{"metal", "wood"}));
  EXPECT_EQ(ui.nameRequests[0].initial, "metal");
  ASSERT_EQ(ui.questions.size(), c.questions.size());
  for (std::size_t i = 0; i < c.questions.size(); ++i) {
    EXPECT_EQ(ui.questions[i].caption, "New Group");
    EXPECT_EQ(ui.questions[i].text, c.questions[i]);
  }
  EXPECT_EQ(groupsOfCorners(app.store), c.groups);
  EXPECT_EQ(app.store.numGroups, c.numGroups);
  EXPECT_TRUE(app.document.selection().selectionActive);
}

INSTANTIATE_TEST_SUITE_P(Names, AssignTest, ::testing::ValuesIn(kAssignCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionCommands, FirstRegionOfAModelComesAfterDefault) {
  ui.listChoices.push_back(std::vector<int>{0});
  run(kCommandSelectGroup);  // facet 2
  ui.names.push_back("rim");
  run(kCommandAssignRegion);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].caption, "New Region");
  EXPECT_EQ(ui.questions[0].text, "Region rim does not exist\ndo you want to create it?");
  EXPECT_EQ(app.store.numRegions, 2);
  EXPECT_STREQ(app.store.regions[0].name, "default");
  EXPECT_STREQ(app.store.regions[1].name, "rim");
  EXPECT_TRUE(isCommandEnabled(app, kCommandSelectRegion));
}

TEST_F(SelectionCommands, AssignNeedsAFacetSelection) {
  struct Case {
    const char* name;
    bool select;
    SelectMethod method;
    bool enabled;
  } cases[] = {
      {"no_selection", false, SelectMethod::ByFacet, false},
      {"facet_selection", true, SelectMethod::ByFacet, true},
      {"vertex_selection", true, SelectMethod::ByVertex, false},
  };
  for (const Case& c : cases) {
    run(kCommandSelectNone);
    run(c.method == SelectMethod::ByFacet ? kCommandSelectByFacet : kCommandSelectByVertex);
    if (c.select) run(kCommandSelectAll);
    EXPECT_EQ(isCommandEnabled(app, kCommandAssignGroup), c.enabled) << c.name;
    EXPECT_EQ(isCommandEnabled(app, kCommandAssignMaterial), c.enabled) << c.name;
    // A disabled assignment run anyway asks nothing and changes nothing.
    const std::size_t asked = ui.nameRequests.size();
    ui.names.push_back("stone");
    run(kCommandAssignGroup);
    EXPECT_EQ(ui.nameRequests.size(), asked + (c.enabled ? 1 : 0)) << c.name;
    ui.names.clear();
  }
}

TEST_F(SelectionCommands, SelectMethodChecksAndCommits) {
  EXPECT_TRUE(isCommandChecked(app, kCommandSelectByFacet));
  EXPECT_FALSE(isCommandChecked(app, kCommandSelectByVertex));
  run(kCommandSelectAll);
  app.document.selection().target.left += 0.25f;
  run(kCommandSelectByFacet);  // already in force: the move stays pending
  EXPECT_TRUE(app.document.selection().selectionActive);
  run(kCommandSelectByVertex);
  EXPECT_FALSE(app.document.selection().selectionActive);
  EXPECT_TRUE(isCommandChecked(app, kCommandSelectByVertex));
  EXPECT_NEAR(app.store.texVertices[0].u, 0.3f, 1e-6);
}

// The view editor's picks walk only the runs of the stream its notes say a
// band can change; a command that selects behind its back must not leave
// those notes standing. With a run per facet: the band over the first facet,
// Select by Group "metal" (the second), then a band over the third facet
// selects the third alone and commits the second's pending frame.
TEST_F(SelectionCommands, BandsAfterACommandSeeWhatItSelected) {
  // Every corner its own texture vertex, as a load leaves them.
  expandTextureVertices(app.store, true);
  app.editor.selectionBlocks().setBlockRecords(1);
  app.view = ViewSize{400, 400};
  app.editor.viewResized(app.view);
  auto band = [&](int left, int top, int right, int bottom) {
    app.editor.mousePress(app.view, ViewButton::Left, left, top);
    app.editor.mouseMove(app.view, right, bottom);
    app.editor.mouseRelease(app.view, ViewButton::Left, right, bottom);
  };
  band(10, 180, 110, 320);
  ASSERT_EQ(selectedFacets(app.store), (std::vector<bool>{true, false, false}));
  // The band left notes that a commit walks through.
  ASSERT_TRUE(app.editor.selectionBlocks().known(app.store));
  ASSERT_TRUE(app.editor.selectionBlocks().ownCorners());
  ui.listChoices.push_back(std::vector<int>{0});  // "metal"
  run(kCommandSelectGroup);
  ASSERT_EQ(selectedFacets(app.store), (std::vector<bool>{false, true, false}));
  // The frame moved down, not yet committed.
  app.document.selection().target.top += 0.125f;
  app.document.selection().target.bottom += 0.125f;
  band(212, 180, 320, 320);
  EXPECT_EQ(selectedFacets(app.store), (std::vector<bool>{false, false, true}));
  // The second facet moved down.
  EXPECT_NEAR(app.store.texVertices[app.store.facetStream[5].texVertex - 1].v, 0.125f, 1e-6);
}

TEST_F(SelectionCommands, InversionCommandsMirrorTheSource) {
  run(kCommandSelectAll);
  const FrameRect before = app.document.selection().source;
  run(kCommandInvertH);
  EXPECT_EQ(app.document.selection().source.left, before.right);
  run(kCommandInvertV);
  EXPECT_EQ(app.document.selection().source.top, before.bottom);
}

TEST_F(SelectionCommands, UndoAndRedoFollowTheHistory) {
  struct Case {
    int position, count;
    bool undo, redo;
  } cases[] = {{-1, 0, false, false},
               {0, 1, false, false},
               {1, 2, true, false},
               {0, 2, false, true},
               {1, 3, true, true}};
  for (const Case& c : cases) {
    app.document.undoHistory() = {c.position, c.count};
    EXPECT_EQ(isCommandEnabled(app, kCommandUndo), c.undo) << c.position << "/" << c.count;
    EXPECT_EQ(isCommandEnabled(app, kCommandRedo), c.redo) << c.position << "/" << c.count;
  }
  app.document.undoHistory() = {1, 3};
  run(kCommandUndo);
  EXPECT_EQ(app.document.undoHistory().position, 0);
  run(kCommandUndo);  // not possible at 0
  EXPECT_EQ(app.document.undoHistory().position, 0);
  run(kCommandRedo);
  run(kCommandRedo);
  run(kCommandRedo);  // not possible at count - 1
  EXPECT_EQ(app.document.undoHistory().position, 2);
  // A fresh model has no history.
  app.document.clearUndoHistory();
  EXPECT_FALSE(isCommandEnabled(app, kCommandUndo));
  EXPECT_FALSE(isCommandEnabled(app, kCommandRedo));
}

TEST_F(SelectionCommands, HotKeysInAnInformationBox) {
  run(kCommandHotKeys);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Corvina");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(ui.messages[0].text.rfind("Shortcut       \tOperation", 0), 0u);
}

TEST_F(SelectionCommands, SelectionCommandsWithoutAModelSayWhy) {
  releaseModel(app.store);
  for (int id : {kCommandSelectAll, kCommandSelectNone, kCommandSelectInverse, kCommandSelectGroup,
                 kCommandAssignGroup}) {
    EXPECT_FALSE(isCommandEnabled(app, id)) << id;
    ui.messages.clear();
    run(id);
    ASSERT_EQ(ui.messages.size(), 1u) << id;
    EXPECT_EQ(ui.messages[0].text, "Please load an OBJ file first");
  }
  EXPECT_TRUE(isCommandEnabled(app, kCommandSelectByVertex));
  EXPECT_TRUE(isCommandEnabled(app, kCommandHotKeys));
}

}  // namespace
}  // namespace corvina
