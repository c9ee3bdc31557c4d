#pragma once
// The fixed total order of positions that Weld and Fix Seams sort by: the 12
// bytes of (x, y, z), each float least significant byte first, compared as
// unsigned bytes from the first on. It has no geometric meaning; it only
// brings positions that are equal bit for bit next to each other.

#include <cstdint>
#include <vector>

#include "model/model_store.h"

namespace corvina {

// A position turned into two unsigned numbers whose ordinary comparison is the
// byte order above: `high` holds bytes 0-7, `low` bytes 8-11, first byte most
// significant.
struct PositionKey {
  std::uint64_t high = 0;
  std::uint32_t low = 0;
  friend bool operator==(const PositionKey&, const PositionKey&) = default;
};

PositionKey positionKey(const Vertex& position);

bool ordersBefore(const PositionKey& a, const PositionKey& b);

// One element to sort: a key and the item it belongs to (a vertex or corner
// number). Items are given in increasing item order.
struct KeyedItem {
  PositionKey key;
  std::int32_t item = 0;
};

// Sorts by key; items with equal keys keep their original order (the order a
// one-by-one insertion after every equal entry would give), in O(n log n).
void sortByPosition(std::vector<KeyedItem>& items);

}  // namespace corvina
