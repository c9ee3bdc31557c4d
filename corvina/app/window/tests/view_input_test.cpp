#include "app/window/view_input.h"

#include <gtest/gtest.h>

#include <QString>

namespace corvina::window {
namespace {

struct KeyCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  KeyAction action;
};

// Both forms of every keypad key: Num Lock off (navigation keys with the
// keypad flag) and on (digits with the keypad flag).
TEST(ViewInput, QtKeysReachTheViewKeyTable) {
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
  const KeyCase cases[] = {
      {"keypad 5, Num Lock off", Qt::Key_Clear, pad, "", KeyAction::Center},
      {"keypad 5, Num Lock on", Qt::Key_5, pad, "5", KeyAction::None},
      {"Return", Qt::Key_Return, none, "\r", KeyAction::Commit},
      {"keypad Enter", Qt::Key_Enter, pad, "\r", KeyAction::Commit},
      {"Esc", Qt::Key_Escape, none, "\x1b", KeyAction::Drop},
      {"Home", Qt::Key_Home, none, "", KeyAction::MoveToTopLeft},
      {"keypad 7, Num Lock off", Qt::Key_Home, pad, "", KeyAction::MoveToTopLeft},
      {"keypad 7, Num Lock on", Qt::Key_7, pad, "7", KeyAction::None},
      {"keypad 9, Num Lock off", Qt::Key_PageUp, pad, "", KeyAction::MoveToTopRight},
      {"keypad 9, Num Lock on", Qt::Key_9, pad, "9", KeyAction::None},
      {"keypad 1, Num Lock off", Qt::Key_End, pad, "", KeyAction::MoveToBottomLeft},
      {"keypad 3, Num Lock off", Qt::Key_PageDown, pad, "", KeyAction::MoveToBottomRight},
      {"keypad 3, Num Lock on", Qt::Key_3, pad, "3", KeyAction::None},
      {"keypad 4, Num Lock off", Qt::Key_Left, pad, "", KeyAction::StepLeft},
      {"keypad 4, Num Lock on", Qt::Key_4, pad, "4", KeyAction::StepLeft},
      {"keypad 6, Num Lock on", Qt::Key_6, pad, "6", KeyAction::StepRight},
      {"keypad 8, Num Lock on", Qt::Key_8, pad, "8", KeyAction::StepUp},
      {"keypad 2, Num Lock on", Qt::Key_2, pad, "2", KeyAction::StepDown},
      {"digit 4 of the main keys", Qt::Key_4, none, "4", KeyAction::None},
      {"keypad +", Qt::Key_Plus, pad, "+", KeyAction::Grow},
      {"keypad -", Qt::Key_Minus, pad, "-", KeyAction::Shrink},
      {"keypad *", Qt::Key_Asterisk, pad, "*", KeyAction::DoubleSize},
      {"keypad /", Qt::Key_Slash, pad, "/", KeyAction::HalveSize},
      {"u", Qt::Key_U, none, "u", KeyAction::ResizeFineHorizontal},
      {"Shift+U", Qt::Key_U, Qt::ShiftModifier, "U", KeyAction::ResizeFineHorizontal},
      {"x", Qt::Key_X, none, "x", KeyAction::ResizeCoarseHorizontal},
      {"t", Qt::Key_T, none, "t", KeyAction::Triangulate},
      {"Insert", Qt::Key_Insert, none, "", KeyAction::Degenerates},
      {"=", Qt::Key_Equal, none, "=", KeyAction::Maximize},
      {".", Qt::Key_Period, none, ".", KeyAction::SnapToFacets},
      {"[", Qt::Key_BracketLeft, none, "[", KeyAction::Hide},
      {"]", Qt::Key_BracketRight, none, "]", KeyAction::Show},
      {"backslash", Qt::Key_Backslash, none, "\\", KeyAction::ToggleHidden},
      {"'", Qt::Key_Apostrophe, none, "'", KeyAction::HideOthers},
      {"q", Qt::Key_Q, none, "q", KeyAction::None},
  };
  for (const KeyCase& c : cases) {
    const ViewKeyPress press = viewKeyPress(c.key, c.modifiers, QString::fromLatin1(c.text));
    EXPECT_EQ(keyActionOf(press), c.action) << c.name;
  }
}

TEST(ViewInput, ShiftIsPassedOnAndControlCharactersAreNoText) {
  EXPECT_TRUE(viewKeyPress(Qt::Key_Left, Qt::ShiftModifier, "").shift);
  EXPECT_FALSE(viewKeyPress(Qt::Key_Left, Qt::NoModifier, "").shift);
  EXPECT_EQ(viewKeyPress(Qt::Key_X, Qt::ControlModifier, "\x18").text, 0);
  EXPECT_EQ(viewKeyPress(Qt::Key_Space, Qt::NoModifier, " ").text, 0);
}

TEST(ViewInput, TrackerCursorsAreQtsSizingCursors) {
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::TopLeft)), Qt::SizeFDiagCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::BottomRight)), Qt::SizeFDiagCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::TopRight)), Qt::SizeBDiagCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::BottomLeft)), Qt::SizeBDiagCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::Top)), Qt::SizeVerCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::Left)), Qt::SizeHorCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::Inside)), Qt::SizeAllCursor);
  EXPECT_EQ(cursorShape(cursorFor(TrackerHit::Nothing)), Qt::ArrowCursor);
}

}  // namespace
}  // namespace corvina::window
