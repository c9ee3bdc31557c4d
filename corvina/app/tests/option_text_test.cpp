#include "app/option_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace corvina {
namespace {

struct FieldCase {
  const char* what;
  OptionField::Kind kind;
  double minimum, maximum;
  const char* text;
  bool accepted;
  double expected;  // the value read, when accepted (bools as 0/1)
};

TEST(OptionTextTest, SetsFieldsFromTextOrRejectsThem) {
  const FieldCase cases[] = {
      {"bool on", OptionField::Kind::Bool, 0, 0, "on", true, 1},
      {"bool yes", OptionField::Kind::Bool, 0, 0, "yes", true, 1},
      {"bool TRUE any case", OptionField::Kind::Bool, 0, 0, "TRUE", true, 1},
      {"bool 1", OptionField::Kind::Bool, 0, 0, "1", true, 1},
      {"bool off", OptionField::Kind::Bool, 0, 0, "off", true, 0},
      {"bool no", OptionField::Kind::Bool, 0, 0, "no", true, 0},
      {"bool false", OptionField::Kind::Bool, 0, 0, "false", true, 0},
      {"bool 0", OptionField::Kind::Bool, 0, 0, "0", true, 0},
      {"bool 2", OptionField::Kind::Bool, 0, 0, "2", false, 0},
      {"bool empty", OptionField::Kind::Bool, 0, 0, "", false, 0},
      {"float C form", OptionField::Kind::Float, 1, 10000, "12.5", true, 12.5},
      {"float lower bound", OptionField::Kind::Float, 1, 10000, "1", true, 1},
      {"float upper bound", OptionField::Kind::Float, 1, 10000, "10000", true, 10000},
      {"float exponent", OptionField::Kind::Float, 1, 10000, "1e3", true, 1000},
      {"float below", OptionField::Kind::Float, 1, 10000, "0", false, 0},
      {"float above", OptionField::Kind::Float, 1, 10000, "20000", false, 0},
      {"float just above", OptionField::Kind::Float, 1, 10000, "10000.01", false, 0},
      {"float decimal comma", OptionField::Kind::Float, 1, 10000, "12,5", false, 0},
      {"float trailing junk", OptionField::Kind::Float, 1, 10000, "12x", false, 0},
      {"float leading blank", OptionField::Kind::Float, 1, 10000, " 12", false, 0},
      {"float nan", OptionField::Kind::Float, 1, 10000, "nan", false, 0},
      {"float inf", OptionField::Kind::Float, 1, 10000, "inf", false, 0},
      {"float huge", OptionField::Kind::Float, 0, 0, "1e999", false, 0},
      {"float no range", OptionField::Kind::Float, 0, 0, "-360.5", true, -360.5},
      {"int", OptionField::Kind::Int, 2, 64, "16", true, 16},
      {"int below", OptionField::Kind::Int, 2, 64, "1", false, 0},
      {"int fraction", OptionField::Kind::Int, 2, 64, "2.5", false, 0},
      {"int overflow", OptionField::Kind::Int, 0, 0, "99999999999", false, 0},
      {"choice word", OptionField::Kind::Choice, 0, 0, "material", true, 2},
      {"choice word any case", OptionField::Kind::Choice, 0, 0, "Region", true, 3},
      {"choice number", OptionField::Kind::Choice, 0, 0, "1", true, 1},
      {"choice number past end", OptionField::Kind::Choice, 0, 0, "4", false, 0},
      {"choice negative", OptionField::Kind::Choice, 0, 0, "-1", false, 0},
      {"choice unknown word", OptionField::Kind::Choice, 0, 0, "colour", false, 0},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.what);
    bool flag = true;  // bools start on, so an "off" that is ignored shows
    int whole = -7;
    float number = -7;
    OptionField field;
    field.name = "field";
    field.kind = c.kind;
    field.minimum = c.minimum;
    field.maximum = c.maximum;
    field.boolValue = &flag;
    field.intValue = &whole;
    field.floatValue = &number;
    field.choices = {"bw", "group", "material", "region"};
    if (c.kind == OptionField::Kind::Bool && c.accepted && c.expected == 1) flag = false;

    std::optional<std::string> problem = setFieldFromText(field, c.text);
    EXPECT_EQ(!problem.has_value(), c.accepted) << problem.value_or("");
    double read = c.kind == OptionField::Kind::Bool    ? double(flag)
                  : c.kind == OptionField::Kind::Float ? double(number)
                                                       : double(whole);
    if (c.accepted) {
      EXPECT_EQ(read, c.expected);
    } else {
      // A rejected text leaves the field as it was.
      EXPECT_EQ(read, c.kind == OptionField::Kind::Bool ? 1.0 : -7.0);
    }
  }
}

TEST(OptionTextTest, ValuesReadBackAsTheyAreParsed) {
  const float values[] = {50.0f, 12.5f, 1.0f, 10000.0f, 0.1f, 3.14159274f};
  for (float value : values) {
    std::string text = floatText(value);
    EXPECT_EQ(text.find(','), std::string::npos) << text;
    auto back = parseFloatText(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(*back, value) << text;
  }
  EXPECT_EQ(floatText(50.0f), "50");
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

TEST(OptionTextTest, TextFieldsTakeTextUpToTheirLength) {
  struct Case {
    const char* what;
    int maxLength;
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {"no limit", 0, "a rather long name with blanks", true},
      {"exactly the limit", 4, "abcd", true},
      {"one past the limit", 4, "abcde", false},
      {"empty text", 4, "", true},
      {"an equals sign and digits", 8, "a=1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string value = "start";
    OptionField field;
    field.kind = OptionField::Kind::Text;
    field.textValue = &value;
    field.maxLength = c.maxLength;
    std::optional<std::string> problem = setFieldFromText(field, c.text);
    EXPECT_EQ(!problem.has_value(), c.accepted) << problem.value_or("");
    EXPECT_EQ(value, c.accepted ? std::string(c.text) : std::string("start"));
    EXPECT_EQ(fieldValueText(field), value);
  }
}

}  // namespace
}  // namespace corvina
