// The view's own commands: the background picture's keys, rendering the
// view to a picture file, and the View menu's zoom commands.

#include <array>
#include <optional>
#include <string>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/view_canvas.h"

namespace corvina {

namespace {

// The framework's error reports and plain message boxes carry the program's
// title.
constexpr const char* kProgramTitle = "Corvina";

FileRequest backgroundFileRequest(const std::string& directory) {
  FileRequest request;
  request.title = "Load BMP...";
  // BMP stays the proposed type; the other formats Qt's image plugins read
  // are offered after it.
  request.filters = {{"Windows Bitmap (*.bmp)", "*.bmp"},
                     {"Pictures (*.bmp;*.png;*.jpg;*.jpeg;*.tga;*.webp;*.tif;*.tiff)",
                      "*.bmp;*.png;*.jpg;*.jpeg;*.tga;*.webp;*.tif;*.tiff"},
                     {"All Files (*.*)", "*.*"}};
  request.initialName = "*.bmp";
  request.defaultExtension = "bmp";
  request.directory = directory;
  return request;
}

// The background's commands act only on a picture that is shown; the
// others do nothing at all, without a message.
bool backgroundActs(const ViewCanvas& canvas) {
  return canvas.backgroundDisplayed() && canvas.backgroundLoaded();
}

void runLoadBackground(CommandContext& context) {
  ViewCanvas* canvas = context.app.canvas;
  if (canvas == nullptr) return;
  const std::optional<std::string> path =
      context.ui.chooseFile(backgroundFileRequest(context.app.store.lastDirectory));
  if (!path) return;
  if (!canvas->loadBackground(*path)) {
    context.ui.showMessage(kProgramTitle, *path + " has a bad format.", MessageIcon::Warning);
    context.ui.loadFailed();
    return;
  }
  context.ui.refreshViews();
}

void runClearBackground(CommandContext& context) {
  ViewCanvas* canvas = context.app.canvas;
  if (canvas == nullptr || !backgroundActs(*canvas)) return;
  if (context.ui.ask("Confirmation", "Really clear backgroud?", MessageIcon::Question,
                     QuestionButtons::YesNo) != Answer::Yes)
    return;
  canvas->clearBackground();
  context.ui.refreshViews();
}

void flipBackground(CommandContext& context, bool horizontally) {
  ViewCanvas* canvas = context.app.canvas;
  if (canvas == nullptr || !backgroundActs(*canvas)) return;
  switch (canvas->flipBackground(horizontally)) {
    case ViewCanvas::Flip::Done:
      context.ui.refreshViews();
      break;
    case ViewCanvas::Flip::TooFewColours:
      context.ui.showMessage(kProgramTitle,
                             "Function not yet supported for\n less than 256 color bitmaps",
                             MessageIcon::None);
      break;
    case ViewCanvas::Flip::Failed:
      break;  // no memory for the rows: quietly nothing
  }
}

void runFlipBackgroundH(CommandContext& context) {
  flipBackground(context, true);
}

void runFlipBackgroundV(CommandContext& context) {
  flipBackground(context, false);
}

void runToggleBackground(CommandContext& context) {
  ViewCanvas* canvas = context.app.canvas;
  if (canvas == nullptr) return;
  canvas->toggleBackgroundDisplay();
  context.ui.refreshViews();
}

FileRequest renderFileRequest(const std::string& directory) {
  FileRequest request;
  request.save = true;
  request.title = "Render View...";
  request.filters = {{"PNG Picture (*.png)", "*.png"}};
  request.defaultExtension = "png";
  request.directory = directory;
  return request;
}

void runRender(CommandContext& context) {
  ViewCanvas* canvas = context.app.canvas;
  if (canvas == nullptr) return;
  const std::optional<std::string> path =
      context.ui.chooseFile(renderFileRequest(context.app.store.lastDirectory));
  if (!path) return;
  if (!canvas->renderView(context.app, *path))
    context.ui.showMessage("Error", "Error writing to file", MessageIcon::Error);
}

void runKeepProportions(CommandContext& context) {
  ApplicationState& app = context.app;
  app.editor.setKeepProportions(app.view, !app.editor.keepsProportions());
  context.ui.refreshViews();
}

void runOriginalView(CommandContext& context) {
  context.app.editor.showHome(context.app.view);
  context.ui.refreshViews();
}

void runFrameSelection(CommandContext& context) {
  context.app.editor.frameSelection(context.app.view);
  context.ui.refreshViews();
}

bool keepsProportions(const ApplicationState& app) {
  return app.editor.keepsProportions();
}

constexpr std::array kRows{
    CommandRow{.id = kCommandLoadBackground,
               .name = "LoadBackground",
               .keys = "Ctrl+B",
               .enabled = always,
               .step = "background",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "load a picture (BMP, PNG, JPEG, TGA, WebP, TIFF) under the map (Ctrl+B)",
               .touches = kPartNone,
               .run = runLoadBackground},
    CommandRow{.id = kCommandClearBackground,
               .name = "ClearBackground",
               .keys = "Ctrl+C",
               .enabled = always,
               .step = "background-clear",
               .takesAnswer = true,
               .summary = "remove the background picture (Ctrl+C)",
               .touches = kPartNone,
               .run = runClearBackground},
    CommandRow{.id = kCommandFlipBackgroundH,
               .name = "FlipBackgroundH",
               .keys = "Ctrl+U",
               .enabled = always,
               .step = "background-flip-h",
               .summary = "mirror the background picture horizontally (Ctrl+U)",
               .touches = kPartNone,
               .run = runFlipBackgroundH},
    CommandRow{.id = kCommandFlipBackgroundV,
               .name = "FlipBackgroundV",
               .keys = "Ctrl+V",
               .enabled = always,
               .step = "background-flip-v",
               .summary = "mirror the background picture vertically (Ctrl+V)",
               .touches = kPartNone,
               .run = runFlipBackgroundV},
    CommandRow{.id = kCommandToggleBackground,
               .name = "ToggleBackground",
               .keys = "Tab",
               .enabled = always,
               .step = "background-toggle",
               .summary = "show or hide the background picture (Tab)",
               .touches = kPartNone,
               .run = runToggleBackground},
    CommandRow{.id = kCommandKeepProportions,
               .name = "KeepProportions",
               .menu = "&View",
               .menuText = "&Keep Texture Proportions",
               .menuPosition = 49,
               .statusText = "Show the texture map at its width : height\nKeepProportions",
               .enabled = modelLoaded,
               .checked = keepsProportions,
               .run = runKeepProportions},
    CommandRow{.id = kCommandOriginalView,
               .name = "OriginalView",
               .menu = "&View",
               .menuText = "&Original View\tCtrl+0",
               .menuPosition = 50,
               .keys = "Ctrl+0",
               .statusText = "Show the whole texture map unzoomed\nOriginalView",
               .enabled = modelLoaded,
               .run = runOriginalView},
    CommandRow{.id = kCommandFrameSelection,
               .name = "FrameSelection",
               .menu = "&View",
               .menuText = "&Frame Selection\tF",
               .menuPosition = 51,
               .keys = "F",
               .statusText = "Zoom to the selection, or to the whole texture map\nFrameSelection",
               .enabled = modelLoaded,
               .run = runFrameSelection},
    CommandRow{.name = "render",
               .step = "render",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "write what the view shows as a PNG picture",
               .touches = kPartNone,
               .run = runRender},
};

}  // namespace

std::span<const CommandRow> viewCommandRows() {
  return kRows;
}

}  // namespace corvina
