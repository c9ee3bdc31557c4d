#pragma once
// Number reading for the OBJ reader. Nothing here looks at the C library's
// locale: "0.5" is one half on every desktop.

#include <bit>
#include <cstddef>
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

// A plain decimal ("-12.345678", "0.5", "7", ".5", "1."): an optional '-',
// digits with at most one '.', no exponent. True, with the correctly rounded
// float in `value` and `last` just past the number, when the number has that
// form and is quickly and exactly convertible; false when the general reader
// must decide (other forms, more than 19 digits, a mantissa beyond 2^53, or
// a double that lies exactly halfway between two floats, where rounding twice
// could differ from rounding once).
//
// The mantissa m and the count k of digits after the point give m / 10^k.
// Both m (below 2^53) and 10^k (k <= 19) are exact doubles, so the division
// is the double nearest the number; rounding that double to float gives the
// float nearest the number unless the double sits exactly on a float midpoint.
//
// With kMarked, the byte at `end` must be readable and be neither a digit, a
// point, a sign nor an exponent letter (an ObjLine's end is a space, CR, LF or
// NUL), and the scan needs no end checks.
template <bool kMarked = false>
inline bool readPlainDecimal(const char* first, const char* end, float& value, const char*& last) {
  auto before = [end](const char* q) { return kMarked || q < end; };
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                            1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                            1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
  const char* q = first;
  const bool negative = before(q) && *q == '-';
  if (negative) ++q;
  std::uint64_t mantissa = 0;
  const char* digitsStart = q;
  for (; before(q) && static_cast<unsigned char>(*q - '0') < 10; ++q) {
    mantissa = mantissa * 10 + static_cast<unsigned char>(*q - '0');
  }
  std::ptrdiff_t digits = q - digitsStart;
  std::ptrdiff_t fractionDigits = 0;
  if (before(q) && *q == '.') {
    const char* fractionStart = ++q;
    for (; before(q) && static_cast<unsigned char>(*q - '0') < 10; ++q) {
      mantissa = mantissa * 10 + static_cast<unsigned char>(*q - '0');
    }
    fractionDigits = q - fractionStart;
    digits += fractionDigits;
  }
  // Up to 19 digits cannot overflow 64 bits; leading zeros count, which only
  // sends a few more numbers to the general reader.
  if (digits == 0 || digits > 19) return false;
  if (before(q) && (*q == 'e' || *q == 'E')) return false;
  if (mantissa > (std::uint64_t{1} << 53)) return false;
  double magnitude = static_cast<double>(mantissa);
  if (fractionDigits > 0) magnitude /= kPowersOfTen[fractionDigits];
  // With at most 19 digits a non-zero result is at least 1e-19, far inside the
  // normal float range, where the float midpoints are the doubles whose lowest
  // 29 mantissa bits are 1 followed by 28 zeros.
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
  if ((bits & 0x1FFFFFFF) == 0x10000000) return false;
  const float rounded = static_cast<float>(magnitude);
  value = negative ? -rounded : rounded;
  last = q;
  return true;
}

// The part of readFloat that plain decimals do not need.
bool readFloatInGeneral(const char*& p, const char* end, float& value);

// readCornerIndex for text followed by a non-digit that may be read (as every
// ObjLine is), so the digit loop needs no end check. Gives exactly what
// readCornerIndex gives.
inline std::int64_t readMarkedCornerIndex(const char*& p) {
  const char* start = p;
  const bool negative = *p == '-';
  if (negative) ++p;
  const char* digits = p;
  // Unsigned, so an absurdly long number wraps harmlessly before it is read
  // again below.
  std::uint64_t value = 0;
  for (; static_cast<unsigned char>(*p - '0') < 10; ++p) {
    value = value * 10 + static_cast<unsigned char>(*p - '0');
  }
  // Twelve digits stay below the saturation point of readCornerIndex; a
  // longer number is read again by it (rare: no count is that large).
  if (p - digits > 12) {
    const char* last = p;
    p = start;
    return readCornerIndex(p, last);
  }
  const auto magnitude = static_cast<std::int64_t>(value);
  return negative ? -magnitude : magnitude;
}

// One floating-point number as "%f" reads it: white space skipped, then an
// optional sign and a decimal, exponent, "inf" or "nan" form. Overflow gives
// an infinity and underflow a zero, as with the C library. Returns false, with
// `p` unchanged, when no number starts there. Inline for the plain decimals
// that make up nearly every vertex line.
//
// With kMarked, the text must end as readPlainDecimal<true> requires.
template <bool kMarked = false>
inline bool readFloat(const char*& p, const char* end, float& value) {
  const char* first = p;
  while (first < end && *first == ' ') ++first;
  const char* last = nullptr;
  if (readPlainDecimal<kMarked>(first, end, value, last)) {
    p = last;
    return true;
  }
  return readFloatInGeneral(p, end, value);
}

// One integer as "%d" reads it: white space skipped, an optional sign, at
// least one digit. Values beyond int saturate. False, `p` unchanged, when no
// digit follows.
bool readInt(const char*& p, const char* end, int& value);

}  // namespace corvina
