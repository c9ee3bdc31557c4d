#pragma once
// The controls of an option dialog, each bound to the field of the record it
// edits. `name` is the record's field name and corvina-cli's field=value key,
// `label` the dialog's text for it.

#include <string>
#include <vector>

#include "app/user_interface.h"

namespace corvina {

// A check box.
OptionField boolField(std::string name, std::string label, bool& value);

// An integer edit; minimum and maximum both 0 take any value.
OptionField intField(std::string name, std::string label, int& value, int minimum = 0,
                     int maximum = 0);

// A number edit; minimum and maximum both 0 take any finite number.
OptionField floatField(std::string name, std::string label, float& value, double minimum = 0,
                       double maximum = 0);

// A radio group under `caption`: the words corvina-cli takes for each number
// from 0, and the buttons' texts in the same order (none: the words show).
OptionField choiceField(std::string name, std::string caption, int& value,
                        std::vector<std::string> words, std::vector<std::string> buttons = {});

}  // namespace corvina
