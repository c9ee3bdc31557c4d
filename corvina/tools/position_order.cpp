#include "tools/position_order.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "model/parallel_parts.h"

namespace corvina {

PositionKey positionKey(const Vertex& position) {
  unsigned char bytes[12];
  std::memcpy(bytes, &position.x, 4);
  std::memcpy(bytes + 4, &position.y, 4);
  std::memcpy(bytes + 8, &position.z, 4);
  PositionKey key;
  for (int i = 0; i < 8; ++i) key.high = (key.high << 8) | bytes[i];
  for (int i = 8; i < 12; ++i) key.low = (key.low << 8) | bytes[i];
  return key;
}

bool ordersBefore(const PositionKey& a, const PositionKey& b) {
  if (a.high != b.high) return a.high < b.high;
  return a.low < b.low;
}

void sortByPosition(std::vector<KeyedItem>& items) {
  // Items arrive in their original order, so breaking ties by item number is
  // the stable order and lets the faster unstable sort be used. It is a total
  // order, so sorting parts on every core and merging them gives the same
  // sequence.
  auto before = [](const KeyedItem& a, const KeyedItem& b) {
    if (a.key.high != b.key.high) return a.key.high < b.key.high;
    if (a.key.low != b.key.low) return a.key.low < b.key.low;
    return a.item < b.item;
  };
  std::vector<PartRange> parts =
      splitRange(items.size(), parallelMinimum(std::size_t{1} << 16), parallelThreads());
  std::vector<KeyedItem> merged;
  if (parts.size() > 1) {
    try {
      merged.resize(items.size());
    } catch (const std::bad_alloc&) {
      parts.resize(1);  // no room to merge into: one sort on this thread
      parts[0] = PartRange{0, items.size()};
    }
  }
  const auto at = [&](std::size_t index) {
    return items.begin() + static_cast<std::ptrdiff_t>(index);
  };
  runRanges(parts,
            [&](std::size_t begin, std::size_t end) { std::sort(at(begin), at(end), before); });
  // Neighbouring parts merged pairwise, on every core, until one is left.
  while (parts.size() > 1) {
    std::vector<PartRange> joined;
    for (std::size_t k = 0; k < parts.size(); k += 2) {
      joined.push_back({parts[k].begin, parts[std::min(k + 1, parts.size() - 1)].end});
    }
    forEachIndex(joined.size(), [&](std::size_t k) {
      const PartRange first = parts[2 * k];
      const std::size_t middle = first.end;
      const auto out = merged.begin() + static_cast<std::ptrdiff_t>(first.begin);
      std::merge(at(first.begin), at(middle), at(middle), at(joined[k].end), out, before);
    });
    items.swap(merged);
    parts = std::move(joined);
  }
}

}  // namespace corvina
