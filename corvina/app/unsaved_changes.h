#pragma once
// Unsaved work is offered a save before the window replaces the model (Load
// Model, New Model, a dropped file) or ends (Exit). corvina-cli never asks:
// a batch job saves only where a step says so.

#include "app/application_state.h"
#include "app/user_interface.h"

namespace corvina {

// The commands that replace the model on screen.
bool replacesModel(int commandId);

// While the model has unsaved changes, asks "Save changes to NAME?" (Yes,
// No, Cancel); Yes runs Save Model. Returns whether to go on: no changes,
// No, or Yes with the model saved (a cancelled or failed save stops).
bool offerToSaveChanges(ApplicationState& app, UserInterface& ui);

}  // namespace corvina
