#pragma once
// Running the independent parts of a long loop on every core. The loops that
// use it split only work whose parts write disjoint outputs and combine the
// parts' results in part order, so a result never depends on the number of
// threads: one thread is the same code with one part.

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

namespace corvina {

// The threads the parallel loops use: every core (the hardware's concurrency)
// unless set otherwise.
std::size_t parallelThreads();

// Sets the threads the parallel loops use; 0 goes back to every core.
void setParallelThreads(std::size_t threads);

// The smallest part a loop cuts its work into: `wanted`, the caller's size at
// which a thread pays off, unless a smaller one is set (tests set 1, so that
// small models are cut too).
std::size_t parallelMinimum(std::size_t wanted);

// Sets the threads and the smallest part (0: the callers' own) for its
// lifetime and puts back the settings it found.
class ScopedParallelThreads {
 public:
  explicit ScopedParallelThreads(std::size_t threads, std::size_t minimumPart = 0);
  ScopedParallelThreads(const ScopedParallelThreads&) = delete;
  ScopedParallelThreads& operator=(const ScopedParallelThreads&) = delete;
  ~ScopedParallelThreads();

 private:
  std::size_t previousThreads_;
  std::size_t previousMinimum_;
};

// Runs work(0) .. work(count - 1), work(0) on the calling thread and each
// other on a thread of its own (on the calling thread too when no thread can
// be started). While it waits for the others the calling thread calls
// `whileWaiting`, when given, every few milliseconds. An exception thrown by a
// piece of work is thrown again here once every piece has ended.
void runParts(std::size_t count, const std::function<void(std::size_t)>& work,
              const std::function<void()>& whileWaiting = {});

// A progress bar fed by work shared among threads and stepped on the calling
// thread only: parts add the items they have done (from any thread); the
// calling thread's pump() steps the bar once per `unit` items done so far.
// Over the whole work it steps floor(items / unit) times, as a loop that
// steps after every unit-th item would.
class SharedProgress {
 public:
  SharedProgress(const std::function<void()>& step, std::size_t unit)
      : step_(step), unit_(unit == 0 ? 1 : unit) {}
  void add(std::size_t items) { done_.fetch_add(items, std::memory_order_relaxed); }
  void pump() {
    if (!step_) return;
    const std::size_t due = done_.load(std::memory_order_relaxed) / unit_;
    for (; stepped_ < due; ++stepped_) step_();
  }

 private:
  const std::function<void()>& step_;
  std::size_t unit_;
  std::atomic<std::size_t> done_{0};
  std::size_t stepped_ = 0;
};

// [begin, end) of one part of a range.
struct PartRange {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// Cuts [0, count) into at most `parts` ranges of nearly equal size, each of at
// least `minimum` items where the count allows; always at least one range (an
// empty one for an empty count).
std::vector<PartRange> splitRange(std::size_t count, std::size_t minimum, std::size_t parts);

// Runs body(begin, end) for every range, each on a thread of its own.
void runRanges(const std::vector<PartRange>& ranges,
               const std::function<void(std::size_t, std::size_t)>& body);

// runRanges over splitRange(count, parallelMinimum(minimum),
// parallelThreads()). Returns the ranges.
std::vector<PartRange> forEachRange(std::size_t count, std::size_t minimum,
                                    const std::function<void(std::size_t, std::size_t)>& body);

// Runs work(k) for every k of [0, count), the indices shared out in ranges
// among parallelThreads() threads: for many pieces of uneven work.
void forEachIndex(std::size_t count, const std::function<void(std::size_t)>& work);

// body(begin, end) for every range, each on a thread of its own; the results
// come back in range order, to be combined in that order.
template <typename Result, typename Body>
std::vector<Result> mapEachRange(const std::vector<PartRange>& ranges, const Body& body) {
  std::vector<Result> results(ranges.size());
  runParts(ranges.size(),
           [&](std::size_t part) { results[part] = body(ranges[part].begin, ranges[part].end); });
  return results;
}

// mapEachRange over splitRange(count, parallelMinimum(minimum),
// parallelThreads()).
template <typename Result, typename Body>
std::vector<Result> mapRanges(std::size_t count, std::size_t minimum, const Body& body) {
  return mapEachRange<Result>(splitRange(count, parallelMinimum(minimum), parallelThreads()), body);
}

}  // namespace corvina
