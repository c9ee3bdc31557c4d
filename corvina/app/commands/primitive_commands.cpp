// The generated models of the "&New Model" menu.

#include <array>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/dialogs/primitive_dialogs.h"
#include "primitives/primitive_generator.h"

namespace corvina {

namespace {

template <typename Options>
using Generator = GenerateOutcome (*)(ModelStore&, SelectionState&, const Options&, std::uint64_t);

// The dialog of a step, over the record in `records` (corvina-cli checks its
// field=value words against it).
template <typename Options, Options OptionRecords::*Record, OptionDialog (*Dialog)(Options&)>
std::optional<OptionDialog> dialogOf(OptionRecords& records) {
  return Dialog(records.*Record);
}

// The dialog starts from its defaults every time; Cancel leaves the old model.
template <typename Options, Options OptionRecords::*Record, OptionDialog (*Dialog)(Options&),
          Generator<Options> Generate>
void runGenerate(CommandContext& context) {
  Options& options = context.app.options.*Record;
  options = Options{};
  OptionDialog dialog = Dialog(options);
  if (!context.ui.editOptions(dialog)) return;
  CorvinaDoc& document = context.app.document;
  context.ui.setBusy(true);
  const GenerateOutcome outcome =
      Generate(context.app.store, document.selection(), options, availableMemoryBytes());
  context.ui.setBusy(false);
  if (outcome == GenerateOutcome::InsufficientMemory) {
    context.ui.showMessage("Error", "Insufficient memory", MessageIcon::Error);
    return;
  }
  context.ui.refreshViews();
}

constexpr std::array kRows{
    CommandRow{.id = kCommandNewBox,
               .name = "Box",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "&Box",
               .menuPosition = 2,
               .statusText = "Create a new Box model",
               .enabled = always,
               .step = "new-box",
               .summary = "generate a box model",
               .dialog = dialogOf<BoxOptions, &OptionRecords::newBox, boxDialog>,
               .run = runGenerate<BoxOptions, &OptionRecords::newBox, boxDialog, generateBox>},
    CommandRow{.id = kCommandNewCone,
               .name = "Cone",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "&Cone",
               .menuPosition = 3,
               .statusText = "Create a new Cone model",
               .enabled = always,
               .step = "new-cone",
               .summary = "generate a cone model",
               .dialog = dialogOf<ConeOptions, &OptionRecords::newCone, coneDialog>,
               .run = runGenerate<ConeOptions, &OptionRecords::newCone, coneDialog, generateCone>},
    CommandRow{.id = kCommandNewCylinder,
               .name = "Cylinder",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "C&ylinder",
               .menuPosition = 4,
               .statusText = "Create a new Cylinder model",
               .enabled = always,
               .step = "new-cylinder",
               .summary = "generate a cylinder model",
               .dialog = dialogOf<CylinderOptions, &OptionRecords::newCylinder, cylinderDialog>,
               .run = runGenerate<CylinderOptions, &OptionRecords::newCylinder, cylinderDialog,
                                  generateCylinder>},
    CommandRow{
        .id = kCommandNewSphere,
        .name = "Sphere",
        .menu = "&File",
        .submenu = "&New Model",
        .menuText = "&Sphere",
        .menuPosition = 5,
        .statusText = "Create a new Sphere model",
        .enabled = always,
        .step = "new-sphere",
        .summary = "generate a sphere model",
        .dialog = dialogOf<SphereOptions, &OptionRecords::newSphere, sphereDialog>,
        .run = runGenerate<SphereOptions, &OptionRecords::newSphere, sphereDialog, generateSphere>},
    CommandRow{
        .id = kCommandNewTorus,
        .name = "Torus",
        .menu = "&File",
        .submenu = "&New Model",
        .menuText = "&Torus",
        .menuPosition = 6,
        .statusText = "Create a new Torus model",
        .enabled = always,
        .step = "new-torus",
        .summary = "generate a torus model",
        .dialog = dialogOf<TorusOptions, &OptionRecords::newTorus, torusDialog>,
        .run = runGenerate<TorusOptions, &OptionRecords::newTorus, torusDialog, generateTorus>},
};

}  // namespace

std::span<const CommandRow> primitiveCommandRows() {
  return kRows;
}

}  // namespace corvina
