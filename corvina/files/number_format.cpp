#include "files/number_format.h"

#include <charconv>
#include <cmath>

namespace corvina {

namespace {

// std::to_chars never consults the locale and rounds the exact binary value
// correctly, as glibc's printf does. Only the magnitude is formatted here so
// that the sign, including the sign of -0.0 and of NaN, follows the sign bit.
char* formatMagnitudeFixed8(char* out, float magnitude) {
  if (std::isnan(magnitude)) {
    out[0] = 'n';
    out[1] = 'a';
    out[2] = 'n';
    return out + 3;
  }
  return std::to_chars(out, out + kMaxFixed8Chars, magnitude, std::chars_format::fixed, 8).ptr;
}

}  // namespace

char* formatSpaceSignedFixed8(char* out, float value) {
  *out++ = std::signbit(value) ? '-' : ' ';
  return formatMagnitudeFixed8(out, std::fabs(value));
}

char* formatFixed8(char* out, float value) {
  if (std::signbit(value)) *out++ = '-';
  return formatMagnitudeFixed8(out, std::fabs(value));
}

char* formatInt(char* out, int value) {
  return std::to_chars(out, out + kMaxIntChars, value).ptr;
}

}  // namespace corvina
