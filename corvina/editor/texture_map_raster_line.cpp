#include "editor/texture_map_raster_line.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace corvina {

namespace {

// A signed integer of 320 bits in two's complement. End points are below
// 2^128, line lengths below 2^130, and the one product the clipping needs
// (twice the minor length times the first visible step) below 2^260.
class Wide {
 public:
  static Wide of(std::int64_t value) {
    Wide w;
    w.limbs_.fill(value < 0 ? ~std::uint64_t{0} : 0);
    w.limbs_[0] = static_cast<std::uint64_t>(value);
    return w;
  }

  // `value` must be a whole number below 2^128 in magnitude.
  static Wide ofWhole(double value) {
    Wide w;
    const double magnitude = std::fabs(value);
    if (magnitude < 1.0) return w;
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);  // magnitude = fraction * 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = exponent - 53;
    if (shift <= 0) {
      w.limbs_[0] = mantissa >> -shift;  // exact: the value is whole
    } else {
      const int limb = shift / 64, bit = shift % 64;
      w.limbs_[limb] = mantissa << bit;
      if (bit != 0) w.limbs_[limb + 1] = mantissa >> (64 - bit);
    }
    return value < 0 ? -w : w;
  }

  bool negative() const { return (limbs_[kLimbs - 1] >> 63) != 0; }

  // The low 64 bits as a signed number; the caller knows the value fits.
  std::int64_t low() const { return static_cast<std::int64_t>(limbs_[0]); }

  // Whether the value lies within +-2^62.
  bool small() const {
    constexpr std::int64_t kBound = std::int64_t{1} << 62;
    return !(*this < of(-kBound)) && !(of(kBound) < *this);
  }

  Wide operator-() const {
    Wide w;
    unsigned carry = 1;
    for (int i = 0; i < kLimbs; ++i) {
      const std::uint64_t inverted = ~limbs_[i];
      w.limbs_[i] = inverted + carry;
      carry = carry != 0 && w.limbs_[i] == 0 ? 1 : 0;
    }
    return w;
  }

  friend Wide operator+(const Wide& a, const Wide& b) {
    Wide w;
    unsigned carry = 0;
    for (int i = 0; i < kLimbs; ++i) {
      const std::uint64_t sum = a.limbs_[i] + b.limbs_[i];
      const unsigned overflow = sum < a.limbs_[i] ? 1 : 0;
      w.limbs_[i] = sum + carry;
      carry = overflow | (w.limbs_[i] < sum ? 1 : 0);
    }
    return w;
  }

  friend Wide operator-(const Wide& a, const Wide& b) { return a + -b; }

  friend bool operator<(const Wide& a, const Wide& b) {
    if (a.negative() != b.negative()) return a.negative();
    for (int i = kLimbs - 1; i >= 0; --i) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i];
    }
    return false;
  }

  // a * b for non-negative factors whose product stays below 2^319.
  static Wide product(const Wide& a, const Wide& b) {
    Wide w;
    for (int i = 0; i < kLimbs; ++i) {
      std::uint64_t carry = 0;
      for (int j = 0; i + j < kLimbs; ++j) {
        const unsigned __int128 part =
            static_cast<unsigned __int128>(a.limbs_[i]) * b.limbs_[j] + w.limbs_[i + j] + carry;
        w.limbs_[i + j] = static_cast<std::uint64_t>(part);
        carry = static_cast<std::uint64_t>(part >> 64);
      }
    }
    return w;
  }

  // Long division of a non-negative numerator by a positive divisor.
  static void divide(const Wide& numerator, const Wide& divisor, Wide& quotient, Wide& remainder) {
    quotient = Wide{};
    remainder = Wide{};
    for (int bit = kLimbs * 64 - 1; bit >= 0; --bit) {
      remainder = remainder + remainder;
      remainder.limbs_[0] |= (numerator.limbs_[bit / 64] >> (bit % 64)) & 1;
      if (!(remainder < divisor)) {
        remainder = remainder - divisor;
        quotient.limbs_[bit / 64] |= std::uint64_t{1} << (bit % 64);
      }
    }
  }

  // The value modulo `divisor` (>= 1) for a non-negative value.
  std::uint32_t modulo(std::uint32_t divisor) const {
    unsigned __int128 rest = 0;
    for (int i = kLimbs - 1; i >= 0; --i) rest = ((rest << 64) | limbs_[i]) % divisor;
    return static_cast<std::uint32_t>(rest);
  }

 private:
  static constexpr int kLimbs = 5;
  std::array<std::uint64_t, kLimbs> limbs_{};
};

