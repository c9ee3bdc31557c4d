#include "app/dialogs/option_fields.h"

#include <utility>

namespace corvina {

namespace {

OptionField field(std::string name, std::string label, OptionField::Kind kind) {
  OptionField made;
  made.name = std::move(name);
  made.label = std::move(label);
  made.kind = kind;
  return made;
}

}  // namespace

OptionField boolField(std::string name, std::string label, bool& value) {
  OptionField made = field(std::move(name), std::move(label), OptionField::Kind::Bool);
  made.boolValue = &value;
  return made;
}

OptionField intField(std::string name, std::string label, int& value, int minimum, int maximum) {
  OptionField made = field(std::move(name), std::move(label), OptionField::Kind::Int);
  made.intValue = &value;
  made.minimum = minimum;
  made.maximum = maximum;
  return made;
}

OptionField floatField(std::string name, std::string label, float& value, double minimum,
                       double maximum) {
  OptionField made = field(std::move(name), std::move(label), OptionField::Kind::Float);
  made.floatValue = &value;
  made.minimum = minimum;
  made.maximum = maximum;
  return made;
}

OptionField choiceField(std::string name, std::string caption, int& value,
                        std::vector<std::string> words, std::vector<std::string> buttons) {
  OptionField made = field(std::move(name), std::move(caption), OptionField::Kind::Choice);
  made.intValue = &value;
  made.choices = std::move(words);
  made.choiceLabels = std::move(buttons);
  return made;
}

}  // namespace corvina
