// The mesh tools: triangulation, degenerate facets, weld, split, seams and
// smoothing.

#include <array>
#include <string>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "app/dialogs/normal_smoothing_dialog.h"
#include "app/model_required.h"
#include "tools/degenerate_facets.h"
#include "tools/normal_smoothing.h"
#include "tools/seam_normals.h"
#include "tools/split_vertices.h"
#include "tools/triangulation.h"
#include "tools/weld_vertices.h"

namespace corvina {

namespace {

// Messages without a caption of their own carry the program's title.
constexpr const char* kDefaultCaption = "Corvina";

void showInsufficientMemory(UserInterface& ui, const char* caption) {
  ui.showMessage(caption, "Insufficient memory", MessageIcon::Error);
}

// "1 degenerate facet found" / "2 degenerate facets found".
std::string facetCountText(int count, const char* what) {
  return std::to_string(count) + " degenerate " + (count == 1 ? "facet" : "facets") + " " + what;
}

void runTriangulate(CommandContext& context) {
  ModelStore& store = context.app.store;
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  if (countTriangulation(store).facetsOverThree == 0) {
    ui.showMessage("Report", "Object already triangulated", MessageIcon::None);
    return;
  }
  if (ui.ask("Confirmation", "Are you sure you want to\ntriangulate this object?",
             MessageIcon::Question, QuestionButtons::YesNo) != Answer::Yes) {
    return;
  }
  // The selection is not committed: selected and hidden bits travel with the
  // copied corners.
  if (triangulate(store) == TriangulateOutcome::InsufficientMemory) {
    showInsufficientMemory(ui, "Error");
    return;
  }
  ui.refreshViews();
}

void runDegenerates(CommandContext& context) {
  ModelStore& store = context.app.store;
  UserInterface& ui = context.ui;
  if (!requireModel(store, ui)) return;
  const int count = countDegenerateFacets(store);
  if (count == 0) {
    ui.showMessage("Report", "No degenerate facets found", MessageIcon::None);
    return;
  }
  if (ui.ask("Report", facetCountText(count, "found\nperform repairs?"), MessageIcon::Question,
             QuestionButtons::YesNo) != Answer::Yes) {
    return;
  }
  SelectionState& selection = context.app.document.selection();
  commitSelection(store, selection);
  selectDegenerateFacets(store);
  if (!removeSelectedFacets(store)) {
    // Nothing was removed; the marks made for the removal go again.
    for (CornerRecord& record : store.facetStream) record.group &= ~kSelectedBit;
    showInsufficientMemory(ui, "Error");
    return;
  }
  selection.selectionActive = false;
  ui.refreshViews();
  ui.showMessage("Report", facetCountText(count, "removed"), MessageIcon::None);
}

// Runs Fix Seams or Weld under a busy cursor and a progress bar, and turns
// their refusals into messages. Running out of memory ends them quietly.
template <NormalToolOutcome (*Tool)(ModelStore&, const ProgressStep&),
          int (*ProgressSteps)(const ModelStore&)>
void runNormalTool(CommandContext& context) {
  ModelStore& store = context.app.store;
  UserInterface& ui = context.ui;
  if (!store.modelLoaded) {
    ui.showMessage(kDefaultCaption, "Please load an OBJ file first", MessageIcon::Error);
    return;
  }
  if (store.numVNormals <= 0) {
    ui.showMessage(kDefaultCaption, "This OBJ contains no normal vectors", MessageIcon::Error);
    return;
  }
  ui.setBusy(true);
  ui.beginProgress(ProgressSteps(store));
  Tool(store, [&ui] { ui.stepProgress(); });
  ui.endProgress();
  ui.setBusy(false);
}

void runSplitVertices(CommandContext& context) {
  ModelStore& store = context.app.store;
  if (!requireModel(store, context.ui)) return;
  if (!splitVertices(store)) {
    context.ui.showMessage(kDefaultCaption, "Error: insufficient memory", MessageIcon::Error);
  }
}

std::optional<OptionDialog> smoothDialog(OptionRecords& records) {
  return smoothingOptionsDialog(records.smoothing);
}

void runSmooth(CommandContext& context) {
  OptionRecords& records = context.app.options;
  UserInterface& ui = context.ui;
  SmoothingOptions edited = records.smoothing;
  OptionDialog dialog = smoothingOptionsDialog(edited);
  if (!ui.editOptions(dialog)) return;
  records.smoothing = edited;
  ModelStore& store = context.app.store;
  ui.beginProgress(smoothingProgressSteps(store));
  const bool smoothed =
      smoothNormals(store, edited.angle, static_cast<SmoothingScope>(edited.scope),
                    context.app.document.selection().selectionActive, [&ui] { ui.stepProgress(); });
  ui.endProgress();
  if (!smoothed) showInsufficientMemory(ui, kDefaultCaption);
}

constexpr std::array kRows{
    CommandRow{.id = kCommandTriangulate,
               .name = "Triangulate",
               .enabled = modelLoaded,
               .step = "triangulate",
               .takesAnswer = true,
               .summary = "split every facet into triangles",
               .run = runTriangulate},
    CommandRow{.id = kCommandDegenerates,
               .name = "Degenerates",
               .enabled = modelLoaded,
               .step = "degenerates",
               .takesAnswer = true,
               .summary = "remove degenerate facets",
               .run = runDegenerates},
    CommandRow{.id = kCommandWeldVertices,
               .name = "Weld",
               .menu = "&Edit",
               .submenu = "&Tools",
               .menuText = "&Weld Vertices",
               .menuPosition = 21,
               .statusText = "Weld duplicate vertices",
               .enabled = modelLoaded,
               .answersMissingModel = true,
               .step = "weld",
               .summary = "weld duplicate vertices (&Weld Vertices)",
               .run = runNormalTool<weldVertices, weldProgressSteps>},
    CommandRow{.id = kCommandSplitVertices,
               .name = "TextureSeams",
               .menu = "&Edit",
               .submenu = "&Tools",
               .menuText = "&Split Vertices",
               .menuPosition = 20,
               .statusText = "Fix Poser texture seams",
               .enabled = modelLoaded,
               .step = "split-vertices",
               .summary = "split vertices at texture seams (&Split Vertices)",
               .run = runSplitVertices},
    CommandRow{.id = kCommandFixSeams,
               .name = "ModelSeams",
               .menu = "&Edit",
               .submenu = "&Tools",
               .menuText = "&Fix Seams",
               .menuPosition = 19,
               .statusText = "Fix Poser model seams",
               .enabled = modelLoaded,
               .answersMissingModel = true,
               .step = "fix-seams",
               .summary = "make the normals along seams agree (&Fix Seams)",
               .run = runNormalTool<fixSeams, fixSeamsProgressSteps>},
    CommandRow{.id = kCommandSmooth,
               .name = "Smooth",
               .enabled = always,
               .step = "smooth",
               .summary = "smooth the model's normals",
               .dialog = smoothDialog,
               .run = runSmooth},
};

}  // namespace

std::span<const CommandRow> toolsCommandRows() {
  return kRows;
}

}  // namespace corvina
