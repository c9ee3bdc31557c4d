#pragma once
// The facet stream cut into ranges for the parallel loops. Every range after
// the first starts at a separator, so a loop that carries a facet's state from
// its separator to its corners runs each range on its own and gets what one
// walk from the start gets.

#include <cstddef>
#include <vector>

#include "model/model_store.h"
#include "model/parallel_parts.h"

namespace corvina {

// Records per range below which a thread does not pay off.
constexpr std::size_t kStreamRangeRecords = std::size_t{1} << 15;

// The position of the first record below 0 (the end-of-list record) among
// records [0, length), or `length` when there is none; searched on every core.
std::size_t streamListEnd(const CornerRecord* records, std::size_t length);

// [0, end) cut into at most `parts` ranges of about equal size and at least
// `minimum` records; every range after the first starts at a separator. One
// range (an empty one for an empty stream) when no separator allows a cut.
std::vector<PartRange> facetRanges(const CornerRecord* records, std::size_t end, std::size_t parts,
                                   std::size_t minimum);

// facetRanges of [0, end) for parallelThreads() threads, ranges of at least
// parallelMinimum(kStreamRangeRecords) records.
std::vector<PartRange> facetRangesForThreads(const CornerRecord* records, std::size_t end);

}  // namespace corvina
