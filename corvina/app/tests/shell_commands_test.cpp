// The command table's enablement and check marks, the colour modes and the
// User Settings dialog.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/tests/scratch_folder.h"
#include "app/tests/typing_user_interface.h"

namespace corvina {
namespace {

using testing::ScratchFolder;
using testing::TypingUserInterface;

TEST(ShellCommandsTest, EnablementFollowsTheModel) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  const std::set<int> needModel = {kCommandSaveModel, kCommandStatistics, kCommandDimensions};
  const std::set<int> built = {kCommandLoadModel,  kCommandSaveModel,     kCommandSettings,
                               kCommandStatistics, kCommandDimensions,    kCommandColorBlackWhite,
                               kCommandColorGroup, kCommandColorMaterial, kCommandColorRegion,
                               kCommandExit,       kCommandAbout,         kCommandNewDocument,
                               kCommandNextPane,   kCommandPreviousPane};
  // Rows whose handlers other subsystems build and test.
  const std::set<int> builtElsewhere = {
      kCommandPlanar, kCommandBox, kCommandCylindrical, kCommandCylindricalCap, kCommandSpherical,
      kCommandPerFacet, kCommandLastProjection, kCommandTileGroup, kCommandTileMaterial,
      kCommandTileRegion, kCommandRotate, kCommandExportUvs, kCommandImportUvs,
      kCommandSaveTextureMap, kCommandLoadBackground, kCommandClearBackground,
      kCommandFlipBackgroundH, kCommandFlipBackgroundV, kCommandToggleBackground,
      kCommandSelectByFacet, kCommandSelectByVertex, kCommandSelectAll, kCommandSelectNone,
      kCommandSelectInverse, kCommandSelectGroup, kCommandSelectMaterial, kCommandSelectRegion,
      kCommandAssignGroup, kCommandAssignMaterial, kCommandAssignRegion, kCommandInvertH,
      kCommandInvertV, kCommandUndo, kCommandRedo, kCommandHotKeys,
      // mesh tools and primitives
      kCommandTriangulate, kCommandDegenerates, kCommandWeldVertices, kCommandSplitVertices,
      kCommandFixSeams, kCommandSmooth, kCommandNewBox, kCommandNewCone, kCommandNewCylinder,
      kCommandNewSphere, kCommandNewTorus,
      // the texture-map layout
      kCommandPackIslands, kCommandEqualizeDensity, kCommandExportLayout,
      // the distortion display
      kCommandShowStretch, kCommandShowAngleStretch,

      // the 3D preview's dock, which the window opens
      kCommandPreview3d,
      // the view's zoom
      kCommandKeepProportions, kCommandOriginalView, kCommandFrameSelection};
  std::set<int> ids;
  for (const CommandRow& row : commandTable()) {
    SCOPED_TRACE(row.name);
    if (row.id == 0) continue;  // a step without command number
    EXPECT_TRUE(ids.insert(row.id).second) << "command number used twice";
    EXPECT_EQ(findCommand(row.id), &row);
    if (builtElsewhere.contains(row.id)) continue;
    EXPECT_EQ(row.run != nullptr, built.contains(row.id));
    if (built.contains(row.id))
      EXPECT_EQ(isCommandEnabled(app, row.id), !needModel.contains(row.id));
    else
      EXPECT_FALSE(isCommandEnabled(app, row.id)) << "an entry without handler is disabled";
  }

  // A generated model counts as loaded as much as a read one.
  for (int loaded : {kModelRead, kModelGenerated}) {
    app.store.modelLoaded = loaded;
    for (int id : built) EXPECT_TRUE(isCommandEnabled(app, id)) << id;
  }
  EXPECT_FALSE(isCommandEnabled(app, 12345));
  EXPECT_EQ(findCommand(12345), nullptr);
  EXPECT_EQ(findCommand(0), nullptr);
}

TEST(ShellCommandsTest, ExitReleasesTheModelAndClosesTheWindow) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  TypingUserInterface ui;
  CommandContext context{app, ui};
  app.store.modelLoaded = kModelGenerated;
  app.store.vertices.resize(3);
  app.store.numVerts = 3;
  ASSERT_TRUE(runCommand(context, kCommandExit));
  EXPECT_EQ(app.store.modelLoaded, kModelNone);
  EXPECT_TRUE(app.store.vertices.empty());
  EXPECT_EQ(app.store.numVerts, 0);
  EXPECT_EQ(ui.windowCloses, 1);
}

