#pragma once
// What the selection commands do: the select method, select all, none,
// inverse and by set with their list dialogs, assigning the selection to a
// set with the name dialog and the "does not exist" question, the view's
// mouse and key steps, inversion, undo, redo and the hot keys list. The rows
// of selection_commands.cpp name these handlers.

#include <optional>

#include "app/command_row.h"
#include "editor/selection_editor.h"
#include "editor/view_keys.h"

namespace corvina {

void runSelectByFacet(CommandContext& context);
void runSelectByVertex(CommandContext& context);
void runSelectAll(CommandContext& context);
void runSelectNone(CommandContext& context);
void runSelectInverse(CommandContext& context);
void runSelectGroup(CommandContext& context);
void runSelectMaterial(CommandContext& context);
void runSelectRegion(CommandContext& context);
void runAssignGroup(CommandContext& context);
void runAssignMaterial(CommandContext& context);
void runAssignRegion(CommandContext& context);
void runInvertHorizontally(CommandContext& context);
void runInvertVertically(CommandContext& context);
void runUndo(CommandContext& context);
void runRedo(CommandContext& context);
void runHotKeys(CommandContext& context);

// corvina-cli's view steps: the pointer and the keys in the view, measured
// in the application's view size.
void runBandStep(CommandContext& context);
void runClickStep(CommandContext& context);
void runRightClickStep(CommandContext& context);
void runDragStep(CommandContext& context);
void runKeyStep(CommandContext& context);

// The key step's shift= and numlock= words, over `options`.
OptionDialog keyStepDialog(KeyStepOptions& options);

// Carries out the editor's answer to a view event: runs the command it asks
// for and redraws.
void finishViewEvent(CommandContext& context, const EditorResponse& response);

}  // namespace corvina
