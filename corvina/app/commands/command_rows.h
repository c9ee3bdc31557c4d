#pragma once
// The command rows of each subsystem, one function per file of this folder.
// command_table.cpp gathers them; a subsystem adds its rows to its own file.

#include <span>

#include "app/command_row.h"

namespace corvina {

std::span<const CommandRow> shellCommandRows();        // shell_commands.cpp
std::span<const CommandRow> textureFileCommandRows();  // texture_file_commands.cpp
std::span<const CommandRow> primitiveCommandRows();    // primitive_commands.cpp
std::span<const CommandRow> mappingCommandRows();      // mapping_commands.cpp
std::span<const CommandRow> selectionCommandRows();    // selection_commands.cpp
std::span<const CommandRow> toolsCommandRows();        // tools_commands.cpp
std::span<const CommandRow> viewCommandRows();         // view_commands.cpp
std::span<const CommandRow> layoutCommandRows();       // layout_commands.cpp
std::span<const CommandRow> stretchCommandRows();      // stretch_commands.cpp
std::span<const CommandRow> previewCommandRows();      // preview_commands.cpp

// The rows of the Tools menu; they issue commands of the rows above and are
// not part of the command table (command_table.h, toolsMenuRows).
std::span<const CommandRow> toolsMenuCommandRows();  // tools_menu_commands.cpp

}  // namespace corvina
