// The save dialog's own rules, which every front end of the host shares.

#include "host/host_dialogs.h"

#include <gtest/gtest.h>

#include "host_api/platform_dialogs.h"
#include "tests/test_support.h"

namespace brushwright_test {
namespace {

struct DialogOutcome {
  int result;
  std::string file, title;
  size_t messages, questions;
};

DialogOutcome runSaveDialog(const std::optional<std::string>& answer, uint32_t flags,
                            uint32_t bufferSize, bool confirm = true) {
  ScriptedDialogs dialogs(answer, confirm);
  std::vector<char> file(bufferSize, '\0');
  char title[16] = {};
  OPENFILENAMEA dialog;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = bufferSize;
  dialog.lpstrFileTitle = title;
  dialog.nMaxFileTitle = sizeof title;
  dialog.lpstrDefExt = "map";
  dialog.Flags = flags;
  const int result = GetSaveFileNameA(&dialog);
  return {result, file.data(), title, dialogs.messages.size(), dialogs.questions.size()};
}

TEST(SaveDialog, AppliesExtensionPathAndOverwriteRules) {
  TempFolder folder;
  writeFile(folder.path("old.map"), "x");
  const uint32_t all = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  const std::string longName = folder.path(std::string(600, 'a') + ".map");
  struct Case {
    std::string label;
    std::optional<std::string> answer;
    uint32_t flags;
    bool confirm;
    DialogOutcome expected;
  };
  const Case cases[] = {
      {"cancelled", std::nullopt, all, true, {0, "", "", 0, 0}},
      {"extension added",
       folder.path("level"),
       all,
       true,
       {1, folder.path("level.map"), "level.map", 0, 0}},
      {"extension kept",
       folder.path("level.txt"),
       all,
       true,
       {1, folder.path("level.txt"), "level.txt", 0, 0}},
      {"dot in folder only",
       folder.path("a.b/level"),
       0,
       true,
       {1, folder.path("a.b/level.map"), "level.map", 0, 0}},
      {"missing folder", folder.path("none/level.map"), all, true, {0, "", "", 1, 0}},
      {"existing, replaced",
       folder.path("old.map"),
       all,
       true,
       {1, folder.path("old.map"), "old.map", 0, 1}},
      {"existing, kept", folder.path("old.map"), all, false, {0, "", "", 0, 1}},
      {"existing, no prompt asked",
       folder.path("old.map"),
       0,
       false,
       {1, folder.path("old.map"), "old.map", 0, 0}},
      {"name longer than the buffer", longName, all, true, {0, "", "", 1, 0}},
      {"file title cut to its buffer",
       folder.path("a_rather_long_name.map"),
       all,
       true,
       {1, folder.path("a_rather_long_name.map"), "a_rather_long_n", 0, 0}},
  };
  for (const Case& c : cases) {
    const DialogOutcome outcome = runSaveDialog(c.answer, c.flags, 512, c.confirm);
    const DialogOutcome& expected = c.expected;
    EXPECT_EQ(outcome.result, expected.result) << c.label;
    EXPECT_EQ(outcome.file, expected.file) << c.label;
    EXPECT_EQ(outcome.title, expected.title) << c.label;
    EXPECT_EQ(outcome.messages, expected.messages) << c.label;
    EXPECT_EQ(outcome.questions, expected.questions) << c.label;
  }
}

TEST(SaveDialog, CancelsWithoutDialogsOrBuffer) {
  setHostDialogs(nullptr);
  char file[8] = {};
  OPENFILENAMEA dialog;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  EXPECT_EQ(GetSaveFileNameA(&dialog), 0);
  EXPECT_EQ(GetSaveFileNameA(nullptr), 0);
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
}

}  // namespace
}  // namespace brushwright_test
