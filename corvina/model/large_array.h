#pragma once
// Memory for the large arrays a load fills. On this kind of machine every
// first touch of a 4 KB page costs microseconds, so an array of hundreds of
// megabytes spends more time faulting its pages in than being filled. Blocks
// of kLargeArrayBytes or more are therefore asked to be backed by 2 MB pages
// (transparent huge pages, Linux), which fault in 512 times less often.
// Elsewhere, and for smaller sizes, these are plain allocations.

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace corvina {

constexpr std::size_t kLargeArrayBytes = std::size_t{4} << 20;
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// Asks for the 2 MB-aligned pages inside [data, data + bytes) to be backed by
// huge pages when they are first touched; pages touched before stay as they
// are. Does nothing below kLargeArrayBytes or where the system has no such
// request.
void adviseHugePages(void* data, std::size_t bytes);

// Touches every page of [data, data + bytes) once, on every core, so that the
// system's clearing of fresh pages is shared out instead of falling on the
// one thread that fills the block next. Writes zero bytes; the block must be
// raw memory that nothing reads yet. Does nothing below kLargeArrayBytes.
void prefaultPages(void* data, std::size_t bytes);

// Sizes `array` to `count` value-initialised elements in one allocation that
// is advised before its elements are written, so they fault in as huge pages.
// Throws like vector::resize when the memory cannot be had.
template <typename T>
void sizeLargeArray(std::vector<T>& array, std::size_t count) {
  if (count * sizeof(T) >= kLargeArrayBytes && array.capacity() < count) {
    std::vector<T>().swap(array);
    array.reserve(count);
    adviseHugePages(array.data(), count * sizeof(T));
    prefaultPages(array.data(), count * sizeof(T));
  }
  array.resize(count);
}

// A byte block of 2 MB-aligned huge pages (plain memory below
// kLargeArrayBytes or off Linux), its pages touched on every core (so zero). Kept and reused by a
// later allocate() that fits, so a buffer that is filled again pays no faults.
class LargeBlock {
 public:
  LargeBlock() = default;
  LargeBlock(const LargeBlock&) = delete;
  LargeBlock& operator=(const LargeBlock&) = delete;
  ~LargeBlock() { release(); }

  // Makes room for `bytes` bytes (contents not kept); false when the memory
  // cannot be had, and then the block is empty.
  bool allocate(std::size_t bytes);
  void release();
  void swap(LargeBlock& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(mapped_, other.mapped_);
  }

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t capacity() const { return capacity_; }

 private:
  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t mapped_ = 0;  // bytes mapped for a huge-page block, 0 for a plain one
};

}  // namespace corvina
