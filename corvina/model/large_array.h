#pragma once
// Sizing of the model's large arrays. A model of a few million facets fills
// hundreds of megabytes; touched 4 KiB at a time that is one page fault per
// page, which costs more than filling the memory. Where Linux hands out huge
// pages on request, the arrays ask for them.

#include <cstddef>
#include <cstdint>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace corvina {

// Asks that the whole 2 MiB pages inside [data, data + bytes) be backed by huge
// pages. Only a hint: where that is not possible nothing changes.
inline void adviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = (first + bytes) & ~(kHugePage - 1);
  if (end > start) {
    // Errors are ignored: the array works the same with small pages.
    ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  }
#endif
}

// Makes room for `count` elements in an empty `array` without creating them,
// like reserve, and throws what reserve throws. An array of several megabytes
// asks for huge pages before its first write (the allocator maps such a block
// from the system untouched).
template <typename T>
void reserveLargeArray(std::vector<T>& array, std::size_t count) {
  constexpr std::size_t kLargeBytes = std::size_t{8} << 20;
  const bool fresh = array.capacity() == 0;
  array.reserve(count);
  if (fresh && count >= kLargeBytes / sizeof(T)) adviseHugePages(array.data(), count * sizeof(T));
}

// Resizes an empty `array` to `count` value-initialised elements, like
// resize, with the huge-page request of reserveLargeArray.
template <typename T>
void resizeLargeArray(std::vector<T>& array, std::size_t count) {
  reserveLargeArray(array, count);
  array.resize(count);
}

}  // namespace corvina
