#include "app/cli/step_catalogue.h"

#include <array>

#include "app/cli/parsed_command_line.h"
#include "app/color_mode_commands.h"
#include "app/command_ids.h"

namespace corvina::cli {

namespace {

// Every step of the command-line contract. Only some run yet, but all of them
// end the argument list of the step before, so a script written for the full
// set already splits the same way.
constexpr std::array<std::string_view, 54> kStepNames{"load",
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

std::optional<OptionDialog> noDialog(OptionRecords&) {
  return std::nullopt;
}

std::optional<OptionDialog> objExportDialog(OptionRecords& records) {
  return objExportOptionsDialog(records.objExport);
}

std::optional<OptionDialog> settingsDialog(OptionRecords& records) {
  return userSettingsDialog(records.userSettings);
}

template <int Id>
int fixedCommand(const ParsedStep&) {
  return Id;
}

int colorCommand(const ParsedStep& step) {
  switch (step.colorMode) {
    case kColorModeGroup:
      return kCommandColorGroup;
    case kColorModeMaterial:
      return kCommandColorMaterial;
    case kColorModeRegion:
      return kCommandColorRegion;
    default:
      return kCommandColorBlackWhite;
  }
}

constexpr std::array kAvailableSteps{
    StepDefinition{"load", StepArgument::Path, "PATH", true, "load an OBJ model (&Load Model...)",
                   noDialog, fixedCommand<kCommandLoadModel>},
    StepDefinition{"save-obj", StepArgument::Path, "PATH", false,
                   "save the model as OBJ (&Save Model...)", objExportDialog,
                   fixedCommand<kCommandSaveModel>},
    StepDefinition{"stats", StepArgument::None, "", false, "show the model's statistics", noDialog,
                   fixedCommand<kCommandStatistics>},
    StepDefinition{"dims", StepArgument::None, "", false, "show the model's dimensions", noDialog,
                   fixedCommand<kCommandDimensions>},
    StepDefinition{"settings", StepArgument::None, "", false, "edit the user settings",
                   settingsDialog, fixedCommand<kCommandSettings>},
    StepDefinition{"color", StepArgument::ColorMode, "MODE", false,
                   "colour the texture map: bw, group, material, region or 0 to 3", noDialog,
                   colorCommand},
};

}  // namespace

bool isStepName(std::string_view word) {
  for (std::string_view name : kStepNames)
    if (name == word) return true;
  return false;
}

std::span<const std::string_view> allStepNames() {
  return kStepNames;
}

std::span<const StepDefinition> availableSteps() {
  return kAvailableSteps;
}

const StepDefinition* findAvailableStep(std::string_view name) {
  for (const StepDefinition& definition : kAvailableSteps)
    if (definition.name == name) return &definition;
  return nullptr;
}

OptionField colorModeField(int& mode) {
  OptionField field;
  field.name = "MODE";
  field.label = "Color";
  field.kind = OptionField::Kind::Choice;
  field.intValue = &mode;
  field.choices = {"bw", "group", "material", "region"};
  return field;
}

}  // namespace corvina::cli
