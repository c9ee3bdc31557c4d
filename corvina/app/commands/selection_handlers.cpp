#include "app/commands/selection_handlers.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/dialogs/option_fields.h"
#include "app/history_recording.h"
#include "app/model_required.h"
#include "editor/hot_keys_text.h"
#include "tools/selection_sets.h"

namespace corvina {

namespace {

struct SetKindTexts {
  const char* selectCaption;
  const char* assignCaption;
  const char* questionCaption;
  const char* questionWord;  // "Group %s does not exist..."
};

SetKindTexts textsOf(SetKind kind) {
  switch (kind) {
    case SetKind::Material:
      return {"Select by Material", "Assign Selection to Material", "New Material", "Material"};
    case SetKind::Region:
      return {"Select by Region", "Assign Selection to Region", "New Region", "Region"};
    case SetKind::Group:
      break;
  }
  return {"Select by Group", "Assign Selection to Group", "New Group", "Group"};
}

ViewSize viewOf(const CommandContext& context) {
  return context.app.view;
}

void changeMethod(CommandContext& context, SelectMethod method) {
  if (changeSelectMethod(context.app.store, context.app.document.selection(), method)) {
    context.ui.refreshViews();
  }
}

// The list dialog of one kind of set: the names sorted, several may be
// chosen; OK selects the facets of the chosen sets, Cancel changes nothing.
void selectBySetDialog(CommandContext& context, SetKind kind) {
  ModelStore& store = context.app.store;
  if (!requireModel(store, context.ui)) return;
  ListRequest request;
  request.caption = textsOf(kind).selectCaption;
  request.items = setNamesForDialog(store, kind);
  request.multiple = true;
  const std::optional<std::vector<int>> chosen = context.ui.chooseFromList(request);
  if (!chosen) return;
  std::vector<int> sets;
  for (int item : *chosen) {
    if (sets.size() >= request.items.size()) break;
    if (item < 0 || static_cast<std::size_t>(item) >= request.items.size()) continue;
    if (auto index = findSetByName(store, kind, request.items[static_cast<std::size_t>(item)])) {
      sets.push_back(*index);
    }
  }
  const ViewSize view = squareSize(context.app);
  selectBySets(store, context.app.document.selection(), kind, sets, view.width, view.height);
  context.ui.refreshViews();
}

// The name dialog: a typed or picked name; an unknown name becomes a new set
// when the user agrees. The selection stays active.
void assignDialog(CommandContext& context, SetKind kind) {
  ModelStore& store = context.app.store;
  if (!requireModel(store, context.ui)) return;
  const SelectionState& selection = context.app.document.selection();
  // Only a selection of whole facets has sets to give.
  if (!selection.selectionActive || selection.selectMethod != SelectMethod::ByFacet) return;
  const SetKindTexts texts = textsOf(kind);
  NameRequest request;
  request.caption = texts.assignCaption;
  request.items = setNamesForDialog(store, kind);
  if (!request.items.empty()) request.initial = request.items.front();
  const std::optional<std::string> typed = context.ui.chooseName(request);
  if (!typed) return;
  const std::string shownName = typed->substr(0, 127);
  std::optional<int> index = findSetByName(store, kind, assignmentSetName(*typed));
  if (!index) {
    const std::string question = std::string(texts.questionWord) + " " + shownName +
                                 " does not exist\ndo you want to create it?";
    if (context.ui.ask(texts.questionCaption, question, MessageIcon::Question,
                       QuestionButtons::YesNo) != Answer::Yes) {
      return;
    }
    index = createSet(store, kind, *typed);
    if (!index) return;
  }
  assignSelectionToSet(store, kind, *index);
  context.ui.refreshViews();
}

int pixelAt(const CommandContext& context, std::size_t i) {
  if (context.step == nullptr || i >= context.step->pixels.size()) return 0;
  return context.step->pixels[i];
}

// Press at the first point, move to the second, release there.
void pointerDrag(CommandContext& context) {
  SelectionEditor& editor = context.app.editor;
  const ViewSize view = viewOf(context);
  const int x0 = pixelAt(context, 0), y0 = pixelAt(context, 1);
  const int x1 = pixelAt(context, 2), y1 = pixelAt(context, 3);
  finishViewEvent(context, editor.mousePress(view, ViewButton::Left, x0, y0));
  finishViewEvent(context, editor.mouseMove(view, x1, y1));
  finishViewEvent(context, editor.mouseRelease(view, ViewButton::Left, x1, y1));
}

}  // namespace

void finishViewEvent(CommandContext& context, const EditorResponse& response) {
  if (response.command == ViewCommand::Triangulate) runCommand(context, kCommandTriangulate);
  if (response.command == ViewCommand::Degenerates) runCommand(context, kCommandDegenerates);
  if (response.redraw != ViewRedraw::None || response.command != ViewCommand::None) {
    context.ui.refreshViews();
  }
}

void runSelectByFacet(CommandContext& context) {
  changeMethod(context, SelectMethod::ByFacet);
}

void runSelectByVertex(CommandContext& context) {
  changeMethod(context, SelectMethod::ByVertex);
}

void runSelectAll(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  const ViewSize view = squareSize(context.app);
  selectAll(context.app.store, context.app.document.selection(), view.width, view.height);
  context.ui.refreshViews();
}

void runSelectNone(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  selectNone(context.app.store, context.app.document.selection());
  context.ui.refreshViews();
}

void runSelectInverse(CommandContext& context) {
  if (!requireModel(context.app.store, context.ui)) return;
  const ViewSize view = squareSize(context.app);
  selectInverse(context.app.store, context.app.document.selection(), view.width, view.height);
  context.ui.refreshViews();
}

void runSelectGroup(CommandContext& context) {
  selectBySetDialog(context, SetKind::Group);
}

void runSelectMaterial(CommandContext& context) {
  selectBySetDialog(context, SetKind::Material);
}

void runSelectRegion(CommandContext& context) {
  selectBySetDialog(context, SetKind::Region);
}

void runAssignGroup(CommandContext& context) {
  assignDialog(context, SetKind::Group);
}

void runAssignMaterial(CommandContext& context) {
  assignDialog(context, SetKind::Material);
}

void runAssignRegion(CommandContext& context) {
  assignDialog(context, SetKind::Region);
}

void runInvertHorizontally(CommandContext& context) {
  finishViewEvent(context, context.app.editor.invertHorizontally());
}

void runInvertVertically(CommandContext& context) {
  finishViewEvent(context, context.app.editor.invertVertically());
}

void runUndo(CommandContext& context) {
  if (undoLastStep(context.app)) context.ui.refreshViews();
}

void runRedo(CommandContext& context) {
  if (redoNextStep(context.app)) context.ui.refreshViews();
}

void runHotKeys(CommandContext& context) {
  context.ui.showKeyList("Corvina", hotKeysText());
}

void runBandStep(CommandContext& context) {
  pointerDrag(context);
}

void runDragStep(CommandContext& context) {
  pointerDrag(context);
}

void runClickStep(CommandContext& context) {
  SelectionEditor& editor = context.app.editor;
  const ViewSize view = viewOf(context);
  const int x = pixelAt(context, 0), y = pixelAt(context, 1);
  finishViewEvent(context, editor.mousePress(view, ViewButton::Left, x, y));
  finishViewEvent(context, editor.mouseRelease(view, ViewButton::Left, x, y));
}

void runRightClickStep(CommandContext& context) {
  nameUserAction(context.app, viewPressAction(context.app, false).name);
  SelectionEditor& editor = context.app.editor;
  const ViewSize view = viewOf(context);
  const int x = pixelAt(context, 0), y = pixelAt(context, 1);
  finishViewEvent(context, editor.mousePress(view, ViewButton::Right, x, y));
  finishViewEvent(context, editor.mouseRelease(view, ViewButton::Right, x, y));
}

OptionDialog keyStepDialog(KeyStepOptions& options) {
  return {"Key",
          {boolField("shift", "Shift", options.shift),
           choiceField("numlock", "Num Lock", options.numLock, {"any", "off", "on"})}};
}

void runKeyStep(CommandContext& context) {
  if (context.step == nullptr || context.step->words.empty()) return;
  // Each key step starts from no Shift and the dedicated keys.
  KeyStepOptions& options = context.app.options.keyStep;
  options = KeyStepOptions{};
  OptionDialog dialog = keyStepDialog(options);
  if (!context.ui.editOptions(dialog)) return;
  const std::optional<bool> numLock =
      options.numLock == 0 ? std::nullopt : std::optional<bool>(options.numLock == 2);
  const std::optional<ViewKeyPress> press =
      keyPressFromName(context.step->words.front(), options.shift, numLock);
  if (!press) return;
  const ViewAction action = viewKeyAction(keyActionOf(*press));
  nameUserAction(context.app, action.name, action.collates);
  finishViewEvent(context, context.app.editor.keyPress(viewOf(context), *press));
}

}  // namespace corvina
