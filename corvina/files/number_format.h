#pragma once
// Locale-independent number output for the text files corvina writes. Each
// function writes into a caller-provided buffer and returns the end of what it
// wrote; the buffer must hold at least the stated maximum. The results are
// byte for byte what the C library's printf gives in the "C" locale, whatever
// locale the program runs in.

#include <cstddef>

namespace corvina {

// Longest output of the fixed-point functions: a sign, 39 integer digits of the
// largest float, the point, 8 decimals, with room to spare.
constexpr std::size_t kMaxFixed8Chars = 64;
// Longest output of formatInt: "-2147483648".
constexpr std::size_t kMaxIntChars = 12;

// printf("% 0.8f", value): a space or a minus sign, then the value rounded to
// 8 decimals. The sign comes from the sign bit, so -0.0 and negatives that
// round to zero give "-0.00000000"; NaN and infinity give " nan", "-nan",
// " inf" and "-inf".
char* formatSpaceSignedFixed8(char* out, float value);

// printf("%0.8f", value): as above without the space before non-negative values.
char* formatFixed8(char* out, float value);

// printf("%d", value).
char* formatInt(char* out, int value);

}  // namespace corvina
