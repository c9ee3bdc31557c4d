#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "host/host_dialogs.h"

// The host program's dialogs: messages go to standard error as "[caption]",
// the text, then an empty line; the save dialog is answered by the path given
// on the command line (none means cancelled); a question is answered Yes
// without asking when standard input is not a terminal, otherwise read from it.
class ConsoleDialogs : public HostDialogs {
 public:
  ConsoleDialogs(std::optional<std::string> saveAsPath, std::ostream& messages,
                 std::istream& answers, bool answersAreInteractive);

  void showMessage(const std::string& caption, const std::string& text, uint32_t type) override;
  bool askYesNo(const std::string& caption, const std::string& text) override;
  std::optional<std::string> chooseSaveFile(const SaveDialogRequest& request) override;
  void refuseSaveFile(const std::string& caption, const std::string& text) override;

  // True once the save dialog refused the path it was given: the batch run
  // did not do what was asked.
  bool saveRefused() const { return saveRefused_; }

 private:
  std::optional<std::string> saveAsPath_;
  std::ostream& messages_;
  std::istream& answers_;
  bool answersAreInteractive_;
  bool saveRefused_ = false;
};