TEST(ShellCommandsTest, ColorCommandsSetTheModeAndMoveTheCheckMark) {
  struct Case {
    int command;
    int mode;
  };
  const Case cases[] = {{kCommandColorGroup, 1},
                        {kCommandColorRegion, 3},
                        {kCommandColorMaterial, 2},
                        {kCommandColorBlackWhite, 0}};
  const int colorCommands[] = {kCommandColorBlackWhite, kCommandColorGroup, kCommandColorMaterial,
                               kCommandColorRegion};
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  TypingUserInterface ui;
  CommandContext context{app, ui};
  EXPECT_TRUE(isCommandChecked(app, kCommandColorBlackWhite));
  int refreshes = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ASSERT_TRUE(runCommand(context, c.command));
    EXPECT_EQ(app.store.colorMode, c.mode);
    EXPECT_EQ(ui.refreshes, ++refreshes);
    for (int other : colorCommands)
      EXPECT_EQ(isCommandChecked(app, other), other == c.command) << other;
  }
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(isCommandChecked(app, kCommandSettings));
}

TEST(ShellCommandsTest, SettingsKeepTheDialogOpenUntilTheValueIsInRange) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    std::vector<float> typed;  // one value per time the dialog opens
    bool cancelLast;
    std::vector<std::string> messages;
    float result;
  };
  const std::string range = "Please enter a number between 1 and 10000.";
  const Case cases[] = {
      {"lower bound", {1}, false, {}, 1},
      {"upper bound", {10000}, false, {}, 10000},
      {"zero, then too large, then fine", {0, 20000, 75.5f}, false, {range, range}, 75.5f},
      {"not a number", {nan, 10}, false, {"Please enter a number."}, 10},
      {"cancel after a bad value", {0, 0}, true, {range}, 50},
      {"cancel at once", {200}, true, {}, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    ApplicationState app(folder.folder());
    TypingUserInterface ui;
    for (float value : c.typed)
      ui.typing.push_back([value](OptionDialog& dialog) {
        *testing::fieldNamed(dialog, "pixelsPerUnit").floatValue = value;
      });
    for (std::size_t i = 0; i < c.typed.size(); ++i)
      ui.optionResults.push_back(!(c.cancelLast && i + 1 == c.typed.size()));
    CommandContext context{app, ui};
    runCommand(context, kCommandSettings);

    EXPECT_EQ(ui.optionDialogs.size(), c.typed.size());
    for (const std::string& caption : ui.optionDialogs) EXPECT_EQ(caption, "User Settings");
    ASSERT_EQ(ui.messages.size(), c.messages.size());
    for (std::size_t i = 0; i < c.messages.size(); ++i)
      EXPECT_EQ(ui.messages[i].text, c.messages[i]);
    EXPECT_EQ(app.store.pixelsPerUnit, c.result);
    EXPECT_EQ(app.options.userSettings.pixelsPerUnit, c.result);
  }
}

TEST(ShellCommandsTest, SettingsShowThePixelsPerUnitInForce) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  app.store.pixelsPerUnit = 64;  // as a loaded file may set it
  TypingUserInterface ui;
  float shown = 0;
  ui.typing.push_back([&](OptionDialog& dialog) {
    shown = *testing::fieldNamed(dialog, "pixelsPerUnit").floatValue;
  });
  ui.optionResults.push_back(false);
  CommandContext context{app, ui};
  runCommand(context, kCommandSettings);
  EXPECT_EQ(shown, 64);
  EXPECT_EQ(app.store.pixelsPerUnit, 64);
}

}  // namespace
}  // namespace corvina
