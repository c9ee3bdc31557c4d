#include "app/window/field_validation.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/window/option_dialog.h"

namespace corvina::window {
namespace {

OptionField floatField(float* value, double minimum, double maximum) {
  OptionField field;
  field.name = "pixelsPerUnit";
  field.label = "Pixels per Unit";
  field.kind = OptionField::Kind::Float;
  field.floatValue = value;
  field.minimum = minimum;
  field.maximum = maximum;
  return field;
}

OptionField intField(int* value, double minimum, double maximum) {
  OptionField field;
  field.name = "width";
  field.label = "Width";
  field.kind = OptionField::Kind::Int;
  field.intValue = value;
  field.minimum = minimum;
  field.maximum = maximum;
  return field;
}

struct ReadingCase {
  bool integer;
  const char* text;
  std::optional<double> value;
  const char* message;
};

TEST(FieldValidation, TypedTextGivesTheValueOrTheFrameworkMessage) {
  const ReadingCase cases[] = {
      {false, "50", 50.0, ""},
      {false, " 12.5 ", 12.5, ""},
      {false, "1", 1.0, ""},
      {false, "10000", 10000.0, ""},
      {false, "0", std::nullopt, "Please enter a number between 1 and 10000."},
      {false, "20000", std::nullopt, "Please enter a number between 1 and 10000."},
      {false, "abc", std::nullopt, "Please enter a number."},
      {false, "", std::nullopt, "Please enter a number."},
      {false, "5x", std::nullopt, "Please enter a number."},
      {false, "nan", std::nullopt, "Please enter a number."},
      {false, "1e999", std::nullopt, "Please enter a number."},
      {false, "0,5", std::nullopt, "Please enter a number."},  // never the desktop's comma
      {true, "256", 256.0, ""},
      {true, "8", 8.0, ""},
      {true, "7", std::nullopt, "Please enter an integer between 8 and 4096."},
      {true, "4097", std::nullopt, "Please enter an integer between 8 and 4096."},
      {true, "2.5", std::nullopt, "Please enter an integer."},
      {true, "99999999999", std::nullopt, "Please enter an integer."},
      {true, "", std::nullopt, "Please enter an integer."},
  };
  float number = 0;
  int integer = 0;
  for (const ReadingCase& c : cases) {
    const OptionField field =
        c.integer ? intField(&integer, 8, 4096) : floatField(&number, 1, 10000);
    const FieldReading reading = readNumberField(field, c.text);
    EXPECT_EQ(reading.value, c.value) << c.text;
    EXPECT_EQ(reading.message, c.message) << c.text;
  }
}

TEST(OptionDialogWidget, RefusedValueKeepsTheDialogOpenAndTheRecordUnchanged) {
  float pixelsPerUnit = 50.0f;
  int width = 256;
  bool flip = false;
  OptionField check;
  check.name = "flipV";
  check.label = "Flip Vertical";
  check.kind = OptionField::Kind::Bool;
  check.boolValue = &flip;
  OptionDialog dialog{"Options",
                      {floatField(&pixelsPerUnit, 1, 10000), intField(&width, 8, 4096), check}};
  std::vector<std::string> warnings;
  OptionDialogWidget widget(dialog, nullptr, nullptr,
                            [&](const std::string& message) { warnings.push_back(message); });
  ASSERT_NE(widget.editNamed("pixelsPerUnit"), nullptr);
  EXPECT_EQ(widget.editNamed("pixelsPerUnit")->text().toStdString(), "50");
  EXPECT_EQ(widget.editNamed("width")->text().toStdString(), "256");

  widget.editNamed("pixelsPerUnit")->setText("0");
  widget.editNamed("width")->setText("512");
  widget.accept();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "Please enter a number between 1 and 10000.");
  EXPECT_NE(widget.result(), QDialog::Accepted);
  EXPECT_EQ(pixelsPerUnit, 50.0f);
  EXPECT_EQ(width, 256);  // nothing written while any field is refused

  widget.editNamed("pixelsPerUnit")->setText("10000");
  widget.editNamed("width")->setText("x");
  widget.accept();
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[1], "Please enter an integer.");

  widget.editNamed("width")->setText("4096");
  widget.accept();
  EXPECT_EQ(warnings.size(), 2u);
  EXPECT_EQ(widget.result(), QDialog::Accepted);
  EXPECT_EQ(pixelsPerUnit, 10000.0f);
  EXPECT_EQ(width, 4096);
  EXPECT_FALSE(flip);
}

TEST(OptionDialogWidget, TextFieldIsWrittenOnOkWithinItsLength) {
  std::string baseModel = "crate.obj";
  OptionField text;
  text.name = "baseModel";
  text.label = "Base Model";
  text.kind = OptionField::Kind::Text;
  text.textValue = &baseModel;
  text.maxLength = 12;
  OptionDialog dialog{"UVs Export Options", {text}};
  OptionDialogWidget widget(dialog, nullptr, nullptr, [](const std::string&) {});
  QLineEdit* edit = widget.editNamed("baseModel");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text().toStdString(), "crate.obj");
  edit->clear();
  edit->insert("barrel-and-more.obj");
  widget.accept();
  EXPECT_EQ(baseModel, "barrel-and-m");
}

}  // namespace
}  // namespace corvina::window
