#include "files/fuzz/kept_workers.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace corvina {

namespace {

// Runs a pass's chunks as runParts does (chunk 0 on the calling thread, the
// progress pumped while waiting, a piece's exception thrown again once all
// have ended), chunk k on worker k - 1 of threads that are started once and
// then wait for the next pass. Both sides poll for a while, giving way to
// other threads, before they sleep: a load's three passes follow each other
// within microseconds, and waking a sleeping thread costs more than a small
// input's pass.
class KeptWorkers {
 public:
  void run(std::size_t count, const std::function<void(std::size_t)>& work,
           const std::function<void()>& whileWaiting) {
    // A single chunk is run where it is, as runParts runs it.
    if (count == 1) {
      work(0);
      return;
    }
    // Kept from pass to pass, so a pass allocates nothing.
    std::vector<std::exception_ptr>& failures = failures_;
    failures.assign(count, nullptr);
    {
      const std::lock_guard lock(mutex_);
      while (started_ + 1 < count) std::thread(&KeptWorkers::serve, this, ++started_).detach();
      work_ = &work;
      count_ = count;
      pending_.store(count > 0 ? count - 1 : 0);
      generation_.fetch_add(1);
    }
    if (count > 1) wake_.notify_all();
    if (count > 0) {
      try {
        work(0);
      } catch (...) {
        failures[0] = std::current_exception();
      }
    }
    const auto finished = [this] { return pending_.load() == 0; };
    if (!poll(finished)) {
      std::unique_lock lock(mutex_);
      while (!done_.wait_for(lock, std::chrono::milliseconds(2), finished)) {
        lock.unlock();
        if (whileWaiting) whileWaiting();
        lock.lock();
      }
    }
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }
  }

 private:
  static constexpr int kPolls = 200;

  template <typename Done>
  static bool poll(Done done) {
    for (int i = 0; i < kPolls; ++i) {
      if (done()) return true;
      std::this_thread::yield();
    }
    return done();
  }

  // The worker for chunk `index` (1 and up) of every pass that has one.
  void serve(std::size_t index) {
    std::uint64_t seen = 0;
    for (;;) {
      const auto published = [&] { return generation_.load() != seen; };
      if (!poll(published)) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, published);
      }
      std::unique_lock lock(mutex_);
      seen = generation_.load();
      if (index >= count_) continue;
      const std::function<void(std::size_t)>& work = *work_;
      std::exception_ptr& failure = failures_[index];
      lock.unlock();
      try {
        work(index);
      } catch (...) {
        failure = std::current_exception();
      }
      if (pending_.fetch_sub(1) == 1) {
        lock.lock();
        lock.unlock();
        done_.notify_one();
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::size_t started_ = 0;
  const std::function<void(std::size_t)>* work_ = nullptr;
  std::vector<std::exception_ptr> failures_;
  std::size_t count_ = 0;
  std::atomic<std::size_t> pending_ = 0;
  std::atomic<std::uint64_t> generation_ = 0;
};

}  // namespace

void runKeptChunkWorkers(std::size_t count, const std::function<void(std::size_t)>& work,
                         const std::function<void()>& whileWaiting) {
  // Never destroyed: its threads wait on it until the process ends.
  static KeptWorkers* const workers = new KeptWorkers;
  workers->run(count, work, whileWaiting);
}

}  // namespace corvina
