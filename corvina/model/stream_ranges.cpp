#include "model/stream_ranges.h"

#include <algorithm>

namespace corvina {

std::size_t streamListEnd(const CornerRecord* records, std::size_t length) {
  const std::vector<std::size_t> ends =
      mapRanges<std::size_t>(length, kStreamRangeRecords, [&](std::size_t begin, std::size_t end) {
        for (std::size_t at = begin; at < end; ++at) {
          if (records[at].vertex < 0) return at;
        }
        return length;
      });
  return *std::min_element(ends.begin(), ends.end());
}

std::vector<PartRange> facetRanges(const CornerRecord* records, std::size_t end, std::size_t parts,
                                   std::size_t minimum) {
  const std::vector<PartRange> even = splitRange(end, minimum, parts);
  std::vector<PartRange> ranges;
  std::size_t start = 0;
  for (std::size_t k = 1; k < even.size(); ++k) {
    std::size_t border = std::max(even[k].begin, start + 1);
    while (border < end && records[border].vertex != kSeparator) ++border;
    if (border >= end) break;
    ranges.push_back({start, border});
    start = border;
  }
  ranges.push_back({start, end});
  return ranges;
}

std::vector<PartRange> facetRangesForThreads(const CornerRecord* records, std::size_t end) {
  return facetRanges(records, end, parallelThreads(), parallelMinimum(kStreamRangeRecords));
}

}  // namespace corvina