Wide absolute(const Wide& w) {
  return w.negative() ? -w : w;
}

const Wide& smaller(const Wide& a, const Wide& b) {
  return b < a ? b : a;
}

const Wide& larger(const Wide& a, const Wide& b) {
  return a < b ? b : a;
}

// The minor coordinate's walk from the first visible step on: the remainder
// of Bresenham's division and the two amounts it compares against. Plain
// 64-bit numbers when they fit (any line whose ends lie within 2^60), wide
// ones otherwise.
template <typename Number>
struct MinorWalk {
  Number remainder, twoMinor, twoMajor;
  // One step along the major axis; true when the minor coordinate moves.
  bool step() {
    remainder = remainder + twoMinor;
    if (remainder < twoMajor) return false;
    remainder = remainder - twoMajor;
    return true;
  }
};

template <typename Walk>
void walkVisible(Walk walk, int count, int majorAt, int majorStep, std::int64_t minorAt,
                 int minorStep, int minorLimit, bool xMajor, std::uint32_t phase, int period,
                 const std::function<void(int, int, int)>& plot) {
  for (int k = 0; k < count; ++k) {
    if (minorAt >= 0 && minorAt < minorLimit) {
      const int minor = static_cast<int>(minorAt);
      if (xMajor)
        plot(majorAt, minor, static_cast<int>(phase));
      else
        plot(minor, majorAt, static_cast<int>(phase));
    }
    majorAt += majorStep;
    if (++phase == static_cast<std::uint32_t>(period)) phase = 0;
    if (walk.step()) minorAt += minorStep;
  }
}

// forEachVisibleLinePixel for ends within +-kNearReach, in 64-bit numbers:
// the same steps, but without the wide division, which a line that crosses
// the picture's edge would otherwise pay for at every redraw.
constexpr double kNearReach = static_cast<double>(std::int64_t{1} << 28);

void forEachNearLinePixel(LinePoint start, LinePoint end, int width, int height, int period,
                          const std::function<void(int x, int y, int phase)>& plot) {
  const auto sx = static_cast<std::int64_t>(start.x), sy = static_cast<std::int64_t>(start.y);
  const std::int64_t dx = static_cast<std::int64_t>(end.x) - sx;
  const std::int64_t dy = static_cast<std::int64_t>(end.y) - sy;
  const int xStep = dx > 0 ? 1 : -1;
  const int yStep = dy > 0 ? 1 : -1;
  const std::int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
  const bool xMajor = ay < ax;
  const std::int64_t major = xMajor ? ax : ay, minor = xMajor ? ay : ax;
  const std::int64_t majorStart = xMajor ? sx : sy, minorStart = xMajor ? sy : sx;
  const int majorStep = xMajor ? xStep : yStep;
  const int minorStep = xMajor ? yStep : xStep;
  const int majorLimit = xMajor ? width : height;
  const int minorLimit = xMajor ? height : width;

  const std::int64_t lastCell = majorLimit - 1;
  std::int64_t first = 0, last = major;
  if (majorStep > 0) {
    first = std::max(first, -majorStart);
    last = std::min(last, lastCell - majorStart);
  } else {
    first = std::max(first, majorStart - lastCell);
    last = std::min(last, majorStart);
  }
  if (last < first) return;
  const int count = static_cast<int>(last - first) + 1;
  const int majorAt = static_cast<int>(majorStep > 0 ? majorStart + first : majorStart - first);
  // Below 2^59: the ends lie within 2^28.
  const std::int64_t twoMajor = 2 * major, twoMinor = 2 * minor;
  std::int64_t offset = 0, remainder = major;
  if (major > 0) {
    const std::int64_t numerator = twoMinor * first + major;
    offset = numerator / twoMajor;
    remainder = numerator % twoMajor;
  }
  const std::int64_t minorAt = minorStep > 0 ? minorStart + offset : minorStart - offset;
  const std::int64_t reach = std::int64_t{count} + minorLimit;
  if (minorAt < -reach || reach < minorAt) return;
  const auto phase = static_cast<std::uint32_t>(first % period);
  walkVisible(MinorWalk<std::int64_t>{remainder, twoMinor, twoMajor}, count, majorAt, majorStep,
              minorAt, minorStep, minorLimit, xMajor, phase, period, plot);
}

}  // namespace

