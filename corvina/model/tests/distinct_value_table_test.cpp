#include "model/distinct_value_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

namespace corvina {
namespace {

// Values are numbered in the order first seen, across many growths, whatever
// the bit patterns (zeros, neighbours, values differing only in high bits).
TEST(DistinctValueTable, NumbersValuesInFirstSeenOrderAcrossGrowth) {
  std::mt19937_64 random(7);
  std::vector<std::uint64_t> values;
  for (std::uint64_t i = 0; i < 2000; ++i) values.push_back(i);        // neighbours
  for (std::uint64_t i = 1; i < 64; ++i) values.push_back(i << 58);    // high bits only
  for (int i = 0; i < 50000; ++i) values.push_back(random() % 30000);  // many repeats
  for (std::size_t expected : {std::size_t{0}, std::size_t{100000}}) {
    DistinctValueTable table(expected);
    std::unordered_map<std::uint64_t, std::uint32_t> reference;
    for (std::uint64_t value : values) {
      const auto next = static_cast<std::uint32_t>(reference.size());
      const auto [entry, inserted] = reference.try_emplace(value, next);
      ASSERT_EQ(table.number(value), entry->second) << "value " << value << " fresh " << inserted;
    }
    EXPECT_EQ(table.size(), reference.size());
  }
}

}  // namespace
}  // namespace corvina
