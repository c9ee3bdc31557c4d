#include "app/unsaved_changes.h"

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/history_recording.h"

namespace corvina {

bool replacesModel(int commandId) {
  switch (commandId) {
    case kCommandLoadModel:
    case kCommandNewBox:
    case kCommandNewCone:
    case kCommandNewCylinder:
    case kCommandNewSphere:
    case kCommandNewTorus:
      return true;
    default:
      return false;
  }
}

bool offerToSaveChanges(ApplicationState& app, UserInterface& ui) {
  if (!hasUnsavedChanges(app)) return true;
  const Answer answer = ui.ask("Corvina", "Save changes to " + modelDisplayName(app) + "?",
                               MessageIcon::Warning, QuestionButtons::YesNoCancel, Answer::Cancel);
  if (answer == Answer::No) return true;
  if (answer == Answer::Cancel) return false;
  CommandContext context{app, ui};
  runCommand(context, kCommandSaveModel);
  return !hasUnsavedChanges(app);
}

}  // namespace corvina
