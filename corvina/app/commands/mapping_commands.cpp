// The projections of the "&New UV Map" menu, per-facet mapping, Last
// Projection, tiling and model rotation.

#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/dialogs/mapping_dialogs.h"
#include "app/model_required.h"
#include "app/option_text.h"
#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/model_rotation.h"
#include "mapping/per_facet_mapping.h"
#include "mapping/planar_mapping.h"
#include "mapping/spherical_mapping.h"
#include "mapping/tiling.h"

namespace corvina {

namespace {

// The caption the dialogs' own validation messages carry: the program's title.
constexpr const char* kValidationCaption = "Corvina";

std::string wholeNumberText(double value) {
  return std::to_string(static_cast<long long>(value));
}

// The framework's message for the first edit whose value it would refuse, or
// nothing when every value fits.
std::optional<std::string> refusedValue(const OptionDialog& dialog) {
  for (const OptionField& field : dialog.fields) {
    const bool ranged = field.minimum != 0 || field.maximum != 0;
    if (field.kind == OptionField::Kind::Int && !fieldRangeHolds(field, *field.intValue)) {
      return "Please enter an integer between " + wholeNumberText(field.minimum) + " and " +
             wholeNumberText(field.maximum) + ".";
    }
    if (field.kind == OptionField::Kind::Float && !fieldRangeHolds(field, *field.floatValue)) {
      if (!ranged || !std::isfinite(*field.floatValue)) return "Please enter a number.";
      return "Please enter a number between " + floatText(static_cast<float>(field.minimum)) +
             " and " + floatText(static_cast<float>(field.maximum)) + ".";
    }
  }
  return std::nullopt;
}

// Shows the dialog over a copy of `record` until its values pass the range
// checks, the way the framework keeps a dialog open on a refused value; the
// record takes the values only on OK. False on Cancel.
template <typename Record, typename Describe>
bool editRecord(Record& record, Describe describe, UserInterface& ui) {
  Record edited = record;
  OptionDialog dialog = describe(edited);
  for (;;) {
    if (!ui.editOptions(dialog)) return false;
    const std::optional<std::string> refused = refusedValue(dialog);
    if (!refused) break;
    ui.showMessage(kValidationCaption, *refused, MessageIcon::Warning);
  }
  record = edited;
  return true;
}

bool editProjectionRecord(ProjectionKind kind, MappingRecords& records, UserInterface& ui) {
  switch (kind) {
    case ProjectionKind::Planar:
      return editRecord(records.planar, planarMappingDialog, ui);
    case ProjectionKind::Box:
      return editRecord(records.box, boxMappingDialog, ui);
    case ProjectionKind::Cylindrical:
      return editRecord(
          records.cylindrical,
          [](RadialMappingOptions& o) { return radialMappingDialog(o, RadialKind::Cylindrical); },
          ui);
    case ProjectionKind::CylindricalCap:
      return editRecord(
          records.cylindricalCap,
          [](RadialMappingOptions& o) {
            return radialMappingDialog(o, RadialKind::CylindricalCap);
          },
          ui);
    case ProjectionKind::Spherical:
      return editRecord(
          records.spherical,
          [](RadialMappingOptions& o) { return radialMappingDialog(o, RadialKind::Spherical); },
          ui);
    case ProjectionKind::PerFacet:
      return editRecord(records.perFacet, perFacetMappingDialog, ui);
    case ProjectionKind::None:
      break;
  }
  return false;
}

MappingOutcome project(ProjectionKind kind, ApplicationState& app) {
  MappingRecords& records = app.options.mapping;
  ModelStore& store = app.store;
  SelectionState& selection = app.document.selection();
  const ViewSize square = squareSize(app);
  const ClientSize view{square.width, square.height};
  switch (kind) {
    case ProjectionKind::Planar:
      return planarMapping(store, selection, records.planar, view);
    case ProjectionKind::Box:
      return boxMapping(store, selection, records.box, view);
    case ProjectionKind::Cylindrical:
      return cylindricalMapping(store, selection, records.cylindrical, view);
    case ProjectionKind::CylindricalCap:
      return cylindricalCapMapping(store, selection, records.cylindricalCap, view);
    case ProjectionKind::Spherical:
      return sphericalMapping(store, selection, records.spherical, view);
    case ProjectionKind::PerFacet:
      return perFacetMapping(store, records.perFacet);
    case ProjectionKind::None:
      break;
  }
  return MappingOutcome::Mapped;
}

void reportNoMemory(UserInterface& ui) {
  ui.showMessage("Error", "Insufficient memory", MessageIcon::Error);
}

// Every projection command: the model check, the per-facet triangulation
// check, the dialog, the projection, the repaint, the recorded kind, and the
// pending move of an active selection.
void runProjection(CommandContext& context, ProjectionKind kind) {
  ApplicationState& app = context.app;
  UserInterface& ui = context.ui;
  if (!requireModel(app.store, ui)) return;
  if (kind == ProjectionKind::PerFacet && hasFacetsBeyondTriangles(app.store)) {
    ui.showMessage("Report", "Object must first be triangulated\n You can do this by pressing 't'",
                   MessageIcon::None);
    return;
  }
  if (!editProjectionRecord(kind, app.options.mapping, ui)) return;
  ui.setBusy(true);
  const MappingOutcome outcome = project(kind, app);
  ui.setBusy(false);
  if (outcome == MappingOutcome::InsufficientMemory) {
    reportNoMemory(ui);
    return;
  }
  ui.refreshViews();
  app.document.setProjectionKind(kind);
  SelectionState& selection = app.document.selection();
  if (selection.selectionActive) applyPendingMove(app.store, selection);
}

template <ProjectionKind Kind>
void runMapping(CommandContext& context) {
  runProjection(context, Kind);
}

void runLastProjection(CommandContext& context) {
  const ProjectionKind kind = context.app.document.projectionKind();
  if (kind == ProjectionKind::None) return;
  runProjection(context, kind);
}

template <SetKind Kind>
void runTile(CommandContext& context) {
  ApplicationState& app = context.app;
  UserInterface& ui = context.ui;
  if (!requireModel(app.store, ui)) return;
  if (!editRecord(app.options.mapping.tile, tileOptionsDialog, ui)) return;
  if (tileBySet(app.store, app.document.selection(), Kind, app.options.mapping.tile) ==
      MappingOutcome::InsufficientMemory) {
    reportNoMemory(ui);
    return;
  }
  ui.refreshViews();
}

void runRotate(CommandContext& context) {
  ApplicationState& app = context.app;
  if (!requireModel(app.store, context.ui)) return;
  MappingRecords& records = app.options.mapping;
  // OK or Cancel, the model takes the record's angles: after Cancel they are
  // the ones in force, so the model keeps its orientation.
  editRecord(records.rotate, rotateModelDialog, context.ui);
  rotateModel(app.store, records.rotate, records.degreeTables);
}

std::optional<OptionDialog> planarDialog(OptionRecords& records) {
  return planarMappingDialog(records.mapping.planar);
}
std::optional<OptionDialog> boxDialog(OptionRecords& records) {
  return boxMappingDialog(records.mapping.box);
}
std::optional<OptionDialog> cylindricalDialog(OptionRecords& records) {
  return radialMappingDialog(records.mapping.cylindrical, RadialKind::Cylindrical);
}
std::optional<OptionDialog> cylindricalCapDialog(OptionRecords& records) {
  return radialMappingDialog(records.mapping.cylindricalCap, RadialKind::CylindricalCap);
}
std::optional<OptionDialog> sphericalDialog(OptionRecords& records) {
  return radialMappingDialog(records.mapping.spherical, RadialKind::Spherical);
}
std::optional<OptionDialog> perFacetDialog(OptionRecords& records) {
  return perFacetMappingDialog(records.mapping.perFacet);
}
std::optional<OptionDialog> tileDialog(OptionRecords& records) {
  return tileOptionsDialog(records.mapping.tile);
}
std::optional<OptionDialog> rotateDialog(OptionRecords& records) {
  return rotateModelDialog(records.mapping.rotate);
}

// The commands Last Projection repeats, dialog and all.
constexpr std::array kProjectionCommands{kCommandPlanar,      kCommandBox,
                                         kCommandCylindrical, kCommandCylindricalCap,
                                         kCommandSpherical,   kCommandPerFacet};

constexpr std::array kRows{
    CommandRow{.id = kCommandPlanar,
               .name = "Planar",
               .menu = "&Edit",
               .submenu = "&New UV Map",
               .menuText = "&Planar",
               .menuPosition = 31,
               .statusText = "Create a new UV map",
               .enabled = projectionAllowed,
               .answersMissingModel = true,
               .step = "planar",
               .summary = "planar mapping (&Planar)",
               .dialog = planarDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runMapping<ProjectionKind::Planar>},
    CommandRow{.id = kCommandBox,
               .name = "Box",
               .menu = "&Edit",
               .submenu = "&New UV Map",
               .menuText = "&Box",
               .menuPosition = 32,
               .statusText = "Create a new UV map",
               .enabled = projectionAllowed,
               .answersMissingModel = true,
               .step = "box",
               .summary = "box mapping (&Box)",
               .dialog = boxDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runMapping<ProjectionKind::Box>},
    CommandRow{.id = kCommandCylindrical,
               .name = "Cylinder",
               .menu = "&Edit",
               .submenu = "&New UV Map",
               .menuText = "&Cylindrical",
               .menuPosition = 33,
               .statusText = "Create a new UV map",
               .enabled = projectionAllowed,
               .answersMissingModel = true,
               .step = "cylindrical",
               .summary = "cylindrical mapping (&Cylindrical)",
               .dialog = cylindricalDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runMapping<ProjectionKind::Cylindrical>},
    CommandRow{.id = kCommandCylindricalCap,
               .name = "CylinderCap",
               .menu = "&Edit",
               .submenu = "&New UV Map",
               .menuText = "C&ylindrical Cap",
               .menuPosition = 34,
               .statusText = "Create a new UV map",
               .enabled = projectionAllowed,
               .answersMissingModel = true,
               .step = "cylindrical-cap",
               .summary = "cylindrical-cap mapping (C&ylindrical Cap)",
               .dialog = cylindricalCapDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runMapping<ProjectionKind::CylindricalCap>},
    CommandRow{.id = kCommandSpherical,
               .name = "Spherical",
               .menu = "&Edit",
               .submenu = "&New UV Map",
               .menuText = "&Spherical",
               .menuPosition = 35,
               .statusText = "Create a new UV map",
               .enabled = projectionAllowed,
               .answersMissingModel = true,
               .step = "spherical",
               .summary = "spherical mapping (&Spherical)",
               .dialog = sphericalDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runMapping<ProjectionKind::Spherical>},
    CommandRow{.id = kCommandPerFacet,
               .name = "PerFacet",
               .enabled = projectionAllowed,
               .answersMissingModel = true,
               .step = "per-facet",
               .summary = "per-facet mapping",
               .dialog = perFacetDialog,
               .run = runMapping<ProjectionKind::PerFacet>},
    CommandRow{.id = kCommandLastProjection,
               .name = "LastProjection",
               .enabled = lastProjectionAllowed,
               .step = "last-projection",
               .summary = "repeat the last projection; takes its mapping's fields",
               .repeatsDialogsOf = kProjectionCommands,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runLastProjection},
    CommandRow{.id = kCommandTileGroup,
               .name = "TileGroup",
               .menu = "&Edit",
               .submenu = "T&ile",
               .menuText = "by &Group",
               .menuPosition = 36,
               .statusText = "Rearrange layout by Group",
               .enabled = modelHasGroups,
               .step = "tile-group",
               .summary = "tile the texture map by group",
               .dialog = tileDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runTile<SetKind::Group>},
    CommandRow{.id = kCommandTileMaterial,
               .name = "TileMaterial",
               .menu = "&Edit",
               .submenu = "T&ile",
               .menuText = "by &Material",
               .menuPosition = 37,
               .statusText = "Rearrange layout by Material",
               .enabled = modelHasMaterials,
               .step = "tile-material",
               .summary = "tile the texture map by material",
               .dialog = tileDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runTile<SetKind::Material>},
    CommandRow{.id = kCommandTileRegion,
               .name = "TileRegion",
               .menu = "&Edit",
               .submenu = "T&ile",
               .menuText = "by &Region",
               .menuPosition = 38,
               .statusText = "Rearrange layout by Region",
               .enabled = modelHasRegions,
               .step = "tile-region",
               .summary = "tile the texture map by region",
               .dialog = tileDialog,
               .touches = kPartTexVertices | kPartFacetStream | kPartSelectionBits,
               .run = runTile<SetKind::Region>},
    CommandRow{.id = kCommandRotate,
               .name = "RotateObject",
               .menu = "&Edit",
               .menuText = "Rotate",
               .menuPosition = 30,
               .statusText = "Rotate object in 3D space",
               .enabled = modelLoaded,
               .step = "rotate",
               .summary = "rotate the model (Rotate)",
               .dialog = rotateDialog,
               .run = runRotate},
};

}  // namespace

std::span<const CommandRow> mappingCommandRows() {
  return kRows;
}

}  // namespace corvina
