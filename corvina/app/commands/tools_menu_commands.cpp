// The Tools menu, after the original menus: the commands that otherwise only
// a key, the view or corvina-cli issues (per-facet mapping, last projection,
// inverse selection, smoothing, triangulation, degenerate facets, the
// selection's mirrors, the background keys, the view as a PNG picture) and
// the hot keys list once more. Each entry issues a command of the table by its
// number and so runs that command's own handler; the keys it shows stay with
// that command's row or with the view.

#include <array>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/command_table.h"
#include "app/commands/command_rows.h"
#include "app/history_recording.h"
#include "app/view_canvas.h"

namespace corvina {

namespace {

// The entry of command `Id` is enabled when the command itself is.
template <int Id>
bool enabledLike(const ApplicationState& app) {
  return isCommandEnabled(app, Id);
}

// Runs command `Id` as one step of the history named as its own (the entry
// itself captures nothing: the command adds the parts its row declares).
template <int Id>
void issue(CommandContext& context) {
  if (const CommandRow* row = findCommand(Id)) nameUserAction(context.app, stepNameOf(*row));
  runCommand(context, Id);
}

// The background's clear and flips act only on a picture that is shown; their
// entries say so by their state (the keys keep doing nothing, as before).
bool backgroundShown(const ApplicationState& app) {
  return app.canvas != nullptr && app.canvas->backgroundLoaded() &&
         app.canvas->backgroundDisplayed();
}

bool backgroundDisplayOn(const ApplicationState& app) {
  return app.canvas != nullptr && app.canvas->backgroundDisplayed();
}

// The mirrors turn the selection's frame over; without a selection there is
// nothing to see.
bool selectionShown(const ApplicationState& app) {
  return app.store.modelLoaded != 0 && app.document.selection().selectionActive;
}

bool canvasPresent(const ApplicationState& app) {
  return app.canvas != nullptr;
}

// The `render` step's row: it has no number of its own.
void runRenderStep(CommandContext& context) {
  const std::vector<const CommandRow*> rows = stepRows("render");
  if (!rows.empty()) runCommand(context, *rows.front());
}

constexpr std::string_view kMenu = "&Tools";
constexpr std::string_view kBackground = "&Background";

constexpr std::array kRows{
    CommandRow{.id = kCommandPerFacet,
               .name = "PerFacet",
               .menu = kMenu,
               .menuText = "&Per-Facet Mapping...",
               .menuPosition = 1,
               .statusText = "Give every triangle its own piece of the texture map",
               .enabled = enabledLike<kCommandPerFacet>,
               .touches = kPartNone,
               .run = issue<kCommandPerFacet>},
    CommandRow{.id = kCommandLastProjection,
               .name = "LastProjection",
               .menu = kMenu,
               .menuText = "&Last Projection...",
               .menuPosition = 2,
               .statusText = "Repeat the last projection with its options",
               .enabled = enabledLike<kCommandLastProjection>,
               .touches = kPartNone,
               .run = issue<kCommandLastProjection>},
    CommandRow{.id = kCommandSelectInverse,
               .name = "SelectInverse",
               .menu = kMenu,
               .menuText = "Select &Inverse",
               .menuPosition = 3,
               .statusText = "Select what is not selected",
               .enabled = enabledLike<kCommandSelectInverse>,
               .touches = kPartNone,
               .run = issue<kCommandSelectInverse>},
    CommandRow{.id = kCommandSmooth,
               .name = "Smooth",
               .menu = kMenu,
               .menuText = "S&mooth Model...",
               .menuPosition = 4,
               .statusText = "Smooth the model's normals",
               .enabled = enabledLike<kCommandSmooth>,
               .touches = kPartNone,
               .run = issue<kCommandSmooth>},
    CommandRow{.id = kCommandTriangulate,
               .name = "Triangulate",
               .menu = kMenu,
               .menuText = "&Triangulate\tT",
               .menuPosition = 5,
               .keys = "T",
               .statusText = "Split every facet into triangles",
               .enabled = enabledLike<kCommandTriangulate>,
               .touches = kPartNone,
               .run = issue<kCommandTriangulate>},
    CommandRow{.id = kCommandDegenerates,
               .name = "Degenerates",
               .menu = kMenu,
               .menuText = "&Degenerate Facets\tIns",
               .menuPosition = 6,
               .keys = "Ins",
               .statusText = "Find and remove degenerate facets",
               .enabled = enabledLike<kCommandDegenerates>,
               .touches = kPartNone,
               .run = issue<kCommandDegenerates>},
    CommandRow{.id = kCommandInvertH,
               .name = "InvertH",
               .menu = kMenu,
               .menuText = "Mirror Selection &Horizontally\tCtrl+X",
               .menuPosition = 7,
               .keys = "Ctrl+X",
               .statusText = "Mirror the selection from left to right",
               .enabled = selectionShown,
               .touches = kPartNone,
               .run = issue<kCommandInvertH>},
    CommandRow{.id = kCommandInvertV,
               .name = "InvertV",
               .menu = kMenu,
               .menuText = "Mirror Selection &Vertically\tCtrl+Y",
               .menuPosition = 8,
               .keys = "Ctrl+Y",
               .statusText = "Mirror the selection from top to bottom",
               .enabled = selectionShown,
               .touches = kPartNone,
               .run = issue<kCommandInvertV>},
    CommandRow{.id = kCommandLoadBackground,
               .name = "LoadBackground",
               .menu = kMenu,
               .submenu = kBackground,
               .menuText = "&Load...\tCtrl+B",
               .menuPosition = 9,
               .keys = "Ctrl+B",
               .statusText = "Put a picture under the texture map",
               .enabled = enabledLike<kCommandLoadBackground>,
               .touches = kPartNone,
               .run = issue<kCommandLoadBackground>},
    CommandRow{.id = kCommandClearBackground,
               .name = "ClearBackground",
               .menu = kMenu,
               .submenu = kBackground,
               .menuText = "&Clear\tCtrl+C",
               .menuPosition = 10,
               .keys = "Ctrl+C",
               .statusText = "Remove the background picture",
               .enabled = backgroundShown,
               .touches = kPartNone,
               .run = issue<kCommandClearBackground>},
    CommandRow{.id = kCommandFlipBackgroundH,
               .name = "FlipBackgroundH",
               .menu = kMenu,
               .submenu = kBackground,
               .menuText = "Flip &Horizontally\tCtrl+U",
               .menuPosition = 11,
               .keys = "Ctrl+U",
               .statusText = "Mirror the background picture from left to right",
               .enabled = backgroundShown,
               .touches = kPartNone,
               .run = issue<kCommandFlipBackgroundH>},
    CommandRow{.id = kCommandFlipBackgroundV,
               .name = "FlipBackgroundV",
               .menu = kMenu,
               .submenu = kBackground,
               .menuText = "Flip &Vertically\tCtrl+V",
               .menuPosition = 12,
               .keys = "Ctrl+V",
               .statusText = "Mirror the background picture from top to bottom",
               .enabled = backgroundShown,
               .touches = kPartNone,
               .run = issue<kCommandFlipBackgroundV>},
    CommandRow{.id = kCommandToggleBackground,
               .name = "ToggleBackground",
               .menu = kMenu,
               .submenu = kBackground,
               .menuText = "&Show\tTab",
               .menuPosition = 13,
               .keys = "Tab",
               .statusText = "Show or hide the background picture",
               .enabled = enabledLike<kCommandToggleBackground>,
               .checked = backgroundDisplayOn,
               .touches = kPartNone,
               .run = issue<kCommandToggleBackground>},
    CommandRow{.name = "render",
               .menu = kMenu,
               .menuText = "&Export View as PNG...",
               .menuPosition = 14,
               .statusText = "Write what the view shows as a PNG picture",
               .enabled = canvasPresent,
               .touches = kPartNone,
               .run = runRenderStep},
    CommandRow{.id = kCommandHotKeys,
               .name = "Hotkeys",
               .menu = kMenu,
               .menuText = "&Hot Keys",
               .menuPosition = 15,
               .statusText = "Display Hot keys",
               .enabled = enabledLike<kCommandHotKeys>,
               .touches = kPartNone,
               .run = issue<kCommandHotKeys>},
};

}  // namespace

std::span<const CommandRow> toolsMenuCommandRows() {
  return kRows;
}

}  // namespace corvina
