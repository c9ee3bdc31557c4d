// The manual pages are written from the command rows: every step, field and
// menu entry appears, and text is escaped for the page's markup.

#include "app/cli/man_page.h"

#include <gtest/gtest.h>

#include "app/application_state.h"
#include "app/cli/help_text.h"
#include "app/cli/parsed_command_line.h"
#include "app/command_table.h"

namespace corvina::cli {
namespace {

TEST(ManPageTest, CliPageListsEveryAvailableStepWithItsArgument) {
  const std::string page = cliManPage("9.8.7");
  std::size_t listed = 0;
  for (const CommandRow* row : stepHeads()) {
    if (!isStepAvailable(row->step)) continue;
    std::string item = ".TP\n\\fB" + manText(row->step) + "\\fR";
    if (!row->argumentName.empty()) item += " \\fI" + manText(row->argumentName) + "\\fR";
    EXPECT_NE(page.find(item + "\n" + manText(row->summary) + "\n"), std::string::npos)
        << row->step;
    ++listed;
  }
  EXPECT_GT(listed, 50u);
}

TEST(ManPageTest, CliPageListsEveryFieldWithItsStartValue) {
  const std::string page = cliManPage("9.8.7");
  OptionRecords startValues;
  for (const CommandRow* row : stepHeads()) {
    if (!isStepAvailable(row->step) || row->dialog == nullptr) continue;
    std::optional<OptionDialog> dialog = row->dialog(startValues);
    ASSERT_TRUE(dialog.has_value()) << row->step;
    for (const OptionField& field : dialog->fields)
      EXPECT_NE(page.find(".TP\n\\fB" + manText(field.name) + "=\\fR"), std::string::npos)
          << row->step << " " << field.name;
  }
  // A few start values, as --help prints them.
  for (const char* expected : {"\\fBmapSize=\\fR\\fI1024\\fR", "\\fBexportNormals=\\fR\\fIon\\fR",
                               "\\fBalignment=\\fR\\fIz\\fR", "\\fBpixelsPerUnit=\\fR\\fI50\\fR"})
    EXPECT_NE(page.find(expected), std::string::npos) << expected;
}

TEST(ManPageTest, PagesCarryTheVersionAndTheOptions) {
  const std::string cli = cliManPage("9.8.7");
  const std::string window = windowManPage("9.8.7");
  for (const std::string* page : {&cli, &window}) {
    EXPECT_NE(page->find("\"corvina 9.8.7\""), std::string::npos);
    EXPECT_NE(page->find("\\-\\-version"), std::string::npos);
    EXPECT_EQ(page->rfind(".TH ", 0), 0u);
  }
  for (const char* option : {"\\-\\-answer=", "\\-\\-view=", "\\-\\-help"})
    EXPECT_NE(cli.find(option), std::string::npos) << option;
}

TEST(ManPageTest, WindowPageListsEveryMenuEntryWithItsKeys) {
  const std::string page = windowManPage("1.0.0");
  for (const CommandRow* row : menuRows()) {
    std::string_view text = row->menuText.substr(0, row->menuText.find('\t'));
    std::string entry = manText(text);
    if (!row->submenu.empty()) entry = manText(row->submenu) + " \\(-> " + entry;
    std::string item = ".TP\n\\fB" + entry + "\\fR";
    if (!row->keys.empty()) item += " (" + manText(row->keys) + ")";
    EXPECT_NE(page.find(item + "\n"), std::string::npos) << row->name;
  }
  EXPECT_NE(page.find(".SS File\n"), std::string::npos);
}

TEST(ManPageTest, TextIsEscapedForTheMarkup) {
  struct Case {
    std::string_view text;
    std::string_view expected;
  };
  const Case cases[] = {
      {"&Load Model...", "Load Model..."},
      {"new-box", "new\\-box"},
      {"a\\b", "a\\eb"},
      {".hidden", "\\&.hidden"},
      {"'quoted'", "\\&'quoted'"},
      {"R & D", "R & D"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(manText(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace corvina::cli
