#include "files/obj_number_parse.h"

#include <charconv>
#include <limits>

namespace corvina {

namespace {

// Far beyond any count a store can hold, so saturating here changes no result.
constexpr std::int64_t kSaturation = std::int64_t{1} << 40;

// The white space "%f" and "%d" skip in the C locale.
bool isScanSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* skipScanSpace(const char* p, const char* end) {
  while (p < end && isScanSpace(*p)) ++p;
  return p;
}

// The value of a decimal number that float cannot hold: infinity when its
// leading digit stands at a positive power of ten, zero when at a negative
// one, with the number's sign (what the C library gives).
float outOfRangeValue(const char* first, const char* last) {
  const char* p = first;
  const bool negative = p < last && *p == '-';
  if (p < last && (*p == '-' || *p == '+')) ++p;
  std::int64_t leadingPower = 0;
  bool seenDigit = false;
  for (; p < last && *p >= '0' && *p <= '9'; ++p) {
    if (seenDigit || *p != '0') {
      if (seenDigit && leadingPower < kSaturation) ++leadingPower;
      seenDigit = true;
    }
  }
  if (p < last && *p == '.') {
    for (++p; p < last && *p >= '0' && *p <= '9'; ++p) {
      if (!seenDigit) {
        if (leadingPower > -kSaturation) --leadingPower;
        if (*p != '0') seenDigit = true;
      }
    }
  }
  if (p < last && (*p == 'e' || *p == 'E')) {
    ++p;
    const char* exponentText = p;
    if (p < last && *p == '+') exponentText = ++p;
    leadingPower += readCornerIndex(exponentText, last);
  }
  const float magnitude = leadingPower > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
  return negative ? -magnitude : magnitude;
}

}  // namespace

bool readFloatInGeneral(const char*& p, const char* end, float& value) {
  const char* first = skipScanSpace(p, end);
  // from_chars takes no '+'; "%f" does, but not a second sign after it.
  if (first < end && *first == '+') {
    if (first + 1 < end && (first[1] == '-' || first[1] == '+')) return false;
    ++first;
  }
  float parsed = 0;
  const auto [last, error] = std::from_chars(first, end, parsed, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    parsed = outOfRangeValue(first, last);
  } else if (error != std::errc()) {
    return false;
  }
  value = parsed;
  p = last;
  return true;
}

bool readInt(const char*& p, const char* end, int& value) {
  const char* q = skipScanSpace(p, end);
  bool negative = false;
  if (q < end && (*q == '-' || *q == '+')) {
    negative = *q == '-';
    ++q;
  }
  if (q == end || *q < '0' || *q > '9') return false;
  std::int64_t magnitude = 0;
  while (q < end && *q >= '0' && *q <= '9') {
    if (magnitude < kSaturation) magnitude = magnitude * 10 + (*q - '0');
    ++q;
  }
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  constexpr std::int64_t kLow = std::numeric_limits<int>::min();
  constexpr std::int64_t kHigh = std::numeric_limits<int>::max();
  value = static_cast<int>(signedValue < kLow ? kLow : (signedValue > kHigh ? kHigh : signedValue));
  p = q;
  return true;
}

}  // namespace corvina
