#pragma once
// A user for tests: records every message, question, file, list and name
// request and option dialog, and answers from queues the test fills
// beforehand. An empty queue answers like a batch run: the question's
// unattended answer, a cancelled file, list or name dialog, an accepted option
// dialog.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/user_interface.h"

namespace corvina::testing {

struct RecordedMessage {
  std::string caption;
  std::string text;
  MessageIcon icon;
};

class ScriptedUserInterface : public UserInterface {
 public:
  std::vector<RecordedMessage> messages;
  std::vector<RecordedMessage> questions;
  std::vector<FileRequest> fileRequests;
  std::vector<std::string> optionDialogs;  // captions, in order shown
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> files;
  std::deque<bool> optionResults;
  std::vector<ListRequest> listRequests;
  std::deque<std::optional<std::vector<int>>> listChoices;
  std::vector<NameRequest> nameRequests;
  std::deque<std::optional<std::string>> names;
  int windowCloses = 0;
  int progressBegun = 0, progressSteps = 0, progressEnded = 0;
  int busyOn = 0, busyOff = 0, refreshes = 0;

  void showMessage(const std::string& caption, const std::string& text, MessageIcon icon) override {
    messages.push_back({caption, text, icon});
  }
  Answer ask(const std::string& caption, const std::string& text, MessageIcon icon, QuestionButtons,
             Answer unattended) override {
    questions.push_back({caption, text, icon});
    if (answers.empty()) return unattended;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<std::string> chooseFile(const FileRequest& request) override {
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  }
  bool editOptions(OptionDialog& dialog) override {
    optionDialogs.push_back(dialog.caption);
    if (optionResults.empty()) return true;
    bool ok = optionResults.front();
    optionResults.pop_front();
    return ok;
  }
  std::optional<std::vector<int>> chooseFromList(const ListRequest& request) override {
    listRequests.push_back(request);
    if (listChoices.empty()) return std::nullopt;
    auto chosen = listChoices.front();
    listChoices.pop_front();
    return chosen;
  }
  std::optional<std::string> chooseName(const NameRequest& request) override {
    nameRequests.push_back(request);
    if (names.empty()) return std::nullopt;
    auto name = names.front();
    names.pop_front();
    return name;
  }
  void beginProgress(int) override { ++progressBegun; }
  void stepProgress() override { ++progressSteps; }
  void endProgress() override { ++progressEnded; }
  void setBusy(bool busy) override { ++(busy ? busyOn : busyOff); }
  void refreshViews() override { ++refreshes; }
  void closeMainWindow() override { ++windowCloses; }
};

}  // namespace corvina::testing
