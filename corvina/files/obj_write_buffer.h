#pragma once
// The text output of the OBJ and UVS writers: a large buffer that lines are
// formatted into directly and that goes to the file in big blocks, or, for a
// piece of the file formatted on a thread of its own, stays in memory and
// grows. The line end is chosen once: CR LF (text mode, the default) or a
// single LF.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

#include "files/atomic_file.h"
#include "files/number_format.h"

namespace corvina {

class ObjWriteBuffer {
 public:
  // Bytes gathered before a block is written; large enough that the number of
  // system calls does not matter, small enough to stay in the caches' reach.
  static constexpr std::size_t kBlockSize = 1 << 20;
  // Longest single item appended without a capacity check of its own.
  static constexpr std::size_t kMaxItem = 256;

  // Lines for `file`, written whenever kBlockSize bytes are gathered.
  ObjWriteBuffer(AtomicFile& file, bool crLf)
      : file_(&file),
        data_(new char[kBlockSize + kMaxItem]),
        capacity_(kBlockSize + kMaxItem),
        crLf_(crLf) {}
  // Lines kept in memory until taken with bytes() and cleared with clear().
  explicit ObjWriteBuffer(bool crLf)
      : file_(nullptr),
        data_(new char[kBlockSize + kMaxItem]),
        capacity_(kBlockSize + kMaxItem),
        crLf_(crLf) {}
  ObjWriteBuffer(const ObjWriteBuffer&) = delete;
  ObjWriteBuffer& operator=(const ObjWriteBuffer&) = delete;

  // Text as is, except that every line feed in it becomes the chosen line end.
  void text(std::string_view text);
  // Text known to hold no line feed.
  void plain(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
      room();
      const std::size_t part = std::min(text.size() - at, kMaxItem);
      for (std::size_t i = 0; i < part; ++i) end_[i] = text[at + i];
      end_ += part;
      at += part;
    }
  }
  void lineEnd() {
    room();
    if (crLf_) *end_++ = '\r';
    *end_++ = '\n';
  }
  void fixed8(float value) {
    room();
    end_ = formatFixed8(end_, value);
  }
  void integer(int value) {
    room();
    end_ = formatInt(end_, value);
  }
  void character(char c) {
    room();
    *end_++ = c;
  }

  // Room for one item of at most kMaxItem bytes, written through the returned
  // pointer and ended with commit(); for lines formatted in one go.
  char* reserve() {
    room();
    return end_;
  }
  void commit(char* end) { end_ = end; }
  char* lineEndAt(char* at) const {
    if (crLf_) *at++ = '\r';
    *at++ = '\n';
    return at;
  }

  bool crLf() const { return crLf_; }

  // Writes what is gathered. False once any write failed.
  bool flush();

  // Writes what is gathered, then `bytes` (another buffer's piece), to the
  // file; appends them in memory.
  void append(std::string_view bytes);

  // What a buffer in memory holds, and forgetting it (the memory is kept).
  std::string_view bytes() const {
    return std::string_view(data_.get(), static_cast<std::size_t>(end_ - data_.get()));
  }
  void clear() { end_ = data_.get(); }

 private:
  // Makes room for one item of at most kMaxItem bytes.
  void room() {
    if (end_ >= limit_) makeRoom();
  }
  // Writes the block to the file, or in memory doubles it. Throws
  // std::bad_alloc when a buffer in memory cannot grow.
  void makeRoom();

  AtomicFile* file_;
  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
  char* end_ = data_.get();
  char* limit_ = data_.get() + (capacity_ - kMaxItem);  // past it no item may start
  bool crLf_;
  bool failed_ = false;
};

}  // namespace corvina
