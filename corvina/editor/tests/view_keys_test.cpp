// Which key does what: the dedicated keys, the keypad in both Num Lock
// states as the window receives them, and the characters.

#include "editor/view_keys.h"

#include <gtest/gtest.h>

#include <optional>

namespace corvina {
namespace {

struct KeyCase {
  const char* name;
  ViewKeyPress press;
  KeyAction action;
};

const KeyCase kKeyCases[] = {
    {"clear", {ViewKey::Clear, false, false, 0}, KeyAction::Center},
    {"keypad5_numlock_off", {ViewKey::Clear, true, false, 0}, KeyAction::Center},
    {"keypad5_numlock_on", {ViewKey::Other, true, false, '5'}, KeyAction::None},
    {"return", {ViewKey::Enter, false, false, '\r'}, KeyAction::Commit},
    {"escape", {ViewKey::Escape, false, false, 0}, KeyAction::Drop},
    {"home", {ViewKey::Home, false, false, 0}, KeyAction::MoveToTopLeft},
    {"keypad7_numlock_off", {ViewKey::Home, true, false, 0}, KeyAction::MoveToTopLeft},
    {"keypad7_numlock_on", {ViewKey::Other, true, false, '7'}, KeyAction::None},
    {"keypad9_numlock_off", {ViewKey::PageUp, true, false, 0}, KeyAction::MoveToTopRight},
    {"keypad9_numlock_on", {ViewKey::Other, true, false, '9'}, KeyAction::None},
    {"keypad1_numlock_off", {ViewKey::End, true, false, 0}, KeyAction::MoveToBottomLeft},
    {"keypad1_numlock_on", {ViewKey::Other, true, false, '1'}, KeyAction::None},
    {"keypad3_numlock_off", {ViewKey::PageDown, true, false, 0}, KeyAction::MoveToBottomRight},
    {"keypad3_numlock_on", {ViewKey::Other, true, false, '3'}, KeyAction::None},
    {"left_arrow", {ViewKey::Left, false, false, 0}, KeyAction::StepLeft},
    {"keypad4_numlock_off", {ViewKey::Left, true, false, 0}, KeyAction::StepLeft},
    {"keypad4_numlock_on", {ViewKey::Other, true, false, '4'}, KeyAction::StepLeft},
    {"keypad6_numlock_on", {ViewKey::Other, true, false, '6'}, KeyAction::StepRight},
    {"keypad8_numlock_on", {ViewKey::Other, true, false, '8'}, KeyAction::StepUp},
    {"keypad2_numlock_on", {ViewKey::Other, true, false, '2'}, KeyAction::StepDown},
    {"main_keyboard_4", {ViewKey::Other, false, false, '4'}, KeyAction::None},
    {"keypad0_numlock_off_is_insert", {ViewKey::Insert, true, false, 0}, KeyAction::Degenerates},
    {"keypad0_numlock_on", {ViewKey::Other, true, false, '0'}, KeyAction::None},
    {"keypad_plus", {ViewKey::Other, true, false, '+'}, KeyAction::Grow},
    {"keypad_minus", {ViewKey::Other, true, false, '-'}, KeyAction::Shrink},
    {"keypad_star", {ViewKey::Other, true, false, '*'}, KeyAction::DoubleSize},
    {"keypad_slash", {ViewKey::Other, true, false, '/'}, KeyAction::HalveSize},
    {"main_keyboard_plus", {ViewKey::Other, false, true, '+'}, KeyAction::None},
    {"main_keyboard_minus", {ViewKey::Other, false, false, '-'}, KeyAction::None},
    {"main_keyboard_slash", {ViewKey::Other, false, false, '/'}, KeyAction::None},
    {"keypad_point_numlock_on", {ViewKey::Other, true, false, '.'}, KeyAction::SnapToFacets},
    {"u", {ViewKey::Other, false, false, 'u'}, KeyAction::ResizeFineHorizontal},
    {"shift_u", {ViewKey::Other, false, true, 'U'}, KeyAction::ResizeFineHorizontal},
    {"v", {ViewKey::Other, false, false, 'v'}, KeyAction::ResizeFineVertical},
    {"x", {ViewKey::Other, false, false, 'x'}, KeyAction::ResizeCoarseHorizontal},
    {"y", {ViewKey::Other, false, false, 'Y'}, KeyAction::ResizeCoarseVertical},
    {"t", {ViewKey::Other, false, false, 't'}, KeyAction::Triangulate},
    {"insert", {ViewKey::Insert, false, false, 0}, KeyAction::Degenerates},
    {"equals", {ViewKey::Other, false, false, '='}, KeyAction::Maximize},
    {"point", {ViewKey::Other, false, false, '.'}, KeyAction::SnapToFacets},
    {"open_bracket", {ViewKey::Other, false, false, '['}, KeyAction::Hide},
    {"close_bracket", {ViewKey::Other, false, false, ']'}, KeyAction::Show},
    {"backslash", {ViewKey::Other, false, false, '\\'}, KeyAction::ToggleHidden},
    {"apostrophe", {ViewKey::Other, false, false, '\''}, KeyAction::HideOthers},
    {"other_letter", {ViewKey::Other, false, false, 'q'}, KeyAction::None},
    {"no_text", {ViewKey::Other, false, false, 0}, KeyAction::None},
};

class KeyActionTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyActionTest, KeyDecidesTheAction) {
  EXPECT_EQ(keyActionOf(GetParam().press), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyActionTest, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
  const char* name;
  bool shift;
  std::optional<bool> numLock;
  KeyAction action;
};

const NameCase kNameCases[] = {
    {"enter", false, std::nullopt, KeyAction::Commit},
    {"esc", false, std::nullopt, KeyAction::Drop},
    {"home", false, std::nullopt, KeyAction::MoveToTopLeft},
    {"home", false, false, KeyAction::MoveToTopLeft},
    {"home", false, true, KeyAction::None},
    {"pageup", false, true, KeyAction::None},
    {"end", false, false, KeyAction::MoveToBottomLeft},
    {"pagedown", false, std::nullopt, KeyAction::MoveToBottomRight},
    {"left", false, true, KeyAction::StepLeft},
    {"left", false, false, KeyAction::StepLeft},
    {"right", true, true, KeyAction::StepRight},
    {"up", false, true, KeyAction::StepUp},
    {"down", false, true, KeyAction::StepDown},
    {"clear", false, std::nullopt, KeyAction::Center},
    {"clear", false, false, KeyAction::Center},
    {"clear", false, true, KeyAction::None},
    {"insert", false, std::nullopt, KeyAction::Degenerates},
    {"insert", false, true, KeyAction::None},
    {"kp+", false, true, KeyAction::Grow},
    {"kp-", false, false, KeyAction::Shrink},
    {"kp*", false, std::nullopt, KeyAction::DoubleSize},
    {"kp/", false, std::nullopt, KeyAction::HalveSize},
    {"u", true, std::nullopt, KeyAction::ResizeFineHorizontal},
    {"t", false, std::nullopt, KeyAction::Triangulate},
    {"=", false, std::nullopt, KeyAction::Maximize},
    {".", false, std::nullopt, KeyAction::SnapToFacets},
    {"\\", false, std::nullopt, KeyAction::ToggleHidden},
    {"'", false, std::nullopt, KeyAction::HideOthers},
};

class KeyNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(KeyNameTest, NameGivesTheKeyAndItsShift) {
  const NameCase& c = GetParam();
  const std::optional<ViewKeyPress> press = keyPressFromName(c.name, c.shift, c.numLock);
  ASSERT_TRUE(press.has_value());
  EXPECT_EQ(keyActionOf(*press), c.action);
  EXPECT_EQ(press->shift, c.shift);
}

INSTANTIATE_TEST_SUITE_P(Names, KeyNameTest, ::testing::ValuesIn(kNameCases));

TEST(KeyNames, UnknownNamesAreRefused) {
  for (const char* name : {"", "kp", "kp7", "kp++", "q", "Home", "ENTER", "shift", "uu"}) {
    EXPECT_FALSE(keyPressFromName(name, false, std::nullopt).has_value()) << name;
  }
}

}  // namespace
}  // namespace corvina
