// Reading "%f"-like floats, and the same results under a locale with a
// decimal comma.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "files/obj_number_parse.h"

namespace corvina {
namespace {

TEST(ObjNumbers, ReadsFloatsLikeScanf) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* text;
    bool reads;
    float value;
    std::size_t consumed;
  };
  const Case cases[] = {
      {"0.5", true, 0.5f, 3},
      {" -1.25 2", true, -1.25f, 6},
      {"+2", true, 2.0f, 2},
      {"+-2", false, 0, 0},
      {".5", true, 0.5f, 2},
      {"1e3", true, 1000.0f, 3},
      {"2.5E-1x", true, 0.25f, 6},
      {"1e40", true, inf, 4},
      {"-1e40", true, -inf, 5},
      {"1e-50", true, 0.0f, 5},
      {"0.000000000000000000000000000000000000000000000000001", true, 0.0f, 53},
      {"123456789012345678901234567890123456789012", true, inf, 42},
      {"inf", true, inf, 3},
      {"abc", false, 0, 0},
      {"", false, 0, 0},
      {"0,5", true, 0.0f, 1},
      {"16777217", true, 16777216.0f, 8},
      {"0.1234567891", true, 0.1234567891f, 12},
  };
  for (const Case& c : cases) {
    const std::string text = c.text;
    const char* p = text.data();
    float value = -7;
    EXPECT_EQ(readFloat(p, text.data() + text.size(), value), c.reads) << c.text;
    if (!c.reads) {
      EXPECT_EQ(p, text.data()) << c.text;
      continue;
    }
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(static_cast<std::size_t>(p - text.data()), c.consumed) << c.text;
  }
  const std::string nan = "nan";
  const char* p = nan.data();
  float value = 0;
  EXPECT_TRUE(readFloat(p, nan.data() + nan.size(), value));
  EXPECT_TRUE(std::isnan(value));
}

TEST(ObjNumbers, IgnoreTheDecimalCommaOfTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr) {
    GTEST_SKIP() << "no German locale installed";
  }
  const std::string text = "0.5 1,5";
  const char* p = text.data();
  float half = 0, next = 0;
  const bool readHalf = readFloat(p, text.data() + text.size(), half);
  const bool readNext = readFloat(p, text.data() + text.size(), next);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_TRUE(readHalf);
  EXPECT_EQ(half, 0.5f);
  EXPECT_TRUE(readNext);
  EXPECT_EQ(next, 1.0f);  // the comma ends the number
}

}  // namespace
}  // namespace corvina