void forEachVisibleLinePixel(LinePoint start, LinePoint end, int width, int height, int period,
                             const std::function<void(int x, int y, int phase)>& plot) {
  if (width < 1 || height < 1 || period < 1) return;
  if (std::fabs(start.x) <= kNearReach && std::fabs(start.y) <= kNearReach &&
      std::fabs(end.x) <= kNearReach && std::fabs(end.y) <= kNearReach) {
    forEachNearLinePixel(start, end, width, height, period, plot);
    return;
  }
  const Wide sx = Wide::ofWhole(start.x), sy = Wide::ofWhole(start.y);
  const Wide dx = Wide::ofWhole(end.x) - sx, dy = Wide::ofWhole(end.y) - sy;
  const Wide zero = Wide::of(0);
  const int xStep = zero < dx ? 1 : -1;
  const int yStep = zero < dy ? 1 : -1;
  const Wide ax = absolute(dx), ay = absolute(dy);
  const bool xMajor = ay < ax;
  const Wide& major = xMajor ? ax : ay;
  const Wide& minor = xMajor ? ay : ax;
  const Wide& majorStart = xMajor ? sx : sy;
  const Wide& minorStart = xMajor ? sy : sx;
  const int majorStep = xMajor ? xStep : yStep;
  const int minorStep = xMajor ? yStep : xStep;
  const int majorLimit = xMajor ? width : height;
  const int minorLimit = xMajor ? height : width;

  // The steps whose major coordinate lies inside the picture.
  const Wide lastCell = Wide::of(majorLimit - 1);
  Wide first = zero, last = major;
  if (majorStep > 0) {
    first = larger(first, -majorStart);
    last = smaller(last, lastCell - majorStart);
  } else {
    first = larger(first, majorStart - lastCell);
    last = smaller(last, majorStart);
  }
  if (last < first) return;
  const int count = static_cast<int>((last - first).low()) + 1;  // at most majorLimit
  const int majorAt =
      static_cast<int>((majorStep > 0 ? majorStart + first : majorStart - first).low());

  // The minor offset of step `first`, floor((2 * minor * first + major) /
  // (2 * major)), and the division's remainder to go on from.
  const Wide twoMajor = major + major, twoMinor = minor + minor;
  Wide offset = zero, remainder = major;
  if (zero < major)
    Wide::divide(Wide::product(twoMinor, first) + major, twoMajor, offset, remainder);
  const Wide minorWide = minorStep > 0 ? minorStart + offset : minorStart - offset;
  // The minor coordinate moves by at most one per step: one that starts
  // further out than the visible steps can make up never comes in.
  const Wide reach = Wide::of(std::int64_t{count} + minorLimit);
  if (minorWide < -reach || reach < minorWide) return;
  const std::int64_t minorAt = minorWide.low();
  const std::uint32_t phase = first.modulo(static_cast<std::uint32_t>(period));

  if (twoMajor.small()) {
    MinorWalk<std::int64_t> walk{remainder.low(), twoMinor.low(), twoMajor.low()};
    walkVisible(walk, count, majorAt, majorStep, minorAt, minorStep, minorLimit, xMajor, phase,
                period, plot);
  } else {
    MinorWalk<Wide> walk{remainder, twoMinor, twoMajor};
    walkVisible(walk, count, majorAt, majorStep, minorAt, minorStep, minorLimit, xMajor, phase,
                period, plot);
  }
}

}  // namespace corvina
