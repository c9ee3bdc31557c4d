#include "app/history_recording.h"

#include <cctype>

#include "app/command_ids.h"
#include "app/command_table.h"

namespace corvina {

namespace {

// The words of a menu text: without & and "...", up to the accelerator.
std::string menuWords(std::string_view text) {
  std::string words;
  for (char c : text.substr(0, text.find('\t')))
    if (c != '&') words += c;
  while (!words.empty() && words.back() == '.') words.pop_back();
  return words;
}

// "SelectInverse" as "Select Inverse".
std::string nameWords(std::string_view name) {
  std::string words;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (i > 0 && std::isupper(static_cast<unsigned char>(name[i])) &&
        std::islower(static_cast<unsigned char>(name[i - 1])))
      words += ' ';
    words += name[i];
  }
  return words;
}

// Stands in for the application's canvas while a command runs, so the
// history learns of the flips it makes and of pictures loaded or cleared.
class WatchingCanvas : public ViewCanvas {
 public:
  WatchingCanvas(ViewCanvas& canvas, EditHistory& history) : canvas_(canvas), history_(history) {}
  bool backgroundLoaded() const override { return canvas_.backgroundLoaded(); }
  bool backgroundDisplayed() const override { return canvas_.backgroundDisplayed(); }
  bool loadBackground(const std::string& path) override {
    const bool loaded = canvas_.loadBackground(path);
    if (loaded) history_.noteBackgroundReplaced();
    return loaded;
  }
  void clearBackground() override {
    canvas_.clearBackground();
    history_.noteBackgroundReplaced();
  }
  Flip flipBackground(bool horizontally) override {
    const Flip flip = canvas_.flipBackground(horizontally);
    if (flip == Flip::Done) history_.noteBackgroundFlip(horizontally);
    return flip;
  }
  void toggleBackgroundDisplay() override { canvas_.toggleBackgroundDisplay(); }
  bool renderView(const ApplicationState& app, const std::string& path) override {
    return canvas_.renderView(app, path);
  }
  PreviewRender renderPreview(const ApplicationState& app,
                              const preview::RenderPreviewOptions& options, const std::string& path,
                              std::string& problem) override {
    return canvas_.renderPreview(app, options, path, problem);
  }

 private:
  ViewCanvas& canvas_;
  EditHistory& history_;
};

void exchange(ApplicationState& app, HistoryStep& step) {
  CorvinaDoc& document = app.document;
  step.change.exchange(app.store, document.selection(), document.projectionKindRef());
  if (app.canvas != nullptr && step.backgroundEpoch == document.history().backgroundEpoch()) {
    if (step.flipH) app.canvas->flipBackground(true);
    if (step.flipV) app.canvas->flipBackground(false);
  }
  app.editor.modelMayHaveChanged();
  // The frame's pixels follow its rectangle at the view's present size.
  app.editor.viewResized(app.view);
}

}  // namespace

std::string stepNameOf(const CommandRow& row) {
  if (row.menuText.empty()) return nameWords(row.name);
  const std::string entry = menuWords(row.menuText);
  const std::string submenu = menuWords(row.submenu);
  if (row.submenu == "&New UV Map") return entry + " Mapping";
  if (row.submenu == "&New Model") return "New " + entry;
  const bool entryAlone = !entry.empty() && std::isupper(static_cast<unsigned char>(entry[0])) &&
                          submenu != "Select" && submenu != "Select by" && submenu != "Color";
  if (submenu.empty() || entryAlone) return entry;
  return submenu + " " + entry;
}

std::size_t historyLimitBytes(const ApplicationState& app) {
  const int megabytes = app.options.userSettings.undoMegabytes;
  return megabytes <= 0 ? 0 : static_cast<std::size_t>(megabytes) << 20;
}

void beginUserAction(ApplicationState& app, unsigned parts, std::string name, bool collates) {
  app.document.history().beginAction(app.store, app.document.selection(),
                                     app.document.projectionKind(), parts, std::move(name),
                                     collates);
}

void nameUserAction(ApplicationState& app, std::string name, bool collates) {
  app.document.history().nameAction(std::move(name), collates);
}

void endUserAction(ApplicationState& app) {
  app.document.history().endAction(app.store, app.document.selection(),
                                   app.document.projectionKind(), historyLimitBytes(app));
}

