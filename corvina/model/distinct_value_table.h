#pragma once
// Numbers 64-bit values in the order they are first seen: an open-addressing
// hash table that grows by doubling. Compression uses it to give every
// distinct (u, v) bit pattern one texture vertex in one pass over the stream,
// which keeps the order a stable sort would give (each value's earliest
// corner) at a fraction of a sort's cost.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvina {

class DistinctValueTable {
 public:
  // Reserves room for about `expected` distinct values. May throw
  // std::bad_alloc.
  explicit DistinctValueTable(std::size_t expected = 0);

  // The 0-based number of `value`: its existing number, or the next free one
  // when it is new. May throw std::bad_alloc while growing; the table is then
  // unchanged.
  std::uint32_t number(std::uint64_t value);

  std::size_t size() const { return count_; }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  std::size_t slotOf(std::uint64_t value) const;
  void grow();

  std::vector<std::uint64_t> values_;
  std::vector<std::uint32_t> numbers_;  // kEmpty marks a free slot
  std::size_t count_ = 0;
  unsigned shift_ = 0;  // 64 - log2(slot count)
};

}  // namespace corvina
