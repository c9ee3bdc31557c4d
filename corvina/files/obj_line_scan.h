#pragma once
// Finds where an ordinary line ends. Most lines of an OBJ file need no
// rewriting by the line reader: no tab, no backslash, no blank at the start
// and no run of blanks. Such a line is recognised here sixteen bytes at a time
// where the processor allows it, so the reader can hand it out in place.

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define CORVINA_OBJ_LINE_SCAN_SSE2 1
#endif

namespace corvina {

namespace detail {

inline bool isLineEnd(char c) {
  return c == '\n' || c == '\r' || c == '\0';
}

}  // namespace detail

// Scans the line at `start`, of which `available` bytes are at hand (all that
// is left of the input when fewer than `capacity` + 1). True, with the bytes
// before the line end in `length`, when the line is ordinary and ends (at LF,
// CR, NUL or the end of the input) within `capacity` bytes; false when the
// line must be read byte by byte. False is always safe: the byte path gives
// the same text. With kCountSpaces, `spaces` receives the number of spaces
// before the line end (the counting pass needs the words of facet lines, and
// counting them here saves a second walk over the line).
template <bool kCountSpaces = false>
inline bool scanPlainLine(const char* start, std::size_t available, std::size_t capacity,
                          std::size_t& length, [[maybe_unused]] std::size_t* spaces = nullptr) {
  const std::size_t limit = available < capacity ? available : capacity;
  std::size_t offset = 0;
  unsigned previousSpace = 1;  // a blank at the very start counts as a run
  std::size_t spaceCount = 0;

#ifdef CORVINA_OBJ_LINE_SCAN_SSE2
  // Every byte that can stop an ordinary line except the backslash is a
  // control character (below 0x20); any control character stops the scan and
  // an unexpected one sends the line to the byte path.
  const __m128i highestControl = _mm_set1_epi8(0x1F);
  const __m128i backslash = _mm_set1_epi8('\\');
  const __m128i space = _mm_set1_epi8(' ');
  // Per-byte-lane space counts of the whole blocks; a line of at most 1023
  // bytes has at most 64 blocks, so no lane overflows.
  __m128i laneSpaces = _mm_setzero_si128();
  auto addLaneSpaces = [&] {
    if constexpr (kCountSpaces) {
      const __m128i sums = _mm_sad_epu8(laneSpaces, _mm_setzero_si128());
      spaceCount += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                    static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
  };
  for (; offset + 16 <= available && offset < limit; offset += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + offset));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, highestControl), bytes);
    const __m128i stops = _mm_or_si128(control, _mm_cmpeq_epi8(bytes, backslash));
    const unsigned stopMask = static_cast<unsigned>(_mm_movemask_epi8(stops));
    const __m128i isSpace = _mm_cmpeq_epi8(bytes, space);
    unsigned spaceMask = static_cast<unsigned>(_mm_movemask_epi8(isSpace));
    if (stopMask != 0) {
      const int first = std::countr_zero(stopMask);
      spaceMask &= (1u << first) - 1;
      if ((spaceMask & ((spaceMask << 1) | previousSpace)) != 0) return false;
      const std::size_t end = offset + static_cast<std::size_t>(first);
      if (end >= limit || !detail::isLineEnd(start[end])) return false;
      length = end;
      if constexpr (kCountSpaces) {
        // The spaces of this block that come before the line end.
        const __m128i lane = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        const __m128i before = _mm_cmplt_epi8(lane, _mm_set1_epi8(static_cast<char>(first)));
        laneSpaces = _mm_sub_epi8(laneSpaces, _mm_and_si128(isSpace, before));
        addLaneSpaces();
        *spaces = spaceCount;
      }
      return true;
    }
    if ((spaceMask & ((spaceMask << 1) | previousSpace)) != 0) return false;
    previousSpace = (spaceMask >> 15) & 1u;
    if constexpr (kCountSpaces) laneSpaces = _mm_sub_epi8(laneSpaces, isSpace);
  }
  addLaneSpaces();
#endif

  for (; offset < limit; ++offset) {
    const char c = start[offset];
    if (c == ' ') {
      if (previousSpace) return false;
      previousSpace = 1;
      ++spaceCount;
      continue;
    }
    previousSpace = 0;
    if (detail::isLineEnd(c)) {
      length = offset;
      if constexpr (kCountSpaces) *spaces = spaceCount;
      return true;
    }
    if (c == '\\' || c == '\t') return false;
  }
  // No line end within the capacity: the line is cut, which the byte path does.
  if (limit == capacity) return false;
  length = limit;
  if constexpr (kCountSpaces) *spaces = spaceCount;
  return true;
}

// Finds where the line at `start` ends when only its extent matters (a pass
// that knows from its first bytes that it does not need the line). True, with
// the bytes before the line end in `length`, when the line ends at LF, CR, NUL
// or the end of the input within `capacity` bytes and holds no backslash or
// other control character; false when the byte path must read it. Cheaper
// than scanPlainLine: blanks are not looked at.
inline bool findPlainLineEnd(const char* start, std::size_t available, std::size_t capacity,
                             std::size_t& length) {
  const std::size_t limit = available < capacity ? available : capacity;
  std::size_t offset = 0;
#ifdef CORVINA_OBJ_LINE_SCAN_SSE2
  const __m128i highestControl = _mm_set1_epi8(0x1F);
  const __m128i backslash = _mm_set1_epi8('\\');
  for (; offset + 16 <= available && offset < limit; offset += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + offset));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, highestControl), bytes);
    const __m128i stops = _mm_or_si128(control, _mm_cmpeq_epi8(bytes, backslash));
    const unsigned stopMask = static_cast<unsigned>(_mm_movemask_epi8(stops));
    if (stopMask != 0) {
      const std::size_t end = offset + static_cast<std::size_t>(std::countr_zero(stopMask));
      if (end >= limit || !detail::isLineEnd(start[end])) return false;
      length = end;
      return true;
    }
  }
#endif
  for (; offset < limit; ++offset) {
    const char c = start[offset];
    if (detail::isLineEnd(c)) {
      length = offset;
      return true;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == '\\') return false;
  }
  if (limit == capacity) return false;
  length = limit;
  return true;
}

}  // namespace corvina
