#pragma once
// Small helpers shared by the mesh tools: how much of the facet stream the
// arrays really back, and safe 1-based lookups that never read past an array.

#include <cstddef>
#include <functional>

#include "model/model_store.h"
#include "model/model_walk.h"  // streamLength

namespace corvina {

// Called once per progress step of a long tool; may be empty.
using ProgressStep = std::function<void()>;

// The number of vertices (or normals) a count and its array can both back.
template <typename T>
std::size_t backedCount(int count, const std::vector<T>& array) {
  if (count <= 0) return 0;
  const auto wanted = static_cast<std::size_t>(count);
  return wanted < array.size() ? wanted : array.size();
}

// True when a 1-based index names an element of the first `count` entries.
inline bool namesEntry(std::int32_t index, std::size_t count) {
  return index >= 1 && static_cast<std::size_t>(index) <= count;
}

}  // namespace corvina
