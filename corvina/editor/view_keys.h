#pragma once
// Keys pressed in the texture-map view, described without a toolkit: the
// window fills a ViewKeyPress from its key event, corvina-cli from a key
// name. keyActionOf then decides what the key does, the way the view's key
// table reads: navigation and keypad keys by the key, letters and the
// characters = . [ ] \ ' by the character they produce.
//
// Num Lock: with Num Lock off the keypad sends Home, End, Page Up/Down, the
// arrows, Clear (5) and Insert (0) with the keypad flag, and they act like
// the dedicated keys; with Num Lock on it sends digits with the keypad flag,
// of which only 4, 6, 8 and 2 move the frame.

#include <optional>
#include <string_view>

namespace corvina {

// The keys that have no character of their own. Everything else is Other,
// with the character it produces in ViewKeyPress::text.
enum class ViewKey {
  Other,
  Clear,
  Enter,  // Return and the keypad's Enter
  Escape,
  Home,
  End,
  PageUp,
  PageDown,
  Left,
  Right,
  Up,
  Down,
  Insert,
  Space,  // held, it turns left-button drags into pans of the view
};

struct ViewKeyPress {
  ViewKey key = ViewKey::Other;
  bool keypad = false;  // the key came from the numeric keypad (Qt::KeypadModifier)
  bool shift = false;
  char text = 0;  // the printable ASCII character the key produces, 0 when none
};

// What a key does in the view.
enum class KeyAction {
  None,  // not the view's key: default handling, no redraw
  Center,
  Commit,
  Drop,
  MoveToTopLeft,
  MoveToTopRight,
  MoveToBottomLeft,
  MoveToBottomRight,
  StepLeft,
  StepRight,
  StepUp,
  StepDown,
  Grow,
  Shrink,
  DoubleSize,
  HalveSize,
  ResizeFineHorizontal,    // U
  ResizeFineVertical,      // V
  ResizeCoarseHorizontal,  // X
  ResizeCoarseVertical,    // Y
  Triangulate,             // T
  Degenerates,             // Insert
  Maximize,                // =
  SnapToFacets,            // .
  Hide,                    // [
  Show,                    // ]
  ToggleHidden,            // backslash
  HideOthers,              // '
};

KeyAction keyActionOf(const ViewKeyPress& press);

// The field=value words of corvina-cli's key step: `shift=on` and
// `numlock=on|off`. numLock 0 ("any") names the dedicated keys, 1 ("off")
// and 2 ("on") the keypad's in that Num Lock state. Each key step starts
// from these values.
struct KeyStepOptions {
  bool shift = false;
  int numLock = 0;
};

// The key press a corvina-cli key name stands for: enter, esc, home, end,
// pageup, pagedown, left, right, up, down, clear, insert, kp+, kp-, kp*,
// kp/, u, v, x, y, t, =, ., [, ], \ and '. With `numLock` given, the
// navigation names (home ... clear, insert) are the keypad's keys in that
// Num Lock state; without it they are the dedicated keys. Nothing for an
// unknown name.
std::optional<ViewKeyPress> keyPressFromName(std::string_view name, bool shift,
                                             std::optional<bool> numLock);

}  // namespace corvina
