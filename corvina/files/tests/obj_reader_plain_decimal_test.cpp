// The quick path for plain decimals must give exactly what std::from_chars
// gives (the general reader), value bits and length read alike, or step aside;
// and read the same with or without end checks.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>

#include "files/obj_number_parse.h"

namespace corvina {
namespace {

// What the general reader makes of `text`: its float bits and the length it
// read, or nothing read.
struct Reading {
  bool read = false;
  std::uint32_t bits = 0;
  std::size_t length = 0;
  bool operator==(const Reading&) const = default;
};

Reading referenceReading(const std::string& text) {
  float value = 0;
  const char* first = text.data();
  const auto [last, error] =
      std::from_chars(first, first + text.size(), value, std::chars_format::general);
  if (error != std::errc()) return {};
  return {true, std::bit_cast<std::uint32_t>(value), static_cast<std::size_t>(last - first)};
}

Reading quickReading(const std::string& text, bool& tookQuickPath) {
  float value = 0;
  const char* last = nullptr;
  tookQuickPath = readPlainDecimal(text.data(), text.data() + text.size(), value, last);
  if (!tookQuickPath) return {};
  return {true, std::bit_cast<std::uint32_t>(value), static_cast<std::size_t>(last - text.data())};
}

Reading readFloatReading(const std::string& text) {
  float value = 0;
  const char* p = text.data();
  if (!readFloat(p, text.data() + text.size(), value)) return {};
  return {true, std::bit_cast<std::uint32_t>(value), static_cast<std::size_t>(p - text.data())};
}

// The quick path on the text followed by a line end, read up to that mark
// without end checks, as the reader does with its lines.
Reading markedReading(const std::string& text, bool& tookQuickPath) {
  const std::string line = text + '\n';
  float value = 0;
  const char* last = nullptr;
  tookQuickPath = readPlainDecimal<true>(line.data(), line.data() + text.size(), value, last);
  if (!tookQuickPath) return {};
  return {true, std::bit_cast<std::uint32_t>(value), static_cast<std::size_t>(last - line.data())};
}

// Checks one text; counts how often the quick path answered.
void expectSameAsGeneral(const std::string& text, int& quick) {
  bool tookQuickPath = false;
  const Reading fast = quickReading(text, tookQuickPath);
  bool tookMarkedPath = false;
  const Reading marked = markedReading(text, tookMarkedPath);
  ASSERT_EQ(tookMarkedPath, tookQuickPath) << text;
  ASSERT_EQ(marked, fast) << text;
  if (tookQuickPath) {
    ++quick;
    ASSERT_EQ(fast, referenceReading(text)) << text;
  }
  // Through readFloat the text must read the same whichever path answers.
  ASSERT_EQ(readFloatReading(text), referenceReading(text)) << text;
}

TEST(ObjPlainDecimal, EdgeCasesReadLikeTheGeneralReader) {
  const char* const cases[] = {"-0",
                               "0",
                               "0.0",
                               "-0.000000",
                               "0.0000001",
                               "3.4028235e38",
                               "340282350000000000000000000000000000000",
                               "1.17549435e-38",
                               "0.0000000000000000000000000000000000000117549435",
                               "1e-45",
                               "1.4e-45",
                               "0.00000000000000000000000000000000000000000001",
                               "12345678901234567890",
                               "1234567890123456789",
                               "0.1234567890123456789",
                               "123456789012345678901",
                               "9007199254740993",
                               "9007199254740992",
                               "900719925474099.3",
                               "16777217",
                               "16777216.5",
                               "0.30000001192092896",
                               "1.00000005960464477539",
                               "1.0000000596046448",
                               "33554431",
                               "33554433",
                               "1.",
                               ".5",
                               "-.5",
                               ".",
                               "-",
                               "-.",
                               "1e",
                               "1e5",
                               "1E5",
                               "1.5e+3",
                               "inf",
                               "-inf",
                               "nan",
                               "0x10",
                               "1,5",
                               "--1",
                               "5.000000",
                               "-5.000000",
                               "0.123456",
                               "12.345678",
                               "007.5",
                               "1.2.3",
                               "1-2",
                               "99999999",
                               "0.00000000000000000001",
                               "7.038531e-26"};
  int quick = 0;
  for (const char* text : cases) expectSameAsGeneral(text, quick);
  // The plain exporter forms above must not all be left to the general reader.
  EXPECT_GT(quick, 20);
}

// Random texts of the forms exporters write and of forms near the edges: long
// mantissas, values near float midpoints, tiny and huge magnitudes.
TEST(ObjPlainDecimal, RandomTextsReadLikeTheGeneralReader) {
  std::mt19937_64 random(20240611);
  int quick = 0;
  char buffer[80];
  for (int round = 0; round < 1'000'000; ++round) {
    std::string text;
    switch (round % 5) {
      case 0: {  // digits with a point somewhere, up to 22 of them
        const int digits = 1 + static_cast<int>(random() % 22);
        const int point = static_cast<int>(random() % (digits + 2));
        if (random() % 2) text += '-';
        for (int i = 0; i < digits; ++i) {
          if (i == point) text += '.';
          text += static_cast<char>('0' + random() % 10);
        }
        break;
      }
      case 1: {  // a random float in fixed notation with 0 to 9 decimals
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        const int decimals = static_cast<int>(random() % 10);
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::fixed, decimals);
        if (result.ec == std::errc()) text.assign(buffer, result.ptr);
        break;
      }
      case 2: {  // the double halfway between two neighbouring floats, shortest form
        const std::uint32_t bits = static_cast<std::uint32_t>(random() % 0x7F000000u) + 0x00800000u;
        const double low = std::bit_cast<float>(bits);
        const double high = std::bit_cast<float>(bits + 1);
        const double middle = low + (high - low) / 2;
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, middle, std::chars_format::fixed);
        if (result.ec == std::errc()) text.assign(buffer, result.ptr);
        break;
      }
      case 3: {  // a number with six decimals, as most exporters write
        const double value =
            static_cast<double>(static_cast<std::int64_t>(random() % 2'000'000'000) -
                                1'000'000'000) /
            1e6;
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
        if (result.ec == std::errc()) text.assign(buffer, result.ptr);
        break;
      }
      default: {  // a small integer mantissa over a power of ten: exact midpoints
        const std::uint64_t mantissa = random() % (std::uint64_t{1} << 26);
        const int decimals = static_cast<int>(random() % 8);
        text = std::to_string(mantissa);
        if (decimals > 0 && static_cast<int>(text.size()) > decimals) {
          text.insert(text.size() - static_cast<std::size_t>(decimals), 1, '.');
        }
        break;
      }
    }
    // Sometimes a word follows, as in a vertex line.
    if (random() % 4 == 0) text += " 1";
    expectSameAsGeneral(text, quick);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(quick, 500'000);
}

}  // namespace
}  // namespace corvina
