#pragma once
// Feeding the edit history: every command row run through the command table
// is one user action, named for its menu entry ("Box Mapping") and capturing
// the model parts its row declares; the view's input (a key, a press up to
// its release) is one action too, begun and ended by the front end around
// it. Undo and redo exchange a step with the current state and bring the
// view's frame and background along.

#include <cstddef>
#include <memory>
#include <string>

#include "app/command_row.h"
#include "editor/view_keys.h"

namespace corvina {

// The step name of a command: its menu entry's words, with the submenu where
// the entry alone does not say it ("Tile by Group", "Select All", "Box
// Mapping"), else the row's name in words.
std::string stepNameOf(const CommandRow& row);

// The bound of the history's memory, from the user settings.
std::size_t historyLimitBytes(const ApplicationState& app);

void beginUserAction(ApplicationState& app, unsigned parts, std::string name,
                     bool collates = false);
void nameUserAction(ApplicationState& app, std::string name, bool collates = false);
void endUserAction(ApplicationState& app);

// What a key or a button press in the view may change, and how its step is
// named ("" for a press: "Move Selection" when only the frame moved, else
// "Select").
struct ViewAction {
  bool recorded = false;  // false: the key is not the view's
  unsigned parts = kPartNone;
  std::string name;
  bool collates = false;
};
ViewAction viewKeyAction(KeyAction action);
ViewAction viewPressAction(const ApplicationState& app, bool leftButton);

// One command row run as a user action (nothing for undo and redo
// themselves). While it lasts the application's canvas reports background
// flips and new pictures to the history.
class CommandAction {
 public:
  CommandAction(ApplicationState& app, const CommandRow& row);
  ~CommandAction();
  CommandAction(const CommandAction&) = delete;
  CommandAction& operator=(const CommandAction&) = delete;

 private:
  ApplicationState& app_;
  bool active_ = false;
  ViewCanvas* canvas_ = nullptr;  // the real canvas while a watching one stands in
  std::unique_ptr<ViewCanvas> watcher_;
};

// Takes back the last step (does the next one again); false when there is
// none or another action is still open (a drag).
bool undoLastStep(ApplicationState& app);
bool redoNextStep(ApplicationState& app);

// "Undo Box Mapping" or nothing, for the menu entries.
std::string undoStepName(const ApplicationState& app);
std::string redoStepName(const ApplicationState& app);

// The model has changes not saved: steps since the last save that reach
// the file, or a selection moved but not committed.
bool hasUnsavedChanges(const ApplicationState& app);

// The model's name as the title and the save question show it: the file
// name without folder and extension, else the name of the file it was
// opened from ("Untitled" for a generated model), "" without a model.
std::string modelDisplayName(const ApplicationState& app);

}  // namespace corvina
