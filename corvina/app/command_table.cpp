#include "app/command_table.h"

#include <array>

#include "app/color_mode_commands.h"
#include "app/command_ids.h"
#include "app/model_required.h"
#include "model/reports.h"

namespace corvina {

namespace {

bool always(const ApplicationState&) {
  return true;
}
bool modelLoaded(const ApplicationState& app) {
  return app.store.modelLoaded != 0;
}

template <int Mode>
bool colorModeIs(const ApplicationState& app) {
  return app.store.colorMode == Mode;
}

template <int Mode>
void runSetColorMode(CommandContext& context) {
  setColorMode(context.app.store, Mode, context.ui);
}

void runLoadModel(CommandContext& context) {
  context.app.document.loadModel(context.ui);
}

void runSaveModel(CommandContext& context) {
  context.app.document.saveModel(context.app.options.objExport, context.ui);
}

void runSettings(CommandContext& context) {
  editUserSettings(context.app.store, context.app.options.userSettings, context.ui);
}

void runStatistics(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  showStatistics(context.app.store, context.ui);
}

void runDimensions(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  showDimensions(context.app.store, context.app.document.selection().selectionActive, context.ui);
}

constexpr std::array kCommands{
    CommandEntry{kCommandLoadModel, "Open", "&Load Model...\tCtrl+L", "Import an OBJ model", always,
                 nullptr, runLoadModel},
    CommandEntry{kCommandSaveModel, "Export", "&Save Model...\tCtrl+S", "Export an OBJ model",
                 modelLoaded, nullptr, runSaveModel},
    CommandEntry{kCommandSettings, "Settings", "&Settings", "Edit user settings", always, nullptr,
                 runSettings},
    CommandEntry{kCommandColorBlackWhite, "BlackWhite", "&Black and White",
                 "Color texture black and white", always, colorModeIs<kColorModeBlackWhite>,
                 runSetColorMode<kColorModeBlackWhite>},
    CommandEntry{kCommandColorGroup, "ColorGroup", "by &Group", "Color texture map by Group",
                 always, colorModeIs<kColorModeGroup>, runSetColorMode<kColorModeGroup>},
    CommandEntry{kCommandColorMaterial, "ColorMaterial", "by &Material",
                 "Color texture map by Material", always, colorModeIs<kColorModeMaterial>,
                 runSetColorMode<kColorModeMaterial>},
    CommandEntry{kCommandColorRegion, "ColorRegion", "by &Region", "Color texture map by Region",
                 always, colorModeIs<kColorModeRegion>, runSetColorMode<kColorModeRegion>},
    CommandEntry{kCommandStatistics, "Statistics", "&Statistics", "Display Statistics", modelLoaded,
                 nullptr, runStatistics},
    CommandEntry{kCommandDimensions, "Dimensions", "&Dimensions", "Display Dimensions", modelLoaded,
                 nullptr, runDimensions},
};

}  // namespace

std::span<const CommandEntry> commandTable() {
  return kCommands;
}

const CommandEntry* findCommand(int id) {
  for (const CommandEntry& entry : kCommands)
    if (entry.id == id) return &entry;
  return nullptr;
}

bool isCommandEnabled(const ApplicationState& app, int id) {
  const CommandEntry* entry = findCommand(id);
  return entry != nullptr && entry->enabled(app);
}

bool isCommandChecked(const ApplicationState& app, int id) {
  const CommandEntry* entry = findCommand(id);
  return entry != nullptr && entry->checked != nullptr && entry->checked(app);
}

bool runCommand(CommandContext& context, int id) {
  const CommandEntry* entry = findCommand(id);
  if (entry == nullptr) return false;
  entry->run(context);
  return true;
}

}  // namespace corvina
