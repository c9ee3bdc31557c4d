#include "editor/view_keys.h"

#include <cctype>

namespace corvina {

namespace {

KeyAction keypadCharacterAction(char text) {
  switch (text) {
    case '4':
      return KeyAction::StepLeft;
    case '6':
      return KeyAction::StepRight;
    case '8':
      return KeyAction::StepUp;
    case '2':
      return KeyAction::StepDown;
    case '+':
      return KeyAction::Grow;
    case '-':
      return KeyAction::Shrink;
    case '*':
      return KeyAction::DoubleSize;
    case '/':
      return KeyAction::HalveSize;
    default:
      return KeyAction::None;
  }
}

KeyAction characterAction(char text) {
  switch (std::toupper(static_cast<unsigned char>(text))) {
    case 'U':
      return KeyAction::ResizeFineHorizontal;
    case 'V':
      return KeyAction::ResizeFineVertical;
    case 'X':
      return KeyAction::ResizeCoarseHorizontal;
    case 'Y':
      return KeyAction::ResizeCoarseVertical;
    case 'T':
      return KeyAction::Triangulate;
    case '=':
      return KeyAction::Maximize;
    case '.':
      return KeyAction::SnapToFacets;
    case '[':
      return KeyAction::Hide;
    case ']':
      return KeyAction::Show;
    case '\\':
      return KeyAction::ToggleHidden;
    case '\'':
      return KeyAction::HideOthers;
    default:
      return KeyAction::None;
  }
}

struct NavigationName {
  std::string_view name;
  ViewKey key;
  char keypadDigit;  // what the keypad key sends with Num Lock on
};

constexpr NavigationName kNavigationNames[] = {
    {"home", ViewKey::Home, '7'},         {"up", ViewKey::Up, '8'},
    {"pageup", ViewKey::PageUp, '9'},     {"left", ViewKey::Left, '4'},
    {"clear", ViewKey::Clear, '5'},       {"right", ViewKey::Right, '6'},
    {"end", ViewKey::End, '1'},           {"down", ViewKey::Down, '2'},
    {"pagedown", ViewKey::PageDown, '3'}, {"insert", ViewKey::Insert, '0'},
};

}  // namespace

KeyAction keyActionOf(const ViewKeyPress& press) {
  switch (press.key) {
    case ViewKey::Clear:
      return KeyAction::Center;
    case ViewKey::Enter:
      return KeyAction::Commit;
    case ViewKey::Escape:
      return KeyAction::Drop;
    case ViewKey::Home:
      return KeyAction::MoveToTopLeft;
    case ViewKey::PageUp:
      return KeyAction::MoveToTopRight;
    case ViewKey::End:
      return KeyAction::MoveToBottomLeft;
    case ViewKey::PageDown:
      return KeyAction::MoveToBottomRight;
    case ViewKey::Left:
      return KeyAction::StepLeft;
    case ViewKey::Right:
      return KeyAction::StepRight;
    case ViewKey::Up:
      return KeyAction::StepUp;
    case ViewKey::Down:
      return KeyAction::StepDown;
    case ViewKey::Insert:
      return KeyAction::Degenerates;
    case ViewKey::Space:
    case ViewKey::Other:
      break;
  }
  if (press.keypad) {
    const KeyAction action = keypadCharacterAction(press.text);
    if (action != KeyAction::None) return action;
    // Other keypad digits do nothing; the keypad's decimal point still
    // produces '.' and snaps like the main keyboard's.
    if (std::isdigit(static_cast<unsigned char>(press.text))) return KeyAction::None;
  }
  return characterAction(press.text);
}

std::optional<ViewKeyPress> keyPressFromName(std::string_view name, bool shift,
                                             std::optional<bool> numLock) {
  ViewKeyPress press;
  press.shift = shift;
  for (const NavigationName& navigation : kNavigationNames) {
    if (navigation.name != name) continue;
    if (numLock.has_value()) {
      press.keypad = true;
      if (*numLock) {
        press.text = navigation.keypadDigit;
        return press;
      }
    }
    press.key = navigation.key;
    return press;
  }
  if (name == "enter") {
    press.key = ViewKey::Enter;
    return press;
  }
  if (name == "esc") {
    press.key = ViewKey::Escape;
    return press;
  }
  if (name.size() == 3 && name.substr(0, 2) == "kp" &&
      std::string_view("+-*/").find(name[2]) != std::string_view::npos) {
    press.keypad = true;
    press.text = name[2];
    return press;
  }
  if (name.size() == 1 &&
      std::string_view("uvxyt=.[]\\'").find(name[0]) != std::string_view::npos) {
    press.text =
        shift ? static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))) : name[0];
    return press;
  }
  return std::nullopt;
}

}  // namespace corvina
