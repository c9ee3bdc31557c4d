// The writer's number output must match the C library's printf byte for byte
// (files written by earlier versions and other tools are compared as text), yet
// never follow the locale. printf in the test's "C" locale is the reference.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "files/number_format.h"

namespace corvina {
namespace {

std::string spaceSigned(float value) {
  char buffer[kMaxFixed8Chars];
  return std::string(buffer, formatSpaceSignedFixed8(buffer, value));
}

std::string unsignedSpace(float value) {
  char buffer[kMaxFixed8Chars];
  return std::string(buffer, formatFixed8(buffer, value));
}

std::string printfOf(const char* format, float value) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, static_cast<double>(value));
  return buffer;
}

TEST(ObjWriterNumberFormat, FixedPointMatchesPrintfAndKnownTexts) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float value;
    const char* spaceSignedText;  // "% 0.8f"
    const char* plainText;        // "%0.8f"
  };
  const Case cases[] = {
      {0.0f, " 0.00000000", "0.00000000"},
      {-0.0f, "-0.00000000", "-0.00000000"},
      {-1e-10f, "-0.00000000", "-0.00000000"},
      {-4e-9f, "-0.00000000", "-0.00000000"},
      {1e-10f, " 0.00000000", "0.00000000"},
      {0.5f, " 0.50000000", "0.50000000"},
      {-0.125f, "-0.12500000", "-0.12500000"},
      {1.0f, " 1.00000000", "1.00000000"},
      {0.1f, " 0.10000000", "0.10000000"},
      {50.0f, " 50.00000000", "50.00000000"},
      {100000.0f, " 100000.00000000", "100000.00000000"},
      {-100000.0f, "-100000.00000000", "-100000.00000000"},
      {16777216.0f, " 16777216.00000000", "16777216.00000000"},
      {1e30f, " 1000000015047466219876688855040.00000000",
       "1000000015047466219876688855040.00000000"},
      {inf, " inf", "inf"},
      {-inf, "-inf", "-inf"},
      {nan, " nan", "nan"},
      {-nan, "-nan", "-nan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(printfOf("%.9g", c.value));
    EXPECT_EQ(spaceSigned(c.value), c.spaceSignedText);
    EXPECT_EQ(unsignedSpace(c.value), c.plainText);
    EXPECT_EQ(spaceSigned(c.value), printfOf("% 0.8f", c.value));
    EXPECT_EQ(unsignedSpace(c.value), printfOf("%0.8f", c.value));
  }
}

// Rounding at the eighth decimal is where a home-made formatter goes wrong;
// random floats of every magnitude, halfway cases included, are compared.
TEST(ObjWriterNumberFormat, RandomFloatsOfEveryMagnitudeMatchPrintf) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  std::uniform_int_distribution<int> exponent(-30, 38);
  std::uniform_int_distribution<std::uint32_t> bits;
  for (int i = 0; i < 20000; ++i) {
    float values[] = {
        unit(random) * std::pow(10.0f, static_cast<float>(exponent(random))),
        std::bit_cast<float>(bits(random)),
        // Exact binary halves of the last written decimal digit.
        static_cast<float>(static_cast<int>(bits(random) % 2000000) - 1000000) / 256.0f,
    };
    for (float value : values) {
      ASSERT_EQ(spaceSigned(value), printfOf("% 0.8f", value)) << i;
      ASSERT_EQ(unsignedSpace(value), printfOf("%0.8f", value)) << i;
    }
  }
}

TEST(ObjWriterNumberFormat, IntegersMatchPrintf) {
  const int cases[] = {0, 1, -1, 9, 10, 255, 256, 16384, -42, 2147483647, -2147483647 - 1};
  for (int value : cases) {
    char buffer[kMaxIntChars];
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d", value);
    EXPECT_EQ(std::string(buffer, formatInt(buffer, value)), expected);
  }
}

}  // namespace
}  // namespace corvina
