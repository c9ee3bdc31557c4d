// Names from the file system are shown as their characters, and any byte
// that is not part of valid UTF-8 as \xNN.

#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "app/display_text.h"

namespace lkit {
namespace {

TEST(DisplayText, EscapesEveryByteThatIsNotValidUtf8) {
  struct Case {
    std::string bytes;
    QString shown;
  };
  const Case cases[] = {
      {"main.cs", "main.cs"},
      {"", ""},
      {"caf\xc3\xa9.cs", QString::fromUtf8("caf\xc3\xa9.cs")},  // valid two-byte letter
      {"caf\xe9.cs", "caf\\xe9.cs"},                            // Latin-1 byte
      {"\xff\xfe", "\\xff\\xfe"},
      {"a\xc3", "a\\xc3"},                                            // cut short at the end
      {"\xc0\xaf", "\\xc0\\xaf"},                                     // overlong "/"
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},                            // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},                   // above U+10FFFF
      {"\xf0\x9f\x8e\xae!", QString::fromUtf8("\xf0\x9f\x8e\xae!")},  // four bytes
      {"\xe2\x82x", "\\xe2\\x82x"},  // a broken three-byte sequence
      {std::string("a\0b", 3), QString::fromUtf8("a\0b", 3)},
  };
  for (const Case& c : cases) {
    const QString shown = displayText(c.bytes);
    EXPECT_EQ(shown, c.shown) << c.bytes;
    EXPECT_FALSE(shown.contains(QChar(0xFFFD))) << c.bytes;
  }
}

}  // namespace
}  // namespace lkit
