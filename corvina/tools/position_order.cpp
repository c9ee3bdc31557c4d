#include "tools/position_order.h"

#include <algorithm>
#include <cstring>

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
  // the stable order and lets the faster unstable sort be used.
  std::sort(items.begin(), items.end(), [](const KeyedItem& a, const KeyedItem& b) {
    if (a.key.high != b.key.high) return a.key.high < b.key.high;
    if (a.key.low != b.key.low) return a.key.low < b.key.low;
    return a.item < b.item;
  });
}

}  // namespace corvina
