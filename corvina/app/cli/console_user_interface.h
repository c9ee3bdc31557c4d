#pragma once
// The user as corvina-cli plays it: message boxes become text on standard
// output (errors on standard error), questions are answered from the command
// line, the file dialog takes the step's path, list and name dialogs its
// names, and option dialogs the step's field=value settings. Progress, busy
// cursor and repaints are silent.

#include <cstdio>
#include <optional>

#include "app/cli/parsed_command_line.h"
#include "app/user_interface.h"

namespace corvina::cli {

class ConsoleUserInterface : public UserInterface {
 public:
  // `defaultAnswer` is --answer=; without it questions take their own
  // unattended answer.
  ConsoleUserInterface(std::FILE* out, std::FILE* err, std::optional<Answer> defaultAnswer)
      : out_(out), err_(err), defaultAnswer_(defaultAnswer) {}

  // The step whose path, settings and answer the next dialogs take. `step`
  // must stay alive while it runs.
  void beginStep(const ParsedStep& step) {
    step_ = &step;
    errorShown_ = false;
    loadFailed_ = false;
  }

  // Whether the current step has shown an error message.
  bool errorShown() const { return errorShown_; }

  // Whether the current step failed: it showed an error, or a file it was
  // given could not be loaded (also when the message was only a warning).
  bool stepFailed() const { return errorShown_ || loadFailed_; }

  void showMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
  Answer ask(const std::string& caption, const std::string& text, MessageIcon icon,
             QuestionButtons buttons, Answer unattended) override;
  std::optional<std::string> chooseFile(const FileRequest& request) override;
  bool editOptions(OptionDialog& dialog) override;
  std::optional<std::vector<int>> chooseFromList(const ListRequest& request) override;
  std::optional<std::string> chooseName(const NameRequest& request) override;
  void beginProgress(int) override {}
  void stepProgress() override {}
  void endProgress() override {}
  void setBusy(bool) override {}
  void loadFailed() override { loadFailed_ = true; }

 private:
  std::FILE* out_;
  std::FILE* err_;
  std::optional<Answer> defaultAnswer_;
  const ParsedStep* step_ = nullptr;
  bool errorShown_ = false;
  bool loadFailed_ = false;
};

}  // namespace corvina::cli
