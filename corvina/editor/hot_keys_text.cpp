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

namespace {

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<KeyListLine> keyListLines(std::string_view text) {
  std::vector<KeyListLine> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      lines.push_back({std::string(trimmed(line)), {}});
    } else {
      lines.push_back(
          {std::string(trimmed(line.substr(0, tab))), std::string(trimmed(line.substr(tab + 1)))});
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace corvina
