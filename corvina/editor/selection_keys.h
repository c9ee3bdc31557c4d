#pragma once
// What the view's keys do to the selection frame and the model: moving,
// centring, scaling and snapping the target rectangle T, committing or
// dropping the selection, and hiding or showing facets. One step is one
// pixel of the view (1 / width across, 1 / height down), or 1/32 of the view
// while Shift is held.

#include "editor/view_keys.h"
#include "editor/view_size.h"
#include "model/model_store.h"
#include "tools/selection_blocks.h"
#include "tools/selection_state.h"

namespace corvina {

// Carries out `action` on the selection and the model. Triangulate and
// Degenerates are commands of their own that the caller runs; they change
// nothing here. Returns false only for KeyAction::None. `blocks`, when given,
// are the notes the editor keeps between its own edits (see
// selection_blocks.h): the commit, Esc and the hide keys that touch only the
// selected corners walk just the runs that hold them and leave the notes
// describing the store; the keys that touch other corners forget them.
bool applyKeyAction(ModelStore& store, SelectionState& selection, KeyAction action, bool shift,
                    ViewSize view, SelectionBlocks* blocks = nullptr);

// Shrinks the frame to the selected corners without moving anything on the
// screen: S becomes their box, T the place where that box is shown now.
// Does nothing unless a selection is active and a selected corner has a
// texture coordinate.
void snapFrameToSelection(const ModelStore& store, SelectionState& selection);

}  // namespace corvina
