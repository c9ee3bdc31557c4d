#include "app/command_table.h"

#include <algorithm>

#include "app/commands/command_rows.h"
#include "app/history_recording.h"

namespace corvina {

namespace {

std::vector<CommandRow> gatherRows() {
  std::vector<CommandRow> rows;
  for (std::span<const CommandRow> part :
       {shellCommandRows(), textureFileCommandRows(), primitiveCommandRows(), mappingCommandRows(),
        selectionCommandRows(), toolsCommandRows(), viewCommandRows(), layoutCommandRows(),
        stretchCommandRows(), previewCommandRows()})
    rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace

std::span<const CommandRow> commandTable() {
  static const std::vector<CommandRow> rows = gatherRows();
  return rows;
}

const CommandRow* findCommand(int id) {
  if (id == 0) return nullptr;
  for (const CommandRow& row : commandTable())
    if (row.id == id) return &row;
  return nullptr;
}

std::vector<const CommandRow*> menuRows() {
  std::vector<const CommandRow*> rows;
  for (const CommandRow& row : commandTable())
    if (!row.menuText.empty()) rows.push_back(&row);
  std::stable_sort(rows.begin(), rows.end(), [](const CommandRow* a, const CommandRow* b) {
    return a->menuPosition < b->menuPosition;
  });
  return rows;
}

std::span<const CommandRow> toolsMenuRows() {
  return toolsMenuCommandRows();
}

std::vector<const CommandRow*> stepRows(std::string_view step) {
  std::vector<const CommandRow*> rows;
  if (step.empty()) return rows;
  for (const CommandRow& row : commandTable())
    if (row.step == step) rows.push_back(&row);
  return rows;
}

bool isCommandEnabled(const ApplicationState& app, int id) {
  const CommandRow* row = findCommand(id);
  return row != nullptr && row->run != nullptr && row->enabled != nullptr && row->enabled(app);
}

bool isCommandChecked(const ApplicationState& app, int id) {
  const CommandRow* row = findCommand(id);
  return row != nullptr && row->checked != nullptr && row->checked(app);
}

bool runCommand(CommandContext& context, const CommandRow& row) {
  if (row.run == nullptr) return false;
  {
    const CommandAction action(context.app, row);
    row.run(context);
  }
  // Any command may have changed the model or the selection behind the
  // view editor's back, and an action's end may put them back.
  context.app.editor.modelMayHaveChanged();
  return true;
}

bool runCommand(CommandContext& context, int id) {
  const CommandRow* row = findCommand(id);
  return row != nullptr && runCommand(context, *row);
}

}  // namespace corvina
