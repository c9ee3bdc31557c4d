// The window's tests build real widgets on Qt's off-screen platform: no
// display is needed, and nothing is shown on one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Settings go to a scratch place, never to the user's own profile.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
