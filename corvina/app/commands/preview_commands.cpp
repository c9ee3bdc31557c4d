// The 3D preview: the View menu's entry that opens its dock (the window acts
// on it) and corvina-cli's render-3d step.

#include <array>
#include <optional>
#include <string>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/dialogs/preview_dialog.h"
#include "app/view_canvas.h"

namespace corvina {

namespace {

bool previewShown(const ApplicationState& app) {
  return app.previewShown;
}

// The dock belongs to the window, which handles the entry itself.
void runNothing(CommandContext&) {}

std::optional<OptionDialog> renderDialog(OptionRecords& records) {
  return renderPreviewDialog(records.renderPreview);
}

FileRequest renderFileRequest(const std::string& directory) {
  FileRequest request;
  request.save = true;
  request.title = "Render 3D Preview...";
  request.filters = {{"PNG Picture (*.png)", "*.png"}};
  request.defaultExtension = "png";
  request.directory = directory;
  return request;
}

// The preview as the dock draws it, without a window: the model framed at
// the record's yaw and pitch (or at its distance), a pending move shown.
void runRenderPreview(CommandContext& context) {
  ApplicationState& app = context.app;
  UserInterface& ui = context.ui;
  preview::RenderPreviewOptions edited = app.options.renderPreview;
  OptionDialog dialog = renderPreviewDialog(edited);
  if (!ui.editOptions(dialog)) return;
  if (preview::requestedDistance(edited) < 0) {
    ui.showMessage("Error", "The camera distance must be a positive number", MessageIcon::Error);
    return;
  }
  app.options.renderPreview = edited;
  const std::optional<std::string> path = ui.chooseFile(renderFileRequest(app.store.lastDirectory));
  if (!path) return;
  ViewCanvas* canvas = app.canvas;
  std::string problem;
  const ViewCanvas::PreviewRender outcome =
      canvas == nullptr ? ViewCanvas::PreviewRender::NoOpenGl
                        : canvas->renderPreview(app, edited, *path, problem);
  switch (outcome) {
    case ViewCanvas::PreviewRender::Written:
      break;
    case ViewCanvas::PreviewRender::NoOpenGl:
      ui.showMessage("Error", "No OpenGL context for the 3D preview: " + problem,
                     MessageIcon::Error);
      break;
    case ViewCanvas::PreviewRender::WriteFailed:
      ui.showMessage("Error", "Error writing to file", MessageIcon::Error);
      break;
  }
}

constexpr std::array kRows{
    CommandRow{.id = kCommandPreview3d,
               .name = "Preview3d",
               .menu = "&View",
               .menuText = "3D &Preview",
               .menuPosition = 48,
               .statusText = "Show or hide the textured model in 3D",
               .enabled = always,
               .checked = previewShown,
               .run = runNothing},
    CommandRow{.name = "render-3d",
               .enabled = always,
               .step = "render-3d",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "write the 3D preview of the model as a PNG picture",
               .dialog = renderDialog,
               .run = runRenderPreview},
};

}  // namespace

std::span<const CommandRow> previewCommandRows() {
  return kRows;
}

}  // namespace corvina
