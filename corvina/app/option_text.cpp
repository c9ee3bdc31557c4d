#include "app/option_text.h"

#include <charconv>
#include <cmath>

namespace corvina {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
    char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] - 'A' + 'a') : b[i];
    if (x != y) return false;
  }
  return true;
}

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string choiceList(const OptionField& field) {
  std::string list;
  for (std::size_t i = 0; i < field.choices.size(); ++i) {
    if (i > 0) list += ", ";
    list += field.choices[i];
  }
  return list;
}

}  // namespace

std::optional<float> parseFloatText(std::string_view text) {
  float value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  // from_chars reports out-of-range magnitudes instead of giving infinity;
  // those are simply not acceptable values.
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<int> parseIntText(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<bool> parseBoolText(std::string_view text) {
  for (std::string_view on : {"on", "yes", "true", "1"})
    if (equalsIgnoringCase(text, on)) return true;
  for (std::string_view off : {"off", "no", "false", "0"})
    if (equalsIgnoringCase(text, off)) return false;
  return std::nullopt;
}

std::string floatText(float value) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, ptr) : std::string("?");
}

bool fieldRangeHolds(const OptionField& field, double value) {
  if (!std::isfinite(value)) return false;
  if (field.minimum == 0 && field.maximum == 0) return true;
  return value >= field.minimum && value <= field.maximum;
}

std::string fieldRangeText(const OptionField& field) {
  if (field.minimum == 0 && field.maximum == 0) return "";
  return "between " + floatText(float(field.minimum)) + " and " + floatText(float(field.maximum));
}

std::optional<std::string> setFieldFromText(OptionField& field, std::string_view text) {
  switch (field.kind) {
    case OptionField::Kind::Bool: {
      auto value = parseBoolText(text);
      if (!value) return quoted(text) + " is not on/off, yes/no, true/false or 1/0";
      *field.boolValue = *value;
      return std::nullopt;
    }
    case OptionField::Kind::Int: {
      auto value = parseIntText(text);
      if (!value) return quoted(text) + " is not a whole number";
      if (!fieldRangeHolds(field, *value)) return quoted(text) + " is not " + fieldRangeText(field);
      *field.intValue = *value;
      return std::nullopt;
    }
    case OptionField::Kind::Float: {
      auto value = parseFloatText(text);
      if (!value || std::isnan(*value)) return quoted(text) + " is not a number";
      if (!fieldRangeHolds(field, *value)) return quoted(text) + " is not " + fieldRangeText(field);
      *field.floatValue = *value;
      return std::nullopt;
    }
    case OptionField::Kind::Choice: {
      int count = int(field.choices.size());
      for (int i = 0; i < count; ++i) {
        if (equalsIgnoringCase(text, field.choices[i])) {
          *field.intValue = i;
          return std::nullopt;
        }
      }
      auto number = parseIntText(text);
      if (number && *number >= 0 && *number < count) {
        *field.intValue = *number;
        return std::nullopt;
      }
      return quoted(text) + " is not one of " + choiceList(field) + " or 0 to " +
             std::to_string(count - 1);
    }
    case OptionField::Kind::Text: {
      if (field.maxLength > 0 && text.size() > static_cast<std::size_t>(field.maxLength))
        return quoted(text) + " is longer than " + std::to_string(field.maxLength) + " characters";
      *field.textValue = std::string(text);
      return std::nullopt;
    }
  }
  return quoted(text) + " is not a value of this field";
}

std::string fieldValueText(const OptionField& field) {
  switch (field.kind) {
    case OptionField::Kind::Bool:
      return *field.boolValue ? "on" : "off";
    case OptionField::Kind::Int:
      return std::to_string(*field.intValue);
    case OptionField::Kind::Float:
      return floatText(*field.floatValue);
    case OptionField::Kind::Choice: {
      int value = *field.intValue;
      if (value >= 0 && value < int(field.choices.size())) return field.choices[value];
      return std::to_string(value);
    }
    case OptionField::Kind::Text:
      return *field.textValue;
  }
  return "";
}

}  // namespace corvina
