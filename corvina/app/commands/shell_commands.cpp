// The shell's commands: loading and saving the model, the user settings, the
// colour modes, the reports, About and Exit, and the framework's keys.

#include <array>

#include "app/color_mode_commands.h"
#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/dialogs/obj_export_dialog.h"
#include "app/model_required.h"
#include "app/report_messages.h"
#include "model/reports.h"

namespace corvina {

namespace {

std::optional<OptionDialog> objExportDialog(OptionRecords& records) {
  return objExportOptionsDialog(records.objExport);
}

std::optional<OptionDialog> settingsDialog(OptionRecords& records) {
  return userSettingsDialog(records.userSettings);
}

void runLoadModel(CommandContext& context) {
  context.app.document.loadModel(context.ui);
}

void runSaveModel(CommandContext& context) {
  context.app.document.saveModel(context.app.options.objExport, context.ui);
}

void runExit(CommandContext& context) {
  releaseModel(context.app.store);
  context.ui.closeMainWindow();
}

void runSettings(CommandContext& context) {
  editUserSettings(context.app.store, context.app.options.userSettings, context.ui);
}

template <int Mode>
void runSetColorMode(CommandContext& context) {
  setColorMode(context.app.store, Mode, context.ui);
}

void runStatistics(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  showStatistics(context.app.store, context.ui);
}

void runDimensions(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  showDimensions(context.app.store, context.app.document.selection().selectionActive, context.ui);
}

void runAbout(CommandContext& context) {
  context.ui.showMessage("About Corvina",
                         "Corvina 1.0\n"
                         "An editor of the texture coordinates of OBJ models.\n"
                         "\n"
                         "Free to use, copy and change; it comes without any warranty.",
                         MessageIcon::Information);
}

// The framework's new document leaves the model store as it is, and the pane
// keys have no pane to switch to in this single-pane window.
void runNothing(CommandContext&) {}

constexpr std::array kRows{
    CommandRow{.id = kCommandLoadModel,
               .name = "Open",
               .menu = "&File",
               .menuText = "&Load Model...\tCtrl+L",
               .menuPosition = 1,
               .keys = "Ctrl+L",
               .statusText = "Import an OBJ model",
               .enabled = always,
               .step = "load",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .takesAnswer = true,
               .summary = "load an OBJ model (&Load Model...)",
               .touches = kPartNone,
               .run = runLoadModel},
    CommandRow{.id = kCommandSaveModel,
               .name = "Export",
               .menu = "&File",
               .menuText = "&Save Model...\tCtrl+S",
               .menuPosition = 8,
               .keys = "Ctrl+S",
               .statusText = "Export an OBJ model",
               .enabled = modelLoaded,
               .answersMissingModel = true,
               .step = "save-obj",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "save the model as OBJ (&Save Model...)",
               .dialog = objExportDialog,
               // Writing commits a pending move and leaves the texture
               // vertices expanded.
               .touches = kPartTexVertices | kPartFacetStream,
               .run = runSaveModel},
    CommandRow{.id = kCommandStatistics,
               .name = "Statistics",
               .menu = "&Help",
               .menuText = "&Statistics",
               .menuPosition = 39,
               .statusText = "Display Statistics",
               .enabled = modelLoaded,
               .step = "stats",
               .summary = "show the model's statistics",
               .touches = kPartNone,
               .run = runStatistics},
    CommandRow{.id = kCommandDimensions,
               .name = "Dimensions",
               .menu = "&Help",
               .menuText = "&Dimensions",
               .menuPosition = 40,
               .statusText = "Display Dimensions",
               .enabled = modelLoaded,
               .step = "dims",
               .summary = "show the model's dimensions",
               .touches = kPartNone,
               .run = runDimensions},
    CommandRow{.id = kCommandSettings,
               .name = "Settings",
               .menu = "&Edit",
               .menuText = "&Settings",
               .menuPosition = 12,
               .statusText = "Edit user settings",
               .enabled = always,
               .step = "settings",
               .summary = "edit the user settings",
               .dialog = settingsDialog,
               .touches = kPartNone,
               .run = runSettings},
    // The four colour rows share the step `color`; its word picks the row,
    // and the words' order gives their numbers 0 to 3.
    CommandRow{.id = kCommandColorBlackWhite,
               .name = "BlackWhite",
               .menu = "&Edit",
               .submenu = "Color",
               .menuText = "&Black and White",
               .menuPosition = 15,
               .statusText = "Color texture black and white",
               .enabled = always,
               .checked = colorModeIs<kColorModeBlackWhite>,
               .step = "color",
               .argument = StepArgument::RowWord,
               .argumentName = "MODE",
               .rowWord = "bw",
               .summary = "colour the texture map: bw, group, material, region or 0 to 3",
               .touches = kPartNone,
               .run = runSetColorMode<kColorModeBlackWhite>},
    CommandRow{.id = kCommandColorGroup,
               .name = "ColorGroup",
               .menu = "&Edit",
               .submenu = "Color",
               .menuText = "by &Group",
               .menuPosition = 16,
               .statusText = "Color texture map by Group",
               .enabled = always,
               .checked = colorModeIs<kColorModeGroup>,
               .step = "color",
               .argument = StepArgument::RowWord,
               .argumentName = "MODE",
               .rowWord = "group",
               .touches = kPartNone,
               .run = runSetColorMode<kColorModeGroup>},
    CommandRow{.id = kCommandColorMaterial,
               .name = "ColorMaterial",
               .menu = "&Edit",
               .submenu = "Color",
               .menuText = "by &Material",
               .menuPosition = 17,
               .statusText = "Color texture map by Material",
               .enabled = always,
               .checked = colorModeIs<kColorModeMaterial>,
               .step = "color",
               .argument = StepArgument::RowWord,
               .argumentName = "MODE",
               .rowWord = "material",
               .touches = kPartNone,
               .run = runSetColorMode<kColorModeMaterial>},
    CommandRow{.id = kCommandColorRegion,
               .name = "ColorRegion",
               .menu = "&Edit",
               .submenu = "Color",
               .menuText = "by &Region",
               .menuPosition = 18,
               .statusText = "Color texture map by Region",
               .enabled = always,
               .checked = colorModeIs<kColorModeRegion>,
               .step = "color",
               .argument = StepArgument::RowWord,
               .argumentName = "MODE",
               .rowWord = "region",
               .touches = kPartNone,
               .run = runSetColorMode<kColorModeRegion>},
    CommandRow{.id = kCommandExit,
               .name = "Exit",
               .menu = "&File",
               .menuText = "E&xit\tAlt+F4",
               .menuPosition = 11,
               .keys = "Alt+F4",
               .statusText = "Quit the application",
               .enabled = always,
               .run = runExit},
    CommandRow{.id = kCommandAbout,
               .name = "About",
               .menu = "&Help",
               .menuText = "&About Corvina",
               .menuPosition = 42,
               .statusText = "Display Program Information",
               .enabled = always,
               .touches = kPartNone,
               .run = runAbout},
    CommandRow{.id = kCommandNewDocument,
               .name = "New",
               .keys = "Ctrl+N",
               .enabled = always,
               .touches = kPartNone,
               .run = runNothing},
    CommandRow{.id = kCommandNextPane,
               .name = "NextPane",
               .keys = "F6",
               .enabled = always,
               .touches = kPartNone,
               .run = runNothing},
    CommandRow{.id = kCommandPreviousPane,
               .name = "PrevPane",
               .keys = "Shift+F6",
               .enabled = always,
               .touches = kPartNone,
               .run = runNothing},
};

}  // namespace

std::span<const CommandRow> shellCommandRows() {
  return kRows;
}

}  // namespace corvina
