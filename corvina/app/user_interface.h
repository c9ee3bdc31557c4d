#pragma once
// The only way the commands talk to the person using them: message boxes,
// questions, file, list, name and option dialogs, progress and repaints. The
// window answers with dialogs, corvina-cli with its arguments and standard
// output, tests with a script of answers. The layers below the commands never
// see it; they report progress to a ProgressSink and return outcomes.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/progress_sink.h"

namespace corvina {

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class Answer { Yes, No, Cancel };
enum class QuestionButtons { YesNo, YesNoCancel };

// A file dialog as a command describes it. Filters are (label, pattern) pairs,
// for example {"Wavefront Model (*.obj)", "*.obj"}.
struct FileRequest {
  bool save = false;
  std::string title;
  std::vector<std::pair<std::string, std::string>> filters;
  std::string initialName;
  std::string defaultExtension;
  std::string directory;  // where the dialog starts (lastDirectory)
  bool confirmOverwrite = false;
};

// One field of an option dialog, bound to the field of the option record it
// edits. Exactly one of the pointers is set, matching the kind.
struct OptionField {
  enum class Kind { Bool, Int, Float, Choice, Text };
  std::string name;   // the record's field name; corvina-cli's field=value key
  std::string label;  // the dialog's caption for it
  Kind kind = Kind::Bool;
  bool* boolValue = nullptr;
  int* intValue = nullptr;           // Int and Choice (the choice's number)
  float* floatValue = nullptr;       // Float
  double minimum = 0, maximum = 0;   // Int and Float range, inclusive
  std::vector<std::string> choices;  // Choice: word of each number, from 0
  // Choice: the text of each number's radio button, from 0; the words when
  // empty.
  std::vector<std::string> choiceLabels;
  std::string* textValue = nullptr;  // Text
  int maxLength = 0;                 // Text: most characters taken; 0 no limit
  // Text: a "Browse...." button beside the edit opens this file dialog and
  // puts the chosen path into the text.
  std::optional<FileRequest> browse;
};

struct OptionDialog {
  std::string caption;
  std::vector<OptionField> fields;
};

// A list dialog: the user picks one or (with `multiple`) several items.
struct ListRequest {
  std::string caption;
  std::vector<std::string> items;
  bool multiple = true;
};

// A name dialog: the user types a name or picks one of `items`.
struct NameRequest {
  std::string caption;
  std::string label;
  std::vector<std::string> items;
  std::string initial;
};

class UserInterface : public ProgressSink {
 public:
  virtual ~UserInterface() = default;

  // A modal message box with one OK button.
  virtual void showMessage(const std::string& caption, const std::string& text,
                           MessageIcon icon) = 0;

  // An information box listing keys: lines of a key, blanks and tabs and what
  // the key does, between heading lines (hotKeysText). The window lays it out
  // as a table of two columns; elsewhere it is an information message.
  virtual void showKeyList(const std::string& caption, const std::string& text) {
    showMessage(caption, text, MessageIcon::Information);
  }

  // A modal question. `unattended` is the answer a batch run gives when it is
  // not told otherwise (No only for offers that would change data unasked).
  virtual Answer ask(const std::string& caption, const std::string& text, MessageIcon icon,
                     QuestionButtons buttons, Answer unattended = Answer::Yes) = 0;

  // A path, or nothing when the user cancels.
  virtual std::optional<std::string> chooseFile(const FileRequest& request) = 0;

  // Shows the option dialog over its record; false when cancelled (the record
  // is then unchanged).
  virtual bool editOptions(OptionDialog& dialog) = 0;

  // The indices (0-based, ascending) of the items chosen, or nullopt on
  // Cancel.
  virtual std::optional<std::vector<int>> chooseFromList(const ListRequest& request) = 0;

  // The typed or picked name, or nullopt on Cancel.
  virtual std::optional<std::string> chooseName(const NameRequest& request) = 0;

  // The progress calls of ProgressSink show a bar in the status bar.

  virtual void setBusy(bool busy) = 0;

  // Redraw of every view after a command changed what they show.
  virtual void refreshViews() {}

  // Closes the main window and so ends the program (Exit); nothing to do
  // where there is no window.
  virtual void closeMainWindow() {}

  // A file the user named could not be loaded, whatever icon its message
  // carried. The window has told the user already; a batch run counts the
  // step as failed.
  virtual void loadFailed() {}
};

}  // namespace corvina
