#pragma once
// Option-dialog fields as text: what a typed value means for a field, and how
// a field's value reads back. Numbers always use the "C" form ("0.5"), so a
// German desktop and a batch script read and write the same values.

#include <optional>
#include <string>
#include <string_view>

#include "app/user_interface.h"

namespace corvina {

// The whole text as a number, or nothing (no blanks, no "+", no trailing
// characters). Floats may be NaN or infinite; range checks reject those.
std::optional<float> parseFloatText(std::string_view text);
std::optional<int> parseIntText(std::string_view text);

// on/off, yes/no, true/false or 1/0, in any letter case.
std::optional<bool> parseBoolText(std::string_view text);

// The shortest text that reads back as the same float ("50", "12.5").
std::string floatText(float value);

// Whether a number lies in the field's range. A field whose minimum and
// maximum are both 0 has no range, but must still be finite.
bool fieldRangeHolds(const OptionField& field, double value);

// "between 1 and 10000" for a ranged field, "" for one without a range.
std::string fieldRangeText(const OptionField& field);

// Sets the field from text: a boolean word, a whole number, a number, or a
// choice's number or word. Returns why the text does not fit (the field is
// then unchanged), or nothing when the field took the value.
std::optional<std::string> setFieldFromText(OptionField& field, std::string_view text);

// The field's current value as setFieldFromText reads it back: "on"/"off",
// the number, or the choice's word.
std::string fieldValueText(const OptionField& field);

}  // namespace corvina
