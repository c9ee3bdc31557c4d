#pragma once
// The commands of the main menu that exist so far: number, short name, menu
// text, status text, when the entry is enabled or checked, and what it does.
// The window builds its menus from this table and refreshes every entry's
// state from the predicates in one loop; corvina-cli runs the same handlers.

#include <span>
#include <string_view>

#include "app/application_state.h"
#include "model/user_interface.h"

namespace corvina {

struct CommandContext {
  ApplicationState& app;
  UserInterface& ui;
};

struct CommandEntry {
  int id;
  std::string_view name;        // the short name, e.g. "ColorGroup"
  std::string_view menuText;    // with its & mnemonic and \t accelerator
  std::string_view statusText;  // shown while the entry is highlighted
  bool (*enabled)(const ApplicationState& app);
  bool (*checked)(const ApplicationState& app);  // nullptr: never checked
  void (*run)(CommandContext& context);
};

// Every command, in menu order.
std::span<const CommandEntry> commandTable();

// The entry of a command number, or nullptr for a number not in the table.
const CommandEntry* findCommand(int id);

// Whether the menu entry of `id` is enabled (false for an unknown number).
bool isCommandEnabled(const ApplicationState& app, int id);

// Whether the menu entry of `id` carries a check mark.
bool isCommandChecked(const ApplicationState& app, int id);

// Runs the handler of `id`. Handlers that need a model refuse with a message
// when there is none, so running a command whose entry is disabled is safe.
// Returns false only for a number not in the table.
bool runCommand(CommandContext& context, int id);

}  // namespace corvina
