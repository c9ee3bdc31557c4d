#include "model/large_array.h"

#include "model/parallel_parts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <thread>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace corvina {

void adviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (data == nullptr || bytes < kLargeArrayBytes) return;
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  const std::uintptr_t last = (start + bytes) & ~(kHugePageBytes - 1);
  // Advice is only a hint: a kernel without huge pages refuses it and the
  // memory works as before.
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

void prefaultPages(void* data, std::size_t bytes) {
  if (data == nullptr || bytes < kLargeArrayBytes) return;
  constexpr std::size_t kPage = 4096;
  auto* const bytesAt = static_cast<volatile char*>(data);
  auto touch = [bytesAt](std::size_t from, std::size_t to) {
    for (std::size_t at = from; at < to; at += kPage) bytesAt[at] = 0;
  };
  const std::size_t cores = parallelThreads();
  // Parts of whole huge pages, one per core.
  const std::size_t pages = (bytes + kHugePageBytes - 1) / kHugePageBytes;
  const std::size_t parts = std::min<std::size_t>(cores, pages);
  auto border = [&](std::size_t part) {
    return std::min(bytes, pages * part / parts * kHugePageBytes);
  };
  std::vector<std::thread> threads;
  for (std::size_t part = 1; part < parts; ++part) {
    try {
      threads.emplace_back(touch, border(part), border(part + 1));
    } catch (const std::exception&) {
      // No thread to be had: this one does the part.
      touch(border(part), border(part + 1));
    }
  }
  touch(0, border(1));
  for (std::thread& thread : threads) thread.join();
}

bool LargeBlock::allocate(std::size_t bytes) {
  if (bytes <= capacity_ && data_ != nullptr) return true;
  release();
  if (bytes == 0) bytes = 1;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (bytes >= kLargeArrayBytes) {
    // Map one huge page more than needed and keep the 2 MB-aligned part, so
    // the whole block can be backed by huge pages.
    const std::size_t rounded = (bytes + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    const std::size_t mapped = rounded + kHugePageBytes;
    void* area =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return false;
    const auto start = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    // Give back the parts before and after the aligned block.
    if (aligned > start) ::munmap(area, aligned - start);
    const std::size_t tail = (start + mapped) - (aligned + rounded);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + rounded), tail);
    ::madvise(reinterpret_cast<void*>(aligned), rounded, MADV_HUGEPAGE);
    prefaultPages(reinterpret_cast<void*>(aligned), rounded);
    data_ = reinterpret_cast<char*>(aligned);
    capacity_ = rounded;
    mapped_ = rounded;
    return true;
  }
#endif
  data_ = static_cast<char*>(std::malloc(bytes));
  if (data_ == nullptr) return false;
  capacity_ = bytes;
  return true;
}

void LargeBlock::release() {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (mapped_ > 0) {
    ::munmap(data_, mapped_);
  } else {
    std::free(data_);
  }
#else
  std::free(data_);
#endif
  data_ = nullptr;
  capacity_ = 0;
  mapped_ = 0;
}

}  // namespace corvina
