#pragma once
// Number reading for the OBJ reader. Nothing here looks at the C library's
// locale: "0.5" is one half on every desktop.

#include <cstdint>

namespace corvina {

// A corner index: an optional '-' and decimal digits; any other character
// (a '+' included) ends it, so "+3" reads as 0. Advances `p` past what was
// read. Magnitudes beyond any array size saturate instead of overflowing.
// Inline: the index pass reads three of these for every corner.
inline std::int64_t readCornerIndex(const char*& p, const char* end) {
  // Far beyond any count a store can hold, so saturating changes no result.
  constexpr std::int64_t kSaturation = std::int64_t{1} << 40;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  std::int64_t value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    if (value < kSaturation) value = value * 10 + (*p - '0');
  }
  return negative ? -value : value;
}

// One floating-point number as "%f" reads it: white space skipped, then an
// optional sign and a decimal, exponent, "inf" or "nan" form. Overflow gives
// an infinity and underflow a zero, as with the C library. Returns false, with
// `p` unchanged, when no number starts there.
bool readFloat(const char*& p, const char* end, float& value);

// One integer as "%d" reads it: white space skipped, an optional sign, at
// least one digit. Values beyond int saturate. False, `p` unchanged, when no
// digit follows.
bool readInt(const char*& p, const char* end, int& value);

}  // namespace corvina
