#include "app/window/field_validation.h"

#include <cmath>
#include <string_view>

#include "app/option_text.h"

namespace corvina::window {

namespace {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool hasRange(const OptionField& field) {
  return field.minimum != 0 || field.maximum != 0;
}

std::string integerText(double value) {
  return std::to_string(static_cast<long long>(value));
}

}  // namespace

FieldReading readNumberField(const OptionField& field, const std::string& text) {
  FieldReading reading;
  const std::string_view number = trimmed(text);
  if (field.kind == OptionField::Kind::Int) {
    const std::optional<int> value = parseIntText(number);
    if (!value) {
      reading.message = "Please enter an integer.";
    } else if (hasRange(field) && (*value < field.minimum || *value > field.maximum)) {
      reading.message = "Please enter an integer between " + integerText(field.minimum) + " and " +
                        integerText(field.maximum) + ".";
    } else {
      reading.value = *value;
    }
    return reading;
  }
  const std::optional<float> value = parseFloatText(number);
  if (!value || !std::isfinite(*value)) {
    reading.message = "Please enter a number.";
  } else if (!fieldRangeHolds(field, *value)) {
    reading.message = "Please enter a number between " +
                      floatText(static_cast<float>(field.minimum)) + " and " +
                      floatText(static_cast<float>(field.maximum)) + ".";
  } else {
    reading.value = *value;
  }
  return reading;
}

std::string numberFieldText(const OptionField& field) {
  if (field.kind == OptionField::Kind::Int && field.intValue != nullptr)
    return std::to_string(*field.intValue);
  if (field.kind == OptionField::Kind::Float && field.floatValue != nullptr)
    return floatText(*field.floatValue);
  return {};
}

}  // namespace corvina::window
