#pragma once
// The difference between two versions of one model array, kept as the
// blocks of the older version that differ from the newer (or the whole older
// array when the lengths differ). swapWith exchanges the kept blocks with
// the array's, so one call turns the newer array back into the older and a
// second call makes it the newer again.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "model/model_store.h"

namespace corvina {

// The bytes of an element that carry its value (padding excluded), compared
// bit for bit so that NaNs and negative zeros count as the values they are.
template <typename T>
constexpr std::size_t significantBytes() {
  return sizeof(T);
}
template <>
constexpr std::size_t significantBytes<Vertex>() {
  return offsetof(Vertex, mark) + sizeof(Vertex::mark);
}

template <typename T>
class ArrayDiff {
 public:
  static constexpr std::size_t kBlock = 1024;  // elements per block

  ArrayDiff() = default;

  // The difference from `before` (taken over) to `after`.
  ArrayDiff(std::vector<T>&& before, const std::vector<T>& after) {
    if (before.size() != after.size()) {
      whole_ = true;
      data_ = std::move(before);
      return;
    }
    for (std::size_t start = 0; start < after.size(); start += kBlock) {
      const std::size_t length = std::min(kBlock, after.size() - start);
      if (!sameRange(before.data() + start, after.data() + start, length)) {
        starts_.push_back(start);
        data_.insert(data_.end(), before.begin() + static_cast<std::ptrdiff_t>(start),
                     before.begin() + static_cast<std::ptrdiff_t>(start + length));
      }
    }
    data_.shrink_to_fit();
    std::vector<T>().swap(before);
  }

  bool empty() const { return !whole_ && starts_.empty(); }

  std::size_t bytes() const {
    return data_.capacity() * sizeof(T) + starts_.capacity() * sizeof(std::size_t);
  }

  void swapWith(std::vector<T>& array) {
    if (whole_) {
      std::swap(array, data_);
      return;
    }
    std::size_t at = 0;
    for (std::size_t start : starts_) {
      if (start >= array.size()) break;  // cannot happen while lengths agree
      const std::size_t length = std::min({kBlock, array.size() - start, data_.size() - at});
      std::swap_ranges(array.begin() + static_cast<std::ptrdiff_t>(start),
                       array.begin() + static_cast<std::ptrdiff_t>(start + length),
                       data_.begin() + static_cast<std::ptrdiff_t>(at));
      at += length;
    }
  }

 private:
  static bool sameRange(const T* a, const T* b, std::size_t length) {
    if constexpr (significantBytes<T>() == sizeof(T)) {
      return std::memcmp(a, b, length * sizeof(T)) == 0;
    } else {
      for (std::size_t i = 0; i < length; ++i)
        if (std::memcmp(a + i, b + i, significantBytes<T>()) != 0) return false;
      return true;
    }
  }

  bool whole_ = false;
  std::vector<std::size_t> starts_;
  std::vector<T> data_;
};

}  // namespace corvina
