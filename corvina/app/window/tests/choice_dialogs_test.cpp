// The pickers of the selection commands as a user meets them: OK pressed at
// once takes what the dialog offers.

#include "app/window/choice_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace corvina::window {
namespace {

// Presses OK on the dialog as soon as it is shown.
void acceptWhenShown() {
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
  });
}

struct ListCase {
  std::vector<std::string> items;
  bool multiple;
  std::vector<int> chosen;
};

TEST(ListDialog, OkAtOnceChoosesTheTopItem) {
  const ListCase cases[] = {
      {{"wheels", "body", "glass"}, true, {0}},
      {{"wheels", "body", "glass"}, false, {0}},
      {{"only"}, true, {0}},
      {{}, true, {}},
  };
  for (const ListCase& c : cases) {
    acceptWhenShown();
    const std::optional<std::vector<int>> chosen =
        runListDialog(ListRequest{"Select by Group", c.items, c.multiple}, nullptr);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, c.chosen) << c.items.size() << " items, multiple " << c.multiple;
  }
}

}  // namespace
}  // namespace corvina::window
