// The reports reach the user as boxes captioned after them, without an icon.

#include "app/report_messages.h"

#include <gtest/gtest.h>

#include "model/reports.h"
#include "testing/model_builder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

TEST(ReportMessages, ShownWithTheirCaptionsAndNoIcon) {
  ModelStore store = testing::buildModel({{1.5f, 2, -3}, {-0.5f, 0, 4}, {2, -1, 0.25f}},
                                         {{0, 0.25f, 0}, {1, 0.5f, 0}, {0.5f, 1.0f, 0}},
                                         {testing::FacetSpec{{1, 1}, {2, 2}, {3, 3}}});
  testing::ScriptedUserInterface ui;
  showStatistics(store, ui);
  showDimensions(store, false, ui);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].caption, "Statistics");
  EXPECT_EQ(ui.messages[0].text, statisticsText(store));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(ui.messages[1].caption, "Dimensions");
  EXPECT_EQ(ui.messages[1].text, dimensionsText(store, false));
  EXPECT_NE(ui.messages[1].text.find("min x = -0.50000\tmax x =  2.00000"), std::string::npos);
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::None);
}

}  // namespace
}  // namespace corvina
