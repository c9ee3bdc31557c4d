#pragma once
// The text output of the OBJ writer: a large buffer that lines are formatted
// into directly and that goes to the file in big blocks. The line end is chosen
// once: CR LF (text mode, the default) or a single LF.

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

  ObjWriteBuffer(AtomicFile& file, bool crLf)
      : file_(file), data_(new char[kBlockSize + kMaxItem]), crLf_(crLf) {}

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

  // Writes what is gathered. False once any write failed.
  bool flush();

 private:
  // Makes room for one item of at most kMaxItem bytes.
  void room() {
    if (static_cast<std::size_t>(end_ - data_.get()) >= kBlockSize) flush();
  }

  AtomicFile& file_;
  std::unique_ptr<char[]> data_;
  char* end_ = data_.get();
  bool crLf_;
  bool failed_ = false;
};

}  // namespace corvina
