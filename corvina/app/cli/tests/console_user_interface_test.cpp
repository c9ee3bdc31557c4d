// corvina-cli's user: list and name dialogs answered from a step's words, and
// the step's path as the file dialog's answer.

#include "app/cli/console_user_interface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/parsed_command_line.h"

namespace corvina::cli {
namespace {

// What a stream received, read back after the test wrote it.
class CapturedStream {
 public:
  CapturedStream() : file_(std::tmpfile()) {}
  ~CapturedStream() { std::fclose(file_); }
  CapturedStream(const CapturedStream&) = delete;
  CapturedStream& operator=(const CapturedStream&) = delete;
  std::FILE* file() { return file_; }
  std::string text() {
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
};

ParsedStep stepWith(StepArgument argument, std::vector<std::string> words) {
  static CommandRow rows[7];
  CommandRow& row = rows[static_cast<int>(argument)];
  row.step = "test-step";
  row.argument = argument;
  ParsedStep step;
  step.row = &row;
  step.input.words = std::move(words);
  return step;
}

TEST(ConsoleUserInterfaceTest, ListPicksComeFromTheStepsNames) {
  struct Case {
    const char* what;
    std::vector<std::string> names;
    bool multiple;
    std::optional<std::vector<int>> expected;
    std::string err;
  };
  const std::vector<std::string> items = {"body", "head", "arm", "head2"};
  const Case cases[] = {
      {"one name", {"arm"}, true, std::vector<int>{2}, ""},
      {"several, in list order", {"head2", "body"}, true, std::vector<int>{0, 3}, ""},
      {"a name twice counts once", {"head", "head"}, true, std::vector<int>{1}, ""},
      {"one-item list takes the first name", {"arm", "body"}, false, std::vector<int>{2}, ""},
      {"names match whole and in case",
       {"Head"},
       true,
       std::nullopt,
       "[Select Group]\nThere is no \"Head\" in the list.\n\n"},
      {"a missing name stops the step",
       {"body", "leg"},
       true,
       std::nullopt,
       "[Select Group]\nThere is no \"leg\" in the list.\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CapturedStream out, err;
    ConsoleUserInterface ui(out.file(), err.file(), std::nullopt);
    ParsedStep step = stepWith(StepArgument::Names, c.names);
    ui.beginStep(step);
    EXPECT_EQ(ui.chooseFromList({"Select Group", items, c.multiple}), c.expected);
    EXPECT_EQ(err.text(), c.err);
    EXPECT_EQ(ui.errorShown(), !c.err.empty());
    EXPECT_EQ(out.text(), "");
  }
}

TEST(ConsoleUserInterfaceTest, DialogsTakeOnlyTheArgumentTheirStepHas) {
  struct Case {
    const char* what;
    StepArgument argument;
    std::vector<std::string> words;
    std::optional<std::string> file, name;
    bool listAnswered;
  };
  const Case cases[] = {
      {"a path step answers the file dialog",
       StepArgument::Path,
       {"out.obj"},
       "out.obj",
       std::nullopt,
       false},
      {"a name step answers the name dialog",
       StepArgument::Name,
       {"skin"},
       std::nullopt,
       "skin",
       false},
      {"a names step answers the list",
       StepArgument::Names,
       {"a"},
       std::nullopt,
       std::nullopt,
       true},
      {"a step without words cancels them all",
       StepArgument::None,
       {},
       std::nullopt,
       std::nullopt,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CapturedStream out, err;
    ConsoleUserInterface ui(out.file(), err.file(), std::nullopt);
    ParsedStep step = stepWith(c.argument, c.words);
    ui.beginStep(step);
    EXPECT_EQ(ui.chooseFile(FileRequest{}), c.file);
    EXPECT_EQ(ui.chooseName({"Assign", "Name", {"skin", "bone"}, ""}), c.name);
    EXPECT_EQ(ui.chooseFromList({"List", {"a"}, true}).has_value(), c.listAnswered);
  }
}

}  // namespace
}  // namespace corvina::cli
