#include "files/obj_line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace corvina {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The chunk a reader of `source` holds: the size asked for, at least the
// minimum so that a whole line and its end fit after every refill. An input
// known to be smaller takes its own size and one byte more, so the first
// refill reads all of it and also meets its end.
std::size_t chunkSizeFor(const ObjByteSource& source, std::size_t asked) {
  const std::size_t size = std::max(asked, ObjLineReader::kMinimumChunkSize);
  const std::optional<std::size_t> known = source.knownSize();
  return known && *known < size ? *known + 1 : size;
}

}  // namespace

ObjLineReader::ObjLineReader(ObjByteSource& source, std::size_t chunkSize, bool fastPath)
    : source_(&source),
      chunkSize_(chunkSizeFor(source, chunkSize)),
      owned_(new char[chunkSize_ + 1]()),  // and the NUL after the input
      chunk_(owned_.get()),
      fastPath_(fastPath) {}

// The whole input is at hand from the start, so refill() is never called and
// the bytes are never written.
ObjLineReader::ObjLineReader(std::string_view lines, bool fastPath)
    : source_(nullptr),
      chunkSize_(lines.size()),
      chunk_(const_cast<char*>(lines.data())),
      end_(lines.size()),
      endOfInput_(true),
      fastPath_(fastPath) {}

bool ObjLineReader::rewind() {
  position_ = 0;
  if (source_ == nullptr) return true;
  end_ = 0;
  endOfInput_ = false;
  return source_->rewind();
}

// Moves the unread bytes to the front of the chunk and fills the rest.
void ObjLineReader::refill() {
  const std::size_t kept = end_ - position_;
  if (kept > 0 && position_ > 0) std::memmove(chunk_, chunk_ + position_, kept);
  position_ = 0;
  end_ = kept;
  while (end_ < chunkSize_ && !endOfInput_) {
    const std::size_t got = source_->read(chunk_ + end_, chunkSize_ - end_);
    if (got == 0) endOfInput_ = true;
    end_ += got;
  }
  // The last line of the input is followed by a NUL like any other line end.
  chunk_[end_] = '\0';
}

int ObjLineReader::takeByte() {
  if (position_ == end_) {
    if (endOfInput_) return -1;
    refill();
    if (position_ == end_) return -1;
  }
  return static_cast<unsigned char>(chunk_[position_++]);
}

int ObjLineReader::peekByte() {
  if (position_ == end_) {
    if (endOfInput_) return -1;
    refill();
    if (position_ == end_) return -1;
  }
  return static_cast<unsigned char>(chunk_[position_]);
}

// The line read one byte at a time into the 1023-byte buffer, then trimmed
// and its blanks normalised.
bool ObjLineReader::nextByBytes(ObjLine& line) {
  // A byte at hand is taken here; only at the end of the chunk does
  // takeByte() refill it.
  std::size_t length = 0;
  while (length < kLineCapacity) {
    int c = position_ != end_ ? static_cast<unsigned char>(chunk_[position_++]) : takeByte();
    if (c < 0) break;
    if (c == '\\') {
      // The backslash goes; line ends and NULs after it are skipped, and the
      // next other character takes its place.
      do {
        c = position_ != end_ ? static_cast<unsigned char>(chunk_[position_++]) : takeByte();
      } while (c == '\n' || c == '\r' || c == '\0');
      if (c < 0) break;
      raw_[length++] = static_cast<char>(c);
      continue;
    }
    if (c == '\n' || c == '\0') break;
    if (c == '\r') {
      if (peekByte() == '\n') takeByte();
      break;
    }
    raw_[length++] = static_cast<char>(c);
  }

  while (length > 0 && isBlank(raw_[length - 1])) --length;
  std::size_t i = 0;
  while (i < length && isBlank(raw_[i])) ++i;
  std::size_t out = 0;
  bool blankPending = false;
  for (; i < length; ++i) {
    const char c = raw_[i];
    if (isBlank(c)) {
      blankPending = true;
      continue;
    }
    if (blankPending) {
      normalised_[out++] = ' ';
      blankPending = false;
    }
    normalised_[out++] = c;
  }
  normalised_[out] = '\0';
  line.text = std::string_view(normalised_, out);
  return true;
}

}  // namespace corvina
