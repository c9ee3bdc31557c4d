// The command table as the window and corvina-cli read it: one row per
// command, a consistent menu, every step of the command line, and the
// enablement rules.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/tests/scratch_folder.h"

namespace corvina {
namespace {

using testing::ScratchFolder;

// Every step of the command-line contract.
const std::set<std::string> kContractSteps = {"load",
                                              "save-obj",
                                              "export-uvs",
                                              "import-uvs",
                                              "save-bmp",
                                              "stats",
                                              "dims",
                                              "settings",
                                              "color",
                                              "select-method",
                                              "new-box",
                                              "new-cone",
                                              "new-cylinder",
                                              "new-sphere",
                                              "new-torus",
                                              "planar",
                                              "box",
                                              "cylindrical",
                                              "cylindrical-cap",
                                              "spherical",
                                              "per-facet",
                                              "last-projection",
                                              "tile-group",
                                              "tile-material",
                                              "tile-region",
                                              "rotate",
                                              "select-all",
                                              "select-none",
                                              "select-inverse",
                                              "select-group",
                                              "select-material",
                                              "select-region",
                                              "assign-group",
                                              "assign-material",
                                              "assign-region",
                                              "triangulate",
                                              "degenerates",
                                              "weld",
                                              "split-vertices",
                                              "fix-seams",
                                              "smooth",
                                              "band",
                                              "click",
                                              "right-click",
                                              "drag",
                                              "key",
                                              "invert-h",
                                              "invert-v",
                                              "background",
                                              "background-clear",
                                              "background-flip-h",
                                              "background-flip-v",
                                              "background-toggle",
                                              "render"};

// The steps beyond the contract: the texture-map layout.
const std::set<std::string> kLayoutSteps = {"pack", "equalize-density", "export-png", "export-svg"};

// The steps of the distortion display.
const std::set<std::string> kStretchSteps = {"show-stretch", "show-angle-stretch", "stretch"};

// The steps beyond the contract: the edit history.
const std::set<std::string> kHistorySteps = {"undo", "redo"};

TEST(CommandTableTest, EveryRowIsConsistent) {
  std::set<int> ids;
  std::set<int> positions;
  std::set<std::string> steps;
  for (const CommandRow& row : commandTable()) {
    SCOPED_TRACE(std::string(row.name));
    if (row.id != 0) {
      EXPECT_TRUE(ids.insert(row.id).second) << "number used twice";
      EXPECT_NE(row.enabled, nullptr) << "a command needs an enable rule";
    } else {
      EXPECT_FALSE(row.step.empty()) << "a row without number is a step";
      EXPECT_TRUE(row.menuText.empty());
    }
    if (!row.step.empty()) steps.insert(std::string(row.step));
    if (!row.menuText.empty()) {
      EXPECT_TRUE(positions.insert(row.menuPosition).second) << "menu position used twice";
      EXPECT_FALSE(row.menu.empty());
      // The accelerator the entry shows is the key that issues it.
      std::string_view text = row.menuText;
      std::size_t tab = text.find('\t');
      EXPECT_EQ(tab == std::string_view::npos ? std::string_view() : text.substr(tab + 1),
                row.keys);
    } else {
      EXPECT_EQ(row.menuPosition, 0);
    }
    if (row.argument == StepArgument::Pixels) {
      EXPECT_GT(row.pixelCount, 0);
    }
    if (row.argument == StepArgument::Word) {
      EXPECT_FALSE(row.words.empty());
    }
    if (row.argument != StepArgument::None) {
      EXPECT_FALSE(row.argumentName.empty());
    }
  }
  std::set<std::string> expectedSteps = kContractSteps;
  expectedSteps.insert(kLayoutSteps.begin(), kLayoutSteps.end());
  expectedSteps.insert(kStretchSteps.begin(), kStretchSteps.end());
  expectedSteps.insert(kHistorySteps.begin(), kHistorySteps.end());
  expectedSteps.insert("render-3d");
  EXPECT_EQ(steps, expectedSteps);
  // The menu has 51 entries, numbered without gaps: the 42 of the original
  // menu, then the layout entries, the stretch view, the 3D preview and the
  // view's zoom after them.
  ASSERT_EQ(positions.size(), 51u);
  EXPECT_EQ(*positions.begin(), 1);
  EXPECT_EQ(*positions.rbegin(), 51);
  std::vector<const CommandRow*> menu = menuRows();
  ASSERT_EQ(menu.size(), 51u);
  EXPECT_EQ(menu.front()->id, kCommandLoadModel);
  EXPECT_EQ(menu[41]->id, kCommandAbout);
  EXPECT_EQ(menu[42]->id, kCommandPackIslands);
  EXPECT_EQ(menu[43]->id, kCommandEqualizeDensity);
  EXPECT_EQ(menu[44]->id, kCommandExportLayout);
  EXPECT_EQ(menu[45]->id, kCommandShowStretch);
  EXPECT_EQ(menu[46]->id, kCommandShowAngleStretch);
  EXPECT_EQ(menu[47]->id, kCommandPreview3d);
  EXPECT_EQ(menu[48]->id, kCommandKeepProportions);
  EXPECT_EQ(menu[49]->id, kCommandOriginalView);
  EXPECT_EQ(menu[50]->id, kCommandFrameSelection);
}

TEST(CommandTableTest, StepsWhoseWordPicksTheCommand) {
  struct Case {
    const char* step;
    std::vector<std::pair<std::string, int>> words;  // word -> command, in number order
  };
  const Case cases[] = {
      {"color",
       {{"bw", kCommandColorBlackWhite},
        {"group", kCommandColorGroup},
        {"material", kCommandColorMaterial},
        {"region", kCommandColorRegion}}},
      {"select-method", {{"facet", kCommandSelectByFacet}, {"vertex", kCommandSelectByVertex}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    std::vector<const CommandRow*> rows = stepRows(c.step);
    ASSERT_EQ(rows.size(), c.words.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i]->argument, StepArgument::RowWord);
      EXPECT_EQ(rows[i]->rowWord, c.words[i].first);
      EXPECT_EQ(rows[i]->id, c.words[i].second);
    }
  }
  EXPECT_TRUE(stepRows("no-such-step").empty());
  EXPECT_TRUE(stepRows("").empty());
}

// The rule of each row alone, whether or not its handler is built yet.
std::set<int> menuEntriesWhoseRuleHolds(const ApplicationState& app) {
  std::set<int> enabled;
  for (const CommandRow* row : menuRows())
    if (row->enabled(app)) enabled.insert(row->id);
  return enabled;
}

TEST(CommandTableTest, BeforeAnyModelOnlyTheModelFreeEntriesAreEnabled) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  const std::set<int> expected = {
      kCommandLoadModel,     kCommandNewBox,           kCommandNewCone,    kCommandNewSphere,
      kCommandNewCylinder,   kCommandNewTorus,         kCommandExit,       kCommandSettings,
      kCommandSelectByFacet, kCommandSelectByVertex,   kCommandColorGroup, kCommandColorMaterial,
      kCommandColorRegion,   kCommandColorBlackWhite,  kCommandHotKeys,    kCommandAbout,
      kCommandShowStretch,   kCommandShowAngleStretch, kCommandPreview3d};
  EXPECT_EQ(menuEntriesWhoseRuleHolds(app), expected);
}

void loadSquare(ApplicationState& app, int groups, int materials, int regions, bool withUvs) {
  ModelStore& store = app.store;
  store.modelLoaded = kModelRead;
  store.numGroups = groups;
  store.numMaterials = materials;
  store.numRegions = regions;
  store.facetStream = {{kSeparator}, {1, 1}, {2, 2}, {3, 3}, {kEndOfList}};
  store.numCornerRecords = 5;
  store.numFacets = 1;
  const TexVertex none{kNoUvU, kNoUvV, 0};
  store.texVertices = withUvs ? std::vector<TexVertex>{none, {0.5f, 0.5f, 0}, none}
                              : std::vector<TexVertex>{none, none, none};
  store.numTVerts = 3;
}

TEST(CommandTableTest, EnablementFollowsTheModelTheSelectionAndTheHistory) {
  using Setup = std::function<void(ApplicationState&)>;
  struct Case {
    const char* what;
    Setup setup;
    std::map<int, bool> expected;
  };
  auto square = [](int groups, int materials, int regions, bool withUvs) {
    return [=](ApplicationState& app) { loadSquare(app, groups, materials, regions, withUvs); };
  };
  auto then = [](Setup first, Setup second) {
    return [=](ApplicationState& app) {
      first(app);
      second(app);
    };
  };
  auto vertexSelection = [](ApplicationState& app) {
    app.document.selection().selectionActive = true;
    app.document.selection().selectMethod = SelectMethod::ByVertex;
  };
  auto facetSelection = [](ApplicationState& app) {
    app.document.selection().selectionActive = true;
  };
  const Case cases[] = {
      {"groups but no materials",
       square(1, 0, 0, true),
       {{kCommandSelectGroup, true},
        {kCommandTileGroup, true},
        {kCommandSelectMaterial, false},
        {kCommandTileMaterial, false},
        {kCommandSelectRegion, false},
        {kCommandTileRegion, false},
        {kCommandSaveModel, true},
        {kCommandImportUvs, true}}},
      {"regions only",
       square(0, 0, 2, true),
       {{kCommandSelectGroup, false}, {kCommandSelectRegion, true}, {kCommandTileRegion, true}}},
      {"no texture coordinates: only no-UV markers",
       square(0, 0, 0, false),
       {{kCommandSaveTextureMap, false},
        {kCommandExportUvs, false},
        {kCommandPlanar, true},
        {kCommandPackIslands, false},
        {kCommandEqualizeDensity, false},
        {kCommandExportLayout, false}}},
      {"one texture coordinate",
       square(0, 0, 0, true),
       {{kCommandSaveTextureMap, true},
        {kCommandExportUvs, true},
        {kCommandPackIslands, true},
        {kCommandEqualizeDensity, true},
        {kCommandExportLayout, true}}},
      {"texture index past the array counts as none",
       then(square(0, 0, 0, true),
            [](ApplicationState& app) { app.store.facetStream[2].texVertex = 9; }),
       {{kCommandSaveTextureMap, false}}},
      {"no selection: nothing to assign",
       square(1, 1, 1, true),
       {{kCommandAssignGroup, false}, {kCommandAssignMaterial, false}}},
      {"a facet selection can be assigned and mapped",
       then(square(1, 1, 1, true), facetSelection),
       {{kCommandAssignGroup, true},
        {kCommandAssignMaterial, true},
        {kCommandAssignRegion, true},
        {kCommandPlanar, true},
        {kCommandPerFacet, true}}},
      {"a vertex selection can be neither",
       then(square(1, 1, 1, true), vertexSelection),
       {{kCommandAssignRegion, false},
        {kCommandPlanar, false},
        {kCommandSpherical, false},
        {kCommandPerFacet, false}}},
      {"last projection needs one made", square(0, 0, 0, true), {{kCommandLastProjection, false}}},
      {"last projection after one",
       then(square(0, 0, 0, true),
            [](ApplicationState& app) { app.document.setProjectionKind(ProjectionKind::Box); }),
       {{kCommandLastProjection, true}}},
      {"last projection not with a vertex selection",
       then(then(square(0, 0, 0, true), vertexSelection),
            [](ApplicationState& app) { app.document.setProjectionKind(ProjectionKind::Box); }),
       {{kCommandLastProjection, false}}},
      {"a fresh history allows neither undo nor redo",
       [](ApplicationState&) {},
       {{kCommandUndo, false}, {kCommandRedo, false}}},
      {"in the middle of a history both",
       [](ApplicationState& app) {
         app.document.undoHistory() = {1, 3};
       },
       {{kCommandUndo, true}, {kCommandRedo, true}}},
      {"at the last step only undo",
       [](ApplicationState& app) {
         app.document.undoHistory() = {2, 3};
       },
       {{kCommandUndo, true}, {kCommandRedo, false}}},
      {"without a model the tools are off, smoothing and the keys on",
       [](ApplicationState&) {},
       {{kCommandTriangulate, false},
        {kCommandDegenerates, false},
        {kCommandSelectInverse, false},
        {kCommandSmooth, true},
        {kCommandLoadBackground, true},
        {kCommandToggleBackground, true},
        {kCommandInvertH, true},
        {kCommandNewDocument, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    ApplicationState app(folder.folder());
    c.setup(app);
    for (const auto& [id, enabled] : c.expected) {
      const CommandRow* row = findCommand(id);
      ASSERT_NE(row, nullptr) << id;
      EXPECT_EQ(row->enabled(app), enabled) << row->name;
    }
  }
}

TEST(CommandTableTest, SelectMethodMovesTheCheckMark) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  EXPECT_TRUE(isCommandChecked(app, kCommandSelectByFacet));
  EXPECT_FALSE(isCommandChecked(app, kCommandSelectByVertex));
  app.document.selection().selectMethod = SelectMethod::ByVertex;
  EXPECT_FALSE(isCommandChecked(app, kCommandSelectByFacet));
  EXPECT_TRUE(isCommandChecked(app, kCommandSelectByVertex));
}

TEST(CommandTableTest, CommandsNotBuiltAreRefused) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  loadSquare(app, 1, 1, 1, true);
  for (const CommandRow& row : commandTable()) {
    if (row.run != nullptr || row.id == 0) continue;
    SCOPED_TRACE(std::string(row.name));
    EXPECT_FALSE(isCommandEnabled(app, row.id));
  }
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

struct UndoCase {
  int position, count;
  bool canUndo, canRedo;
  int afterUndo, afterRedo;
};

TEST(UndoHistoryTest, EnablementFollowsPositionAndCount) {
  const UndoCase cases[] = {
      {-1, 0, false, false, -1, -1},  // as it starts
      {0, 1, false, false, 0, 0},    {1, 2, true, false, 0, 1},
      {0, 2, false, true, 0, 1},     {1, 3, true, true, 0, 2},
  };
  for (const UndoCase& c : cases) {
    UndoHistory history{c.position, c.count};
    EXPECT_EQ(history.canUndo(), c.canUndo);
    EXPECT_EQ(history.canRedo(), c.canRedo);
    UndoHistory undone = history;
    undone.undo();
    EXPECT_EQ(undone.position, c.afterUndo);
    UndoHistory redone = history;
    redone.redo();
    EXPECT_EQ(redone.position, c.afterRedo);
  }
  UndoHistory fresh;
  EXPECT_FALSE(fresh.canUndo());
  EXPECT_FALSE(fresh.canRedo());
}

}  // namespace
}  // namespace corvina
