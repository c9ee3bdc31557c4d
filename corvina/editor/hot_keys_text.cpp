#include "editor/hot_keys_text.h"

namespace corvina {

std::string hotKeysText() {
  return "Shortcut       \tOperation\t\t\t\t\n"
         "\n"
         "Selection\n"
         "esc            \tclear selection, undo changes\n"
         "enter          \tclear selection, save changes\n"
         "shift+key      \tincrease resize/movement amount\n"
         "keypad *       \tquadruple size of selection\n"
         "keypad /       \tquarter size of selection\n"
         "keypad +       \tincrease size of selection\n"
         "keypad -       \tdecrease size of selection\n"
         "keypad #       \tmove selection\n"
         "=              \tmaximize selection\n"
         ".              \t\tsnap selection to facets\n"
         "[              \t\thide selected facets\n"
         "]              \t\tshow selected facets\n"
         "\\              \t\ttoggle facets on/off\n"
         "'              \t\thide unselected facets\n"
         "x/X/y/Y        \tresize selection (coarse)\n"
         "u/U/v/V        \tresize selection (fine)\n"
         "ctrl+x         \tinvert selection horizontally\n"
         "ctrl+y         \tinvert selection vertically\n"
         "\n"
         "Background\n"
         "ctrl+b         \tload background\n"
         "ctrl+c         \tclear background\n"
         "ctrl+u         \tflip background horizontally\n"
         "ctrl+v         \tflip background vertically\n"
         "tab            \ttoggle background display\n"
         "\n"
         "Miscellaneous\n"
         "t              \t\ttriangulate object\n"
         "insert         \tcheck for degenerate facets";
}

}  // namespace corvina
