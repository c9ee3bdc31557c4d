#pragma once
// The numbering texture-vertex compression gives the corners: every distinct
// (u, v) bit pattern is numbered at its earliest corner in stream order.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/model_store.h"

namespace corvina {

// For the records [0, corners) of the stream: numbers[j] is the 1-based
// number of corner j's (u, v) (0 for separators), compact[n - 1] the value of
// number n. A corner whose texture vertex is missing counts as the no-UV
// marker. On several threads the values are shared out by a hash, each thread
// numbers its own in stream order, and the numbers are merged by earliest
// corner, so the numbering is that of one walk. Throws std::bad_alloc.
void numberDistinctUvs(const ModelStore& store, std::size_t corners,
                       std::vector<std::int32_t>& numbers, std::vector<TexVertex>& compact);

}  // namespace corvina
