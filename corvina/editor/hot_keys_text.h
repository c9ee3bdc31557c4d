#pragma once
// The text of the "Hot keys" information box: every key of the view and what
// it does.

#include <string>
#include <string_view>
#include <vector>

namespace corvina {

std::string hotKeysText();

// One line of a key list such as hotKeysText(): a key and what it does, or a
// heading (a line without a tab), or an empty line between sections.
struct KeyListLine {
  std::string key;     // the key, or the heading's text; empty on an empty line
  std::string action;  // empty for a heading and an empty line
};

// The lines of a key list whose entries are a key, blanks and tabs, then the
// action: the columns without the blanks and tabs that aligned them for a
// proportional font.
std::vector<KeyListLine> keyListLines(std::string_view text);

}  // namespace corvina
