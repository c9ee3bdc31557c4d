#include "host/console_dialogs.h"

#include "host_api/platform_dialogs.h"

#include <istream>
#include <ostream>

ConsoleDialogs::ConsoleDialogs(std::optional<std::string> saveAsPath, std::ostream& messages,
                               std::istream& answers, bool answersAreInteractive)
    : saveAsPath_(std::move(saveAsPath)),
      messages_(messages),
      answers_(answers),
      answersAreInteractive_(answersAreInteractive) {}

void ConsoleDialogs::showMessage(const std::string& caption, const std::string& text, uint32_t) {
  messages_ << "[" << caption << "]\n" << text << "\n\n" << std::flush;
}

bool ConsoleDialogs::askYesNo(const std::string& caption, const std::string& text) {
  messages_ << "[" << caption << "]\n" << text << "\n" << std::flush;
  bool yes = true;
  if (answersAreInteractive_) {
    messages_ << "(y/n) " << std::flush;
    std::string answer;
    // End of input counts as No: nothing is replaced unless the user said so.
    yes = static_cast<bool>(std::getline(answers_, answer)) && !answer.empty() &&
          (answer[0] == 'y' || answer[0] == 'Y');
  }
  messages_ << (yes ? "-> Yes" : "-> No") << "\n\n" << std::flush;
  return yes;
}

std::optional<std::string> ConsoleDialogs::chooseSaveFile(const SaveDialogRequest&) {
  return saveAsPath_;
}

void ConsoleDialogs::refuseSaveFile(const std::string& caption, const std::string& text) {
  saveRefused_ = true;
  showMessage(caption, text, MB_ICONWARNING);
}
