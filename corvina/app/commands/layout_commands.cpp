// The texture-map layout: packing the islands into the map, equal texel
// density, and the layout pictures.

#include <array>
#include <optional>
#include <string>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/dialogs/layout_dialogs.h"
#include "app/model_required.h"
#include "layout/island_packing.h"
#include "layout/layout_export.h"
#include "layout/texel_density.h"
#include "tools/selection_state.h"

namespace corvina {

namespace {

void showInsufficientMemory(UserInterface& ui) {
  ui.showMessage("Error", "Insufficient memory", MessageIcon::Error);
}

// A pending move of the selection lands in the texture coordinates before a
// layout command reads them; the selection and its frame stay.
void applyPendingSelectionMove(ApplicationState& app) {
  SelectionState& selection = app.document.selection();
  if (selection.selectionActive) applyPendingMove(app.store, selection);
}

// ---- Pack Islands ------------------------------------------------------------

std::optional<OptionDialog> packDialog(OptionRecords& records) {
  return packIslandsDialog(records.pack);
}

void runPackIslands(CommandContext& context) {
  ApplicationState& app = context.app;
  ModelStore& store = app.store;
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  // The map size starts at the model's each time; the rest is remembered.
  PackOptions edited = app.options.pack;
  edited.width = store.mapWidth;
  edited.height = store.mapHeight;
  OptionDialog dialog = packIslandsDialog(edited);
  if (!ui.editOptions(dialog)) return;
  app.options.pack = edited;

  applyPendingSelectionMove(app);
  const SelectionState& selection = app.document.selection();
  const bool intoFrame = edited.selectedOnly && selection.selectionActive;
  PackArea area;
  if (intoFrame) {
    // The frame measures y from the top: v = 1 - y.
    area = PackArea{selection.target.left, selection.target.right, 1.0 - selection.target.bottom,
                    1.0 - selection.target.top};
  }
  ui.setBusy(true);
  const PackResult result = edited.selectedOnly && !selection.selectionActive
                                ? PackResult{}
                                : packIslands(store, edited, area);
  ui.setBusy(false);
  switch (result.outcome) {
    case PackOutcome::Packed:
      // As a projection does: a layout of the whole map sets the map's size;
      // one inside the selection's frame leaves it.
      if (!intoFrame) {
        store.mapWidth = edited.width;
        store.mapHeight = edited.height;
      }
      ui.refreshViews();
      break;
    case PackOutcome::NothingToPack:
      ui.showMessage("Report", "There are no islands to pack", MessageIcon::None);
      break;
    case PackOutcome::DoesNotFit:
      ui.showMessage("Error", "The islands do not fit into the map with this padding",
                     MessageIcon::Error);
      break;
    case PackOutcome::InsufficientMemory:
      showInsufficientMemory(ui);
      break;
  }
}

// ---- Equalize Texel Density ----------------------------------------------------

void runEqualizeDensity(CommandContext& context) {
  ApplicationState& app = context.app;
  UserInterface& ui = context.ui;
  if (!requireModel(app.store, ui)) return;
  applyPendingSelectionMove(app);
  ui.setBusy(true);
  const DensityOutcome outcome =
      equalizeTexelDensity(app.store, app.document.selection().selectionActive);
  ui.setBusy(false);
  if (outcome == DensityOutcome::InsufficientMemory) {
    showInsufficientMemory(ui);
    return;
  }
  ui.refreshViews();
}

// ---- Export Layout ---------------------------------------------------------------

std::optional<OptionDialog> pngDialog(OptionRecords& records) {
  return layoutExportDialog(records.layoutExport, LayoutDialogKind::Png);
}
std::optional<OptionDialog> svgDialog(OptionRecords& records) {
  return layoutExportDialog(records.layoutExport, LayoutDialogKind::Svg);
}

constexpr int kPng = 0;
constexpr int kSvg = 1;

// The model's own name with the format's extension, or "*.png" / "*.svg" for
// a model without a file.
FileRequest layoutFileRequest(const ModelStore& store, int format) {
  const std::string extension = format == kSvg ? "svg" : "png";
  FileRequest request;
  request.save = true;
  request.title = "Export Layout...";
  if (format == kSvg)
    request.filters = {{"SVG Drawing (*.svg)", "*.svg"}, {"All Files (*.*)", "*.*"}};
  else
    request.filters = {{"PNG Picture (*.png)", "*.png"}, {"All Files (*.*)", "*.*"}};
  const std::size_t separator = store.modelBaseName.rfind('/');
  request.initialName = separator == std::string::npos
                            ? "*." + extension
                            : store.modelBaseName.substr(separator + 1) + "." + extension;
  request.defaultExtension = extension;
  request.directory = store.lastDirectory;
  request.confirmOverwrite = true;
  return request;
}

// The layout picture in the format the dialog (or the step) chose: the size
// starts at the model's map size; a pending move lands first, so the picture
// shows what the view shows.
void runExportLayout(CommandContext& context, LayoutDialogKind kind) {
  ApplicationState& app = context.app;
  ModelStore& store = app.store;
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  LayoutExportOptions edited = app.options.layoutExport;
  edited.width = store.mapWidth;
  edited.height = store.mapHeight;
  if (kind != LayoutDialogKind::Menu) edited.format = kind == LayoutDialogKind::Svg ? kSvg : kPng;
  OptionDialog dialog = layoutExportDialog(edited, kind);
  if (!ui.editOptions(dialog)) return;
  app.options.layoutExport = edited;
  const std::optional<std::string> path = ui.chooseFile(layoutFileRequest(store, edited.format));
  if (!path) return;

  applyPendingSelectionMove(app);
  store.lastDirectory = directoryOf(*path);
  ui.setBusy(true);
  const LayoutExportOutcome outcome = edited.format == kSvg ? exportLayoutSvg(store, edited, *path)
                                                            : exportLayoutPng(store, edited, *path);
  ui.setBusy(false);
  switch (outcome) {
    case LayoutExportOutcome::Written:
      break;
    case LayoutExportOutcome::InsufficientMemory:
      showInsufficientMemory(ui);
      break;
    case LayoutExportOutcome::CannotOpen:
    case LayoutExportOutcome::WriteFailed:
      ui.showMessage("Error", "Error writing to file", MessageIcon::Error);
      break;
  }
}

template <LayoutDialogKind Kind>
void runExportLayoutAs(CommandContext& context) {
  runExportLayout(context, Kind);
}

constexpr std::array kRows{
    CommandRow{.id = kCommandPackIslands,
               .name = "PackIslands",
               .menu = "&Edit",
               .submenu = "&UV Map",
               .menuText = "&Pack Islands...",
               .menuPosition = 43,
               .statusText = "Pack the islands of the texture map with a padding in pixels",
               .enabled = modelHasTextureCoordinates,
               .step = "pack",
               .summary = "pack the islands into the map (&Pack Islands...)",
               .dialog = packDialog,
               .run = runPackIslands},
    CommandRow{.id = kCommandEqualizeDensity,
               .name = "EqualizeDensity",
               .menu = "&Edit",
               .submenu = "&UV Map",
               .menuText = "&Equalize Texel Density",
               .menuPosition = 44,
               .statusText = "Give every island the same texels per model unit",
               .enabled = modelHasTextureCoordinates,
               .step = "equalize-density",
               .summary = "give every island the model's average texel density",
               .run = runEqualizeDensity},
    CommandRow{.id = kCommandExportLayout,
               .name = "ExportLayout",
               .menu = "&File",
               .menuText = "Export &Layout...",
               .menuPosition = 45,
               .statusText = "Export the texture-map layout as a PNG or SVG picture",
               .enabled = modelHasTextureCoordinates,
               .run = runExportLayoutAs<LayoutDialogKind::Menu>},
    CommandRow{.name = "export-png",
               .enabled = modelHasTextureCoordinates,
               .step = "export-png",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "save the layout as a PNG picture (Export &Layout...)",
               .dialog = pngDialog,
               .run = runExportLayoutAs<LayoutDialogKind::Png>},
    CommandRow{.name = "export-svg",
               .enabled = modelHasTextureCoordinates,
               .step = "export-svg",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "save the layout as an SVG drawing (Export &Layout...)",
               .dialog = svgDialog,
               .run = runExportLayoutAs<LayoutDialogKind::Svg>},
};

}  // namespace

std::span<const CommandRow> layoutCommandRows() {
  return kRows;
}

}  // namespace corvina