ViewAction viewKeyAction(KeyAction action) {
  ViewAction view;
  view.recorded = action != KeyAction::None;
  switch (action) {
    case KeyAction::None:
      break;
    case KeyAction::Commit:
      view.parts = kPartTexVertices | kPartSelectionBits;
      view.name = "Commit Move";
      break;
    case KeyAction::Drop:
      view.parts = kPartSelectionBits;
      view.name = "Drop Selection";
      break;
    case KeyAction::Hide:
      view.parts = kPartSelectionBits;
      view.name = "Hide Facets";
      break;
    case KeyAction::Show:
      view.parts = kPartSelectionBits;
      view.name = "Show Facets";
      break;
    case KeyAction::ToggleHidden:
      view.parts = kPartSelectionBits;
      view.name = "Toggle Facets";
      break;
    case KeyAction::HideOthers:
      view.parts = kPartSelectionBits;
      view.name = "Hide Unselected Facets";
      break;
    case KeyAction::SnapToFacets:
      view.name = "Snap Selection";
      break;
    case KeyAction::Triangulate:
    case KeyAction::Degenerates:
      // The key runs a command, which records its own step; a key step of
      // corvina-cli takes the command's name.
      view.recorded = false;
      if (const CommandRow* row = findCommand(
              action == KeyAction::Triangulate ? kCommandTriangulate : kCommandDegenerates))
        view.name = stepNameOf(*row);
      break;
    case KeyAction::Center:
    case KeyAction::MoveToTopLeft:
    case KeyAction::MoveToTopRight:
    case KeyAction::MoveToBottomLeft:
    case KeyAction::MoveToBottomRight:
    case KeyAction::StepLeft:
    case KeyAction::StepRight:
    case KeyAction::StepUp:
    case KeyAction::StepDown:
      view.name = "Move Selection";
      view.collates = true;
      break;
    case KeyAction::Grow:
    case KeyAction::Shrink:
    case KeyAction::DoubleSize:
    case KeyAction::HalveSize:
    case KeyAction::ResizeFineHorizontal:
    case KeyAction::ResizeFineVertical:
    case KeyAction::ResizeCoarseHorizontal:
    case KeyAction::ResizeCoarseVertical:
    case KeyAction::Maximize:
      view.name = "Resize Selection";
      view.collates = true;
      break;
  }
  return view;
}

ViewAction viewPressAction(const ApplicationState& app, bool leftButton) {
  ViewAction view;
  view.recorded = true;
  view.parts = kPartSelectionBits;
  // Only a pending move can be committed by a press.
  if (app.document.selection().selectionActive) view.parts |= kPartTexVertices;
  if (!leftButton) view.name = "Commit Move";
  return view;
}

CommandAction::CommandAction(ApplicationState& app, const CommandRow& row) : app_(app) {
  if (row.id == kCommandUndo || row.id == kCommandRedo) return;
  EditHistory& history = app.document.history();
  if (!history.actionOpen() && app.canvas != nullptr) {
    canvas_ = app.canvas;
    watcher_ = std::make_unique<WatchingCanvas>(*canvas_, history);
    app.canvas = watcher_.get();
  }
  beginUserAction(app, row.touches, stepNameOf(row));
  active_ = true;
}

CommandAction::~CommandAction() {
  if (watcher_ && app_.canvas == watcher_.get()) app_.canvas = canvas_;
  if (!active_) return;
  try {
    endUserAction(app_);
  } catch (...) {
    // No memory for the step: the history forgets everything rather than
    // keep steps that no longer lead to the current state.
    app_.document.history().clear();
  }
}

bool undoLastStep(ApplicationState& app) {
  // Not in the middle of another action (a key pressed during a drag): its
  // step would start from a state the undo has replaced.
  if (app.document.history().actionOpen()) return false;
  HistoryStep* step = app.document.history().stepBack();
  if (step == nullptr) return false;
  exchange(app, *step);
  return true;
}

bool redoNextStep(ApplicationState& app) {
  if (app.document.history().actionOpen()) return false;
  HistoryStep* step = app.document.history().stepForward();
  if (step == nullptr) return false;
  exchange(app, *step);
  return true;
}

std::string undoStepName(const ApplicationState& app) {
  const HistoryStep* step = app.document.history().undoStep();
  return step == nullptr ? std::string() : "Undo " + step->name;
}

std::string redoStepName(const ApplicationState& app) {
  const HistoryStep* step = app.document.history().redoStep();
  return step == nullptr ? std::string() : "Redo " + step->name;
}

bool hasUnsavedChanges(const ApplicationState& app) {
  if (app.store.modelLoaded == 0) return false;
  const SelectionState& selection = app.document.selection();
  const bool pendingMove =
      selection.selectionActive && (selection.source.left != selection.target.left ||
                                    selection.source.right != selection.target.right ||
                                    selection.source.top != selection.target.top ||
                                    selection.source.bottom != selection.target.bottom);
  return pendingMove || app.document.history().modified();
}

std::string modelDisplayName(const ApplicationState& app) {
  if (app.store.modelLoaded == 0) return {};
  // A model opened from the command line keeps no name of its own.
  const std::string& base =
      app.store.modelBaseName.empty() ? app.document.openedName() : app.store.modelBaseName;
  const std::size_t slash = base.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? base : base.substr(slash + 1);
  return name.empty() ? std::string("Untitled") : name;
}

}  // namespace corvina
