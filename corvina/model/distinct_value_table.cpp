#include "model/distinct_value_table.h"

#include <algorithm>
#include <bit>

namespace corvina {

namespace {
constexpr std::size_t kMinimumSlots = 1024;
}

DistinctValueTable::DistinctValueTable(std::size_t expected) {
  // At most half full, so probes stay short.
  const std::size_t slots = std::bit_ceil(std::max(kMinimumSlots, expected * 2));
  values_.resize(slots);
  numbers_.assign(slots, kEmpty);
  shift_ = 64u - static_cast<unsigned>(std::countr_zero(slots));
}

std::size_t DistinctValueTable::slotOf(std::uint64_t value) const {
  // Fibonacci hashing spreads the bit patterns of nearby floats.
  return static_cast<std::size_t>((value * 0x9E3779B97F4A7C15ull) >> shift_);
}

std::uint32_t DistinctValueTable::number(std::uint64_t value) {
  if ((count_ + 1) * 2 > numbers_.size()) grow();
  const std::size_t mask = numbers_.size() - 1;
  for (std::size_t slot = slotOf(value);; slot = (slot + 1) & mask) {
    if (numbers_[slot] == kEmpty) {
      values_[slot] = value;
      numbers_[slot] = static_cast<std::uint32_t>(count_);
      return static_cast<std::uint32_t>(count_++);
    }
    if (values_[slot] == value) return numbers_[slot];
  }
}

void DistinctValueTable::grow() {
  const std::size_t slots = numbers_.size() * 2;
  std::vector<std::uint64_t> values(slots);
  std::vector<std::uint32_t> numbers(slots, kEmpty);
  const unsigned shift = shift_ - 1;
  const std::size_t mask = slots - 1;
  for (std::size_t old = 0; old < numbers_.size(); ++old) {
    if (numbers_[old] == kEmpty) continue;
    std::size_t slot = static_cast<std::size_t>((values_[old] * 0x9E3779B97F4A7C15ull) >> shift);
    while (numbers[slot] != kEmpty) slot = (slot + 1) & mask;
    values[slot] = values_[old];
    numbers[slot] = numbers_[old];
  }
  values_.swap(values);
  numbers_.swap(numbers);
  shift_ = shift;
}

}  // namespace corvina
