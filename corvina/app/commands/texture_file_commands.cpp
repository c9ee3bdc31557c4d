// The texture-coordinate files: UVS import and export and the bitmap template
// of the texture map.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/model_required.h"
#include "editor/texture_map_raster.h"
#include "files/bmp_writer.h"
#include "files/uvs_reader.h"
#include "files/uvs_writer.h"

namespace corvina {

namespace {

// Asked when the imported texture coordinates lie outside the unit square.
constexpr const char* kUvsOutOfRangeQuestion =
    "The file you have loaded contains\nout of range UV coordinate data\n\nWould you like to "
    "correct this?";

constexpr const char* kApplicationTitle = "Corvina";

void showError(UserInterface& ui, const char* text) {
  ui.showMessage("Error", text, MessageIcon::Error);
}

OptionField checkBox(const char* name, const char* label, bool& value) {
  OptionField field;
  field.name = name;
  field.label = label;
  field.kind = OptionField::Kind::Bool;
  field.boolValue = &value;
  return field;
}

OptionField sideField(const char* name, const char* label, int& value) {
  OptionField field;
  field.name = name;
  field.label = label;
  field.kind = OptionField::Kind::Int;
  field.intValue = &value;
  field.minimum = 1;
  field.maximum = kLargestRasterSide;
  return field;
}

// ---- UVS export -----------------------------------------------------------

FileRequest baseModelRequest() {
  FileRequest request;
  request.title = "Specify UVS Base Model...";
  request.filters = {{"Wavefront Model (*.obj)", "*.obj"}, {"All Files (*.*)", "*.*"}};
  request.initialName = "*.obj";
  request.defaultExtension = "obj";
  return request;
}

OptionDialog uvsExportOptionsDialog(UvsExportOptions& options) {
  OptionField baseModel;
  baseModel.name = "baseModel";
  baseModel.label = "Base model location";
  baseModel.kind = OptionField::Kind::Text;
  baseModel.textValue = &options.baseModel;
  baseModel.maxLength = kPathSize;
  baseModel.browse = baseModelRequest();

  OptionDialog dialog;
  dialog.caption = "UVs Export Options";
  dialog.fields = {
      checkBox("flipV", "Flip Texture (UV) Coordinates Vertically", options.flipV),
      checkBox("flipH", "Flip Texture (UV) Coordinates Horizontally", options.flipH),
      checkBox("noLinefeeds", "Don't Export Linefeeds (Mac compatible)", options.noLinefeeds),
      checkBox("separateUVs", "Don't compess texture coordinates", options.separateUVs),
      baseModel,
      checkBox("exportGroups", "Export Group Names", options.exportGroups),
      checkBox("exportMaterials", "Export Material Names", options.exportMaterials),
      checkBox("exportRegions", "Export Corvina Regions", options.exportRegions),
  };
  return dialog;
}

std::optional<OptionDialog> uvsExportDialog(OptionRecords& records) {
  return uvsExportOptionsDialog(records.uvsExport);
}

FileRequest uvsExportFileRequest(const ModelStore& store) {
  FileRequest request;
  request.save = true;
  request.title = "Export UVS...";
  request.filters = {{"Texture Coordinates (*.uvs)", "*.uvs"}, {"All Files (*.*)", "*.*"}};
  request.initialName = "*.uvs";
  request.defaultExtension = "uvs";
  request.directory = store.lastDirectory;
  request.confirmOverwrite = true;
  return request;
}

void runExportUvs(CommandContext& context) {
  ModelStore& store = context.app.store;
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  // The dialog edits a copy, so the record changes only on OK; its base model
  // always starts from the model last chosen in the load dialog.
  UvsExportOptions edited = context.app.options.uvsExport;
  edited.baseModel = store.lastModelPath;
  OptionDialog dialog = uvsExportOptionsDialog(edited);
  if (!ui.editOptions(dialog)) return;
  if (edited.baseModel.size() > kPathSize) edited.baseModel.resize(kPathSize);
  context.app.options.uvsExport = edited;
  const std::optional<std::string> path = ui.chooseFile(uvsExportFileRequest(store));
  if (!path) return;

  store.lastDirectory = directoryOf(*path);
  store.modelBaseName = pathWithoutExtension(*path);
  ui.setBusy(true);
  ui.refreshViews();
  const WriteOutcome outcome = exportUvsFile(store, *path, edited, ui);
  ui.setBusy(false);
  if (outcome != WriteOutcome::Written) showError(ui, "Error writing to file");
}

// ---- UVS import -----------------------------------------------------------

FileRequest uvsImportFileRequest(const ModelStore& store) {
  FileRequest request;
  request.title = "Import UVs...";
  request.filters = {{"Texture Coordinates (*.uvs;*.obj)", "*.uvs;*.obj"},
                     {"All Files (*.*)", "*.*"}};
  request.initialName = "*.uvs;*.obj";
  request.defaultExtension = "uvs";
  request.directory = store.lastDirectory;
  return request;
}

// Rescales into the unit square the corners the import changed: all of them
// after an import without a selection, else the selected corners it listed.
// The import may have ended that selection (a replaced set table clears
// every selected bit), so the listed corners are marked for the rescale and
// every record's bit is put back afterwards.
void rescaleImportedCorners(ModelStore& store, bool limitedToSelection,
                            const std::vector<std::size_t>& importedCorners) {
  if (!limitedToSelection) {
    normalizeToUnitSquare(store, 0.0f, false);
    return;
  }
  if (importedCorners.empty()) return;
  std::vector<std::uint16_t> groups;
  groups.reserve(store.facetStream.size());
  for (CornerRecord& record : store.facetStream) {
    groups.push_back(record.group);
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  }
  for (std::size_t at : importedCorners) {
    if (at < store.facetStream.size()) store.facetStream[at].group |= kSelectedBit;
  }
  normalizeToUnitSquare(store, 0.0f, true);
  for (std::size_t at = 0; at < groups.size(); ++at) store.facetStream[at].group = groups[at];
}

void runImportUvs(CommandContext& context) {
  ModelStore& store = context.app.store;
  SelectionState& selection = context.app.document.selection();
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  const std::optional<std::string> path = ui.chooseFile(uvsImportFileRequest(store));
  if (!path) return;

  ui.setBusy(true);
  ui.refreshViews();
  const bool limitedToSelection = selection.selectionActive;
  const UvsImportResult result = importUvsFile(store, selection, *path, ui);
  // A file that could be opened becomes the folder and name the next file
  // dialogs start from, whether or not it fitted the model.
  if (result.outcome != UvsImportOutcome::CannotOpen) {
    store.lastDirectory = directoryOf(*path);
    store.modelBaseName = pathWithoutExtension(*path);
  }
  switch (result.outcome) {
    case UvsImportOutcome::Imported:
      // Tiling textures rely on coordinates outside the square, so they are
      // rescaled only when the user says so.
      if (result.outOfRange && ui.ask("Warning", kUvsOutOfRangeQuestion, MessageIcon::Question,
                                      QuestionButtons::YesNo, Answer::No) == Answer::Yes) {
        rescaleImportedCorners(store, limitedToSelection, result.importedCorners);
      }
      break;
    case UvsImportOutcome::CannotOpen:
    case UvsImportOutcome::ReadFailed:
      showError(ui, "Error opening file");
      break;
    case UvsImportOutcome::IncompatibleStructure:
      showError(ui, "Incompatable facet stucture");
      break;
    case UvsImportOutcome::InsufficientMemory:
      showError(ui, "Insufficient memory");
      break;
  }
  ui.setBusy(false);
  ui.refreshViews();
}

// ---- Texture-map template ---------------------------------------------------

OptionDialog bmpExportOptionsDialog(BmpExportOptions& options) {
  OptionDialog dialog;
  dialog.caption = "BMP Export Options";
  dialog.fields = {
      sideField("width", "Width", options.width),
      sideField("height", "Height", options.height),
      checkBox("flipV", "Flip Texture Map Vertically", options.flipV),
      checkBox("flipH", "Flip Texture Map Horizontally", options.flipH),
      checkBox("excludeHidden", "Exclude hidden facets", options.excludeHidden),
  };
  return dialog;
}

std::optional<OptionDialog> bmpExportDialog(OptionRecords& records) {
  return bmpExportOptionsDialog(records.bmpExport);
}

// The model's own name with ".bmp", or "*.bmp" for a model without a file
// (a generated one is "Untitled", with no folder).
std::string proposedBmpName(const std::string& modelBaseName) {
  const std::size_t separator = modelBaseName.rfind('/');
  if (separator == std::string::npos) return "*.bmp";
  return modelBaseName.substr(separator + 1) + ".bmp";
}

FileRequest bmpSaveFileRequest(const ModelStore& store) {
  FileRequest request;
  request.save = true;
  request.title = "Save BMP...";
  request.filters = {{"Windows Bitmap (*.bmp)", "*.bmp"}, {"All Files (*.*)", "*.*"}};
  request.initialName = proposedBmpName(store.modelBaseName);
  request.defaultExtension = "bmp";
  request.directory = store.lastDirectory;
  request.confirmOverwrite = true;
  return request;
}

enum class TemplateSave { Saved, Declined, Failed };

BmpPalette bmpTemplatePalette() {
  const auto colours = templatePalette();
  BmpPalette palette;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i] = {colours[i].red, colours[i].green, colours[i].blue};
  }
  return palette;
}

