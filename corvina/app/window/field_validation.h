#pragma once
// What the option dialogs say when OK is pressed over an edit whose text does
// not fit its field: the framework's own messages, word for word.

#include <optional>
#include <string>

#include "app/user_interface.h"

namespace corvina::window {

// The value a number field's edit text stands for, or the message to show
// (caption: the program's title) with the dialog kept open. Blanks around the
// number are allowed, as in every edit of the framework.
struct FieldReading {
  std::optional<double> value;
  std::string message;
};
FieldReading readNumberField(const OptionField& field, const std::string& text);

// The text an edit starts with for a number field.
std::string numberFieldText(const OptionField& field);

}  // namespace corvina::window
