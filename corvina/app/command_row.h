#pragma once
// One row per command: everything the menu, the accelerators, the enablement
// update, corvina-cli's parser and --help, and the tests know about a command.
// Rows of one subsystem live in one file under app/commands/; command_table.h
// gathers them.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/application_state.h"
#include "app/model_parts.h"
#include "app/user_interface.h"

namespace corvina {

// What a corvina-cli step gives its command besides field=value words: the
// plain words as written, and for a pixel step the numbers they hold. A
// command issued from the menu or a key has none.
struct StepInput {
  std::vector<std::string> words;
  std::vector<int> pixels;
};

struct CommandContext {
  ApplicationState& app;
  UserInterface& ui;
  const StepInput* step = nullptr;  // set only while corvina-cli runs a step
};

// What a step takes as its plain (not field=value) arguments.
enum class StepArgument {
  None,
  Path,     // one path, instead of the file dialog
  RowWord,  // one word that picks the row among the rows of the same step (`color group`)
  Word,     // one word of `CommandRow::words` (`key enter`)
  Name,     // one name, the answer to the name dialog
  Names,    // one or more names, the items chosen in the list dialog
  Pixels,   // `pixelCount` whole numbers, view pixel coordinates
};

struct CommandRow {
  int id = 0;                  // command number; 0 for a step that no menu entry or key issues
  std::string_view name = {};  // the short name, e.g. "ColorGroup"; the step name when id is 0

  // The menu entry: top menu, submenu ("" for none) and the entry's text with
  // its & mnemonic and \t accelerator. An empty text: no menu entry.
  std::string_view menu = {};
  std::string_view submenu = {};
  std::string_view menuText = {};
  int menuPosition = 0;  // the entry's place in the whole menu, from 1; 0 without entry

  // The keys that issue the command, "; "-separated ("Ctrl+Z; Alt+Backspace").
  std::string_view keys = {};
  std::string_view statusText = {};  // shown while the entry is highlighted

  bool (*enabled)(const ApplicationState& app) = nullptr;
  // The handler answers a missing model with a message of its own ("Please
  // load an OBJ file first"), which corvina-cli shows instead of its refusal.
  bool answersMissingModel = false;
  bool (*checked)(const ApplicationState& app) = nullptr;  // nullptr: never checked

  // corvina-cli: the step name ("" for a command without step), its plain
  // arguments and whether it takes answer=.
  std::string_view step = {};
  StepArgument argument = StepArgument::None;
  std::string_view argumentName = {};            // "PATH", "MODE", "NAME...", "X0 Y0 X1 Y1"
  std::string_view rowWord = {};                 // RowWord: the word that picks this row
  std::span<const std::string_view> words = {};  // Word: the words taken
  int pixelCount = 0;                            // Pixels: how many numbers
  bool takesAnswer = false;
  std::string_view summary = {};  // --help's line for the step

  // The option dialog whose fields the step's field=value words set, built
  // over `records`; nullopt when the command shows no option dialog.
  std::optional<OptionDialog> (*dialog)(OptionRecords& records) = nullptr;
  // A command that repeats another shows that one's dialog instead: the
  // commands whose dialogs it may show. corvina-cli takes the fields of any
  // of them and refuses, when the step runs, those the dialog shown lacks.
  std::span<const int> repeatsDialogsOf = {};

  // The parts of the model the command may change (ModelPart bits): the
  // edit history copies them before it runs. Rows that leave a part alone
  // may say so, to spare the copy.
  unsigned touches = kPartAll;

  // What the command does; nullptr while it is not built yet (its menu entry
  // is then disabled and its step is refused).
  void (*run)(CommandContext& context) = nullptr;
};

}  // namespace corvina
