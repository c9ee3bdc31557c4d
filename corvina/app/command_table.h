#pragma once
// Every command of corvina, gathered from the row files of app/commands/. The
// window builds its menus and accelerators from the rows and refreshes every
// entry's state from the predicates in one loop; corvina-cli parses its steps
// and prints --help from them; both run the same handlers.

#include <span>
#include <string_view>
#include <vector>

#include "app/command_row.h"

namespace corvina {

// Every row: the shell's first, then texture files, primitives, mapping,
// selection, tools and view.
std::span<const CommandRow> commandTable();

// The row of a command number, or nullptr for a number not in the table (and
// for 0, the number of step-only rows).
const CommandRow* findCommand(int id);

// The rows with a menu entry, in menu order.
std::vector<const CommandRow*> menuRows();

// The Tools menu, shown after the menus of menuRows(), in menu order (its
// positions count within that menu). Each entry issues the command of its
// number (the `render` step for the one without) with that command's handler,
// and shows that command's key, which stays with the command's own row or the
// view; the entries take no keys of their own. They are not part of
// commandTable(): the numbers stay those of the table's rows.
std::span<const CommandRow> toolsMenuRows();

// The rows of a corvina-cli step, in table order (several for a step whose
// word picks the command, as `color`); empty for an unknown step name.
std::vector<const CommandRow*> stepRows(std::string_view step);

// Whether the entry of `id` is enabled: the row's rule holds and its handler
// is built. False for an unknown number.
bool isCommandEnabled(const ApplicationState& app, int id);

// Whether the menu entry of `id` carries a check mark.
bool isCommandChecked(const ApplicationState& app, int id);

// Runs the handler of `row`. Handlers that need a model refuse with a
// message when there is none, so running a command whose entry is disabled
// is safe. Returns false when the handler is not built.
bool runCommand(CommandContext& context, const CommandRow& row);

// The same by command number; false also for a number not in the table.
bool runCommand(CommandContext& context, int id);

}  // namespace corvina
