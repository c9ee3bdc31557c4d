#include "model/distinct_uv_numbering.h"

#include <algorithm>
#include <bit>

#include "model/distinct_value_table.h"
#include "model/model_walk.h"
#include "model/parallel_parts.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

TexVertex uvOf(const ModelStore& store, const CornerRecord& record) {
  const TexVertex* source = texVertexOf(store, record);
  return source ? TexVertex{source->u, source->v, 0} : TexVertex{kNoUvU, kNoUvV, 0};
}

std::uint64_t keyOf(const TexVertex& value) {
  return std::uint64_t{std::bit_cast<std::uint32_t>(value.u)} << 32 |
         std::bit_cast<std::uint32_t>(value.v);
}

// The thread that numbers a key: a mix of all its bits (the table's own slots
// come from other bits), so that neighbouring values spread evenly.
std::size_t shardOf(std::uint64_t key, std::size_t shards) {
  key ^= key >> 30;
  key *= 0xbf58476d1ce4e5b9ull;
  key ^= key >> 27;
  key *= 0x94d049bb133111ebull;
  key ^= key >> 31;
  return static_cast<std::size_t>(key % shards);
}

void numberOnOneThread(const ModelStore& store, std::size_t corners,
                       std::vector<std::int32_t>& numbers, std::vector<TexVertex>& compact) {
  DistinctValueTable table(store.texVertices.size() / 4);
  for (std::size_t j = 0; j < corners; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex < 1) continue;  // separators own no texture vertex here
    const TexVertex value = uvOf(store, record);
    const std::uint32_t number = table.number(keyOf(value));
    if (number == compact.size()) compact.push_back(value);
    numbers[j] = static_cast<std::int32_t>(number) + 1;
  }
}

// One thread's distinct values, in the order of their earliest corners.
struct Shard {
  std::vector<std::size_t> earliest;
  std::vector<TexVertex> values;
  std::vector<std::int32_t> numberOf;  // the merged number of each, 0-based
};

}  // namespace

void numberDistinctUvs(const ModelStore& store, std::size_t corners,
                       std::vector<std::int32_t>& numbers, std::vector<TexVertex>& compact) {
  numbers.assign(corners, 0);
  compact.clear();
  const std::size_t shards = std::min<std::size_t>(parallelThreads(), 64);
  if (shards <= 1 || corners < parallelMinimum(kStreamRangeRecords)) {
    numberOnOneThread(store, corners, numbers, compact);
    return;
  }
  // Every thread walks the whole stream and numbers the values of its shard;
  // each corner's local number is written by the one thread that owns it.
  std::vector<Shard> own(shards);
  runParts(shards, [&](std::size_t s) {
    Shard& shard = own[s];
    DistinctValueTable table(store.texVertices.size() / 4 / shards);
    for (std::size_t j = 0; j < corners; ++j) {
      const CornerRecord& record = store.facetStream[j];
      if (record.vertex < 1) continue;
      const TexVertex value = uvOf(store, record);
      const std::uint64_t key = keyOf(value);
      if (shardOf(key, shards) != s) continue;
      const std::uint32_t number = table.number(key);
      if (number == shard.values.size()) {
        shard.values.push_back(value);
        shard.earliest.push_back(j);
      }
      numbers[j] = static_cast<std::int32_t>(number);
    }
  });
  // The merged numbering: values by earliest corner.
  std::size_t total = 0;
  for (Shard& shard : own) {
    shard.numberOf.resize(shard.values.size());
    total += shard.values.size();
  }
  compact.reserve(total);
  std::vector<std::size_t> next(shards, 0);
  for (std::size_t n = 0; n < total; ++n) {
    std::size_t pick = shards;
    for (std::size_t s = 0; s < shards; ++s) {
      if (next[s] < own[s].earliest.size() &&
          (pick == shards || own[s].earliest[next[s]] < own[pick].earliest[next[pick]]))
        pick = s;
    }
    own[pick].numberOf[next[pick]] = static_cast<std::int32_t>(n);
    compact.push_back(own[pick].values[next[pick]]);
    ++next[pick];
  }
  forEachRange(corners, kStreamRangeRecords, [&](std::size_t begin, std::size_t end) {
    for (std::size_t j = begin; j < end; ++j) {
      const CornerRecord& record = store.facetStream[j];
      if (record.vertex < 1) continue;
      const Shard& shard = own[shardOf(keyOf(uvOf(store, record)), shards)];
      numbers[j] = shard.numberOf[static_cast<std::size_t>(numbers[j])] + 1;
    }
  });
}

}  // namespace corvina
