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

// Most numbers in OBJ files are plain decimals such as "0.123456". With at
// most 2^24 as digits and at most ten decimals, both the digits and the power
// of ten are exact floats, so one division gives the correctly rounded value
// (the result from_chars gives). Anything else is left to from_chars.
bool readPlainDecimal(const char*& p, const char* end, float& value) {
  static constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                           1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  const char* q = p;
  const bool negative = q < end && *q == '-';
  if (negative) ++q;
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  for (; q < end && *q >= '0' && *q <= '9' && count < 19; ++q, ++count) {
    digits = digits * 10 + static_cast<unsigned>(*q - '0');
  }
  if (q < end && *q == '.') {
    for (++q; q < end && *q >= '0' && *q <= '9' && count < 19; ++q, ++count, ++decimals) {
      digits = digits * 10 + static_cast<unsigned>(*q - '0');
    }
  }
  if (count == 0 || count == 19 || digits > (std::uint64_t{1} << 24) || decimals > 10) return false;
  if (q < end && (*q == 'e' || *q == 'E' || (*q >= '0' && *q <= '9'))) return false;
  const float magnitude = static_cast<float>(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  p = q;
  return true;
}

}  // namespace

bool readFloat(const char*& p, const char* end, float& value) {
  const char* first = skipScanSpace(p, end);
  // from_chars takes no '+'; "%f" does, but not a second sign after it.
  if (first < end && *first == '+') {
    if (first + 1 < end && (first[1] == '-' || first[1] == '+')) return false;
    ++first;
  }
  if (readPlainDecimal(first, end, value)) {
    p = first;
    return true;
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