// The document's save operation: the raster of the texture map, drawn and
// written to `path`.
TemplateSave saveTextureMap(ApplicationState& app, const std::string& path,
                            const BmpExportOptions& options, UserInterface& ui) {
  ModelStore& store = app.store;
  SelectionState& selection = app.document.selection();
  ui.refreshViews();
  if (selection.selectionActive) {
    if (ui.ask("Warning", "There is a selection active\nSave changes now?", MessageIcon::Question,
               QuestionButtons::YesNo) != Answer::Yes) {
      return TemplateSave::Declined;
    }
    commitSelection(store, selection);
    ui.refreshViews();
  }
  TextureMapRaster raster;
  if (!allocateRaster(raster, options.width, options.height)) {
    // Saying so, rather than ending without a word, which would look like a
    // saved file.
    showError(ui, "Insufficient memory");
    return TemplateSave::Failed;
  }
  store.lastDirectory = directoryOf(path);
  ui.beginProgress(options.height);
  drawTextureMap(store, store.colorMode, options.excludeHidden, raster);
  const BmpWriteOutcome outcome =
      writeBmpFile(path, raster.width, raster.height, raster.pixels, bmpTemplatePalette(),
                   BmpLayout{options.flipV, options.flipH}, ui);
  ui.endProgress();
  if (outcome == BmpWriteOutcome::Written) return TemplateSave::Saved;
  // Every failed write is told: a file cut short must not pass for a template.
  ui.showMessage(kApplicationTitle, "Error writing to file", MessageIcon::Error);
  return TemplateSave::Failed;
}

