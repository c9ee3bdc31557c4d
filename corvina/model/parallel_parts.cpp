#include "model/parallel_parts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace corvina {

namespace {

// 0 stands for every core.
std::atomic<std::size_t> chosenThreads{0};
// 0 stands for the callers' own sizes.
std::atomic<std::size_t> chosenMinimum{0};

}  // namespace

std::size_t parallelThreads() {
  const std::size_t chosen = chosenThreads.load(std::memory_order_relaxed);
  if (chosen > 0) return chosen;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? cores : 1;
}

void setParallelThreads(std::size_t threads) {
  chosenThreads.store(threads, std::memory_order_relaxed);
}

std::size_t parallelMinimum(std::size_t wanted) {
  const std::size_t chosen = chosenMinimum.load(std::memory_order_relaxed);
  return chosen > 0 ? chosen : wanted;
}

ScopedParallelThreads::ScopedParallelThreads(std::size_t threads, std::size_t minimumPart)
    : previousThreads_(chosenThreads.load(std::memory_order_relaxed)),
      previousMinimum_(chosenMinimum.load(std::memory_order_relaxed)) {
  setParallelThreads(threads);
  chosenMinimum.store(minimumPart, std::memory_order_relaxed);
}

ScopedParallelThreads::~ScopedParallelThreads() {
  setParallelThreads(previousThreads_);
  chosenMinimum.store(previousMinimum_, std::memory_order_relaxed);
}

void runParts(std::size_t count, const std::function<void(std::size_t)>& work,
              const std::function<void()>& whileWaiting) {
  if (count == 1) {
    work(0);
    return;
  }
  std::vector<std::exception_ptr> failures(count);
  auto guarded = [&](std::size_t k) {
    try {
      work(k);
    } catch (...) {
      failures[k] = std::current_exception();
    }
  };
  // The calling thread waits on `finished` rather than sleeping, so it goes
  // on the moment the last piece ends: a small job's parts would otherwise
  // each wait out a whole period.
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t running = 0;
  std::vector<std::thread> threads;
  std::vector<std::size_t> leftOver;
  try {
    threads.reserve(count);
  } catch (const std::bad_alloc&) {
    // Threads are still started below as far as memory allows.
  }
  for (std::size_t k = 1; k < count; ++k) {
    try {
      {
        const std::lock_guard lock(mutex);
        ++running;
      }
      threads.emplace_back([&guarded, &mutex, &finished, &running, k] {
        guarded(k);
        const std::lock_guard lock(mutex);
        if (--running == 0) finished.notify_one();
      });
    } catch (const std::system_error&) {
      const std::lock_guard lock(mutex);
      --running;
      leftOver.push_back(k);
    } catch (const std::bad_alloc&) {
      const std::lock_guard lock(mutex);
      --running;
      leftOver.push_back(k);
    }
  }
  if (count > 0) guarded(0);
  for (std::size_t k : leftOver) guarded(k);
  if (whileWaiting) {
    for (;;) {
      {
        std::unique_lock lock(mutex);
        if (finished.wait_for(lock, std::chrono::milliseconds(2),
                              [&running] { return running == 0; }))
          break;
      }
      whileWaiting();
    }
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

std::vector<PartRange> splitRange(std::size_t count, std::size_t minimum, std::size_t parts) {
  if (minimum == 0) minimum = 1;
  parts = std::min(parts, count / minimum);
  if (parts == 0) parts = 1;
  std::vector<PartRange> ranges(parts);
  for (std::size_t k = 0; k < parts; ++k) {
    // count / parts * k would leave the remainder to the last part; this
    // spreads it.
    ranges[k].begin = count / parts * k + std::min(k, count % parts);
    ranges[k].end = count / parts * (k + 1) + std::min(k + 1, count % parts);
  }
  return ranges;
}

void runRanges(const std::vector<PartRange>& ranges,
               const std::function<void(std::size_t, std::size_t)>& body) {
  runParts(ranges.size(), [&](std::size_t part) { body(ranges[part].begin, ranges[part].end); });
}

std::vector<PartRange> forEachRange(std::size_t count, std::size_t minimum,
                                    const std::function<void(std::size_t, std::size_t)>& body) {
  std::vector<PartRange> ranges = splitRange(count, parallelMinimum(minimum), parallelThreads());
  runRanges(ranges, body);
  return ranges;
}

void forEachIndex(std::size_t count, const std::function<void(std::size_t)>& work) {
  forEachRange(count, 1, [&](std::size_t begin, std::size_t end) {
    for (std::size_t k = begin; k < end; ++k) work(k);
  });
}

}  // namespace corvina
