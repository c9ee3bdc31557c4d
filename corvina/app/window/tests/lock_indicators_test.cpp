// The CAP, NUM and SCRL panes: what the platform reports wins, a lock it does
// not report keeps its last known state, and a lock key turns its own over.

#include "app/window/lock_indicators.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>

#include "app/window/main_frame.h"

namespace corvina::window {
namespace {

TEST(LockIndicators, ReadingReplacesOnlyWhatThePlatformReports) {
  struct Case {
    LockStates last;
    LockReading reading;
    LockStates expected;
  };
  const Case cases[] = {
      {{false, false, false}, {true, true, true}, {true, true, true}},
      {{true, true, true}, {false, false, false}, {false, false, false}},
      {{true, false, true}, {}, {true, false, true}},  // tells nothing: last known
      {{false, true, false}, {true, std::nullopt, std::nullopt}, {true, true, false}},
      {{true, true, true}, {std::nullopt, false, std::nullopt}, {true, false, true}},
  };
  for (const Case& c : cases) EXPECT_EQ(afterReading(c.last, c.reading), c.expected);
}

TEST(LockIndicators, LockKeyTurnsItsOwnLockOver) {
  struct Case {
    LockKey key;
    LockStates expected;
  };
  const LockStates start{true, false, true};
  const Case cases[] = {
      {LockKey::Caps, {false, false, true}},
      {LockKey::Num, {true, true, true}},
      {LockKey::Scroll, {true, false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(afterLockKey(start, c.key), c.expected);
}

LockStates shown(const CMainFrame& frame) {
  auto on = [&](const char* name) {
    const auto* label = frame.statusBar()->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label != nullptr && label->isEnabled();
  };
  return {on("CAP"), on("NUM"), on("SCRL")};
}

void send(CMainFrame& frame, QEvent::Type type, int key = 0) {
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(&frame, &event);
  } else {
    QEvent event(type);
    QApplication::sendEvent(&frame, &event);
  }
}

TEST(LockIndicators, WindowShowsThePlatformsStateAtStartAndOnActivation) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("profile.ini"), QSettings::IniFormat);
  Profile profile(settings);
  ApplicationState app(folder.path().toStdString());
  LockReading platform{true, true, false};
  CMainFrame frame(app, profile, [&platform] { return platform; });
  EXPECT_EQ(shown(frame), (LockStates{true, true, false}));

  // Changed while another window had the keyboard.
  platform = {false, true, true};
  send(frame, QEvent::WindowActivate);
  EXPECT_EQ(shown(frame), (LockStates{false, true, true}));

  // Caps Lock pressed: turned over at once, then as reported once let go.
  send(frame, QEvent::KeyPress, Qt::Key_CapsLock);
  EXPECT_EQ(shown(frame), (LockStates{true, true, true}));
  platform = {true, true, true};
  send(frame, QEvent::KeyRelease, Qt::Key_CapsLock);
  EXPECT_EQ(shown(frame), (LockStates{true, true, true}));

  // A platform that stops telling leaves the last known state; lock keys
  // still turn their own over.
  platform = {};
  send(frame, QEvent::WindowActivate);
  EXPECT_EQ(shown(frame), (LockStates{true, true, true}));
  send(frame, QEvent::KeyPress, Qt::Key_NumLock);
  send(frame, QEvent::KeyRelease, Qt::Key_NumLock);
  EXPECT_EQ(shown(frame), (LockStates{true, false, true}));
}

}  // namespace
}  // namespace corvina::window