void runSaveTextureMap(CommandContext& context) {
  ModelStore& store = context.app.store;
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  BmpExportOptions edited = context.app.options.bmpExport;
  edited.width = store.mapWidth;
  edited.height = store.mapHeight;
  OptionDialog dialog = bmpExportOptionsDialog(edited);
  if (!ui.editOptions(dialog)) return;
  context.app.options.bmpExport = edited;
  store.mapWidth = edited.width;
  store.mapHeight = edited.height;
  const std::optional<std::string> path = ui.chooseFile(bmpSaveFileRequest(store));
  if (!path) return;

  std::error_code error;
  const bool existed = std::filesystem::exists(std::filesystem::symlink_status(*path, error));
  ui.setBusy(true);
  if (saveTextureMap(context.app, *path, edited, ui) == TemplateSave::Failed && !existed &&
      std::filesystem::is_regular_file(std::filesystem::symlink_status(*path, error))) {
    // Only a file this save created goes; a replaced file was never touched
    // by the failed save.
    std::filesystem::remove(*path, error);
  }
  ui.setBusy(false);
}

constexpr std::array kRows{

    CommandRow{.id = kCommandExportUvs,
               .name = "Export",
               .menu = "&File",
               .menuText = "&Export UVs...\tCtrl+E",
               .menuPosition = 10,
               .keys = "Ctrl+E",
               .statusText = "Export texture coodinates",
               .enabled = modelHasTextureCoordinates,
               .answersMissingModel = true,
               .step = "export-uvs",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "save the texture coordinates as UVS (&Export UVs...)",
               .dialog = uvsExportDialog,
               .run = runExportUvs},
    CommandRow{.id = kCommandImportUvs,
               .name = "Import",
               .menu = "&File",
               .menuText = "&Import UVs...\tCtrl+I",
               .menuPosition = 7,
               .keys = "Ctrl+I",
               .statusText = "Import texture coordinates",
               .enabled = modelLoaded,
               .answersMissingModel = true,
               .step = "import-uvs",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .takesAnswer = true,
               .summary = "apply a UVS file to the model (&Import UVs...)",
               .run = runImportUvs},
    CommandRow{.id = kCommandSaveTextureMap,
               .name = "Save",
               .menu = "&File",
               .menuText = "Save &Texture Map...\tCtrl+T",
               .menuPosition = 9,
               .keys = "Ctrl+T",
               .statusText = "Export a BMP texture map",
               .enabled = modelHasTextureCoordinates,
               .answersMissingModel = true,
               .step = "save-bmp",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .takesAnswer = true,
               .summary = "save the texture map as a BMP template (Save &Texture Map...)",
               .dialog = bmpExportDialog,
               .run = runSaveTextureMap},
};

}  // namespace

std::span<const CommandRow> textureFileCommandRows() {
  return kRows;
}

}  // namespace corvina
