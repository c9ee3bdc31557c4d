// The parallel loop helper and the facet stream's ranges: how ranges are cut, that every index runs
// once whatever the thread count, that failures come back, and that the thread setting is put back.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "model/parallel_parts.h"
#include "model/stream_ranges.h"

namespace corvina {
namespace {

TEST(ParallelParts, SplitRangeCutsNearlyEqualRangesOfAtLeastTheMinimum) {
  struct Case {
    std::size_t count, minimum, parts;
    std::vector<std::size_t> borders;  // begin of each range, then the end
  };
  const Case cases[] = {
      {0, 1, 4, {0, 0}},                    // an empty count still has one range
      {10, 1, 1, {0, 10}},                  // one part
      {10, 1, 3, {0, 4, 7, 10}},            // the remainder goes to the first parts
      {10, 4, 8, {0, 5, 10}},               // no part under the minimum
      {3, 5, 2, {0, 3}},                    // a count below the minimum
      {7, 0, 7, {0, 1, 2, 3, 4, 5, 6, 7}},  // minimum 0 counts as 1
  };
  for (const Case& c : cases) {
    const std::vector<PartRange> ranges = splitRange(c.count, c.minimum, c.parts);
    std::vector<std::size_t> borders;
    for (const PartRange& range : ranges) borders.push_back(range.begin);
    borders.push_back(ranges.back().end);
    EXPECT_EQ(borders, c.borders) << c.count << " / " << c.minimum << " / " << c.parts;
    for (std::size_t k = 1; k < ranges.size(); ++k) EXPECT_EQ(ranges[k].begin, ranges[k - 1].end);
  }
}

TEST(ParallelParts, EveryIndexRunsOnceAtEveryThreadCount) {
  for (std::size_t threads : {1, 2, 3, 8}) {
    ScopedParallelThreads chosen(threads);
    std::vector<std::atomic<int>> runs(1000);
    forEachIndex(runs.size(), [&](std::size_t k) { runs[k].fetch_add(1); });
    std::size_t parts = 0;
    forEachRange(1000, 10, [&](std::size_t begin, std::size_t end) {
      for (std::size_t k = begin; k < end; ++k) runs[k].fetch_add(1);
    });
    const std::vector<std::size_t> sizes = mapRanges<std::size_t>(
        1000, 1, [](std::size_t begin, std::size_t end) { return end - begin; });
    parts = sizes.size();
    for (std::size_t k = 0; k < runs.size(); ++k) ASSERT_EQ(runs[k].load(), 2) << k;
    EXPECT_EQ(parts, threads);
    std::size_t total = 0;
    for (std::size_t size : sizes) total += size;
    EXPECT_EQ(total, 1000u);
  }
}

TEST(ParallelParts, AFailureComesBackAfterEveryPartEnded) {
  std::atomic<int> ended{0};
  EXPECT_THROW(runParts(4,
                        [&](std::size_t k) {
                          ended.fetch_add(1);
                          if (k == 2) throw std::runtime_error("part 2");
                        }),
               std::runtime_error);
  EXPECT_EQ(ended.load(), 4);
}

TEST(ParallelParts, TheThreadSettingIsPutBack) {
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  EXPECT_EQ(parallelThreads(), cores);
  {
    ScopedParallelThreads three(3);
    EXPECT_EQ(parallelThreads(), 3u);
    {
      ScopedParallelThreads one(1);
      EXPECT_EQ(parallelThreads(), 1u);
    }
    EXPECT_EQ(parallelThreads(), 3u);
  }
  EXPECT_EQ(parallelThreads(), cores);
  setParallelThreads(5);
  EXPECT_EQ(parallelThreads(), 5u);
  setParallelThreads(0);
  EXPECT_EQ(parallelThreads(), cores);
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

// A stream of the given vertex fields (0 separator, -1 end of list).
std::vector<CornerRecord> streamOf(const std::vector<int>& vertices) {
  std::vector<CornerRecord> stream;
  for (int v : vertices) stream.push_back(CornerRecord{v});
  return stream;
}

TEST(StreamRanges, RangesAfterTheFirstStartAtSeparatorsAndCoverTheList) {
  struct Case {
    std::vector<int> stream;
    std::size_t parts, minimum;
    std::vector<std::size_t> borders;  // begin of each range, then the end
  };
  const Case cases[] = {
      {{0, 1, 2, 3, 0, 4, 5, 6, -1}, 2, 1, {0, 4, 8}},  // cut at the second separator
      {{1, 2, 0, 3, 4, 5, 6, 7, -1}, 4, 1, {0, 2, 8}},  // corners before the first one
      {{0, 1, 2, 3, 4, 5, 6, 7, -1}, 4, 1, {0, 8}},     // one long facet: no cut
      {{0, 1, 0, 2, 0, 3, 0, 4, -1}, 4, 1, {0, 2, 4, 6, 8}},
      {{0, 1, 0, 2, 0, 3, 0, 4, -1}, 8, 3, {0, 4, 8}},  // ranges of at least 3 records
      {{-1}, 4, 1, {0, 0}},                             // an empty list
  };
  for (const Case& c : cases) {
    const std::vector<CornerRecord> stream = streamOf(c.stream);
    const std::size_t end = streamListEnd(stream.data(), stream.size());
    EXPECT_EQ(end, c.stream.size() - 1);
    const std::vector<PartRange> ranges = facetRanges(stream.data(), end, c.parts, c.minimum);
    std::vector<std::size_t> borders;
    for (const PartRange& range : ranges) borders.push_back(range.begin);
    borders.push_back(ranges.back().end);
    EXPECT_EQ(borders, c.borders);
  }
}

TEST(StreamRanges, TheListEndIsTheFirstRecordBelowZeroAtEveryThreadCount) {
  std::vector<CornerRecord> stream = streamOf(std::vector<int>(5000, 1));
  stream[3100].vertex = kEndOfList;
  stream[4000].vertex = kEndOfList;
  for (std::size_t threads : {1, 2, 3, 8}) {
    ScopedParallelThreads chosen(threads, 7);
    EXPECT_EQ(streamListEnd(stream.data(), stream.size()), 3100u);
    EXPECT_EQ(streamListEnd(stream.data(), 3000), 3000u);  // none among the first 3000
  }
}

}  // namespace
}  // namespace corvina
