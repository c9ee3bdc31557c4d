#pragma once
// Splits OBJ (and UVS) text into lines the way every corvina reader sees them:
// at most 1023 characters per line (the rest of a longer line is the next
// line), a line ends at LF, CR, CR LF, NUL or the end of the input, a
// backslash is never kept (it joins a line to the next when it ends a line,
// and keeps the character after it otherwise), and blanks are normalised:
// no leading or trailing spaces or tabs, one space between words.
//
// The bytes are read in large chunks; an ordinary line is handed out as a view
// into the chunk without being copied, and only lines that need rewriting
// (tabs, runs of blanks, backslashes, over-long lines) go through the line
// buffer.

#include <cstddef>
#include <memory>
#include <string_view>

#include "files/obj_line_scan.h"
#include "files/obj_line_source.h"

namespace corvina {

struct ObjLine {
  // Normalised; valid until the next call of next(). The byte just after the
  // text can always be read and is a space, CR, LF or NUL, so number readers
  // may stop at the first non-digit without checking the end first.
  std::string_view text;
  std::size_t words = 0;  // words of the text, when the reader was asked to count them
};

// The number of words in a normalised line (one more than its spaces).
inline int countObjWords(std::string_view normalisedLine) {
  if (normalisedLine.empty()) return 0;
  int spaces = 0;
  for (char c : normalisedLine) spaces += c == ' ';
  return spaces + 1;
}

class ObjLineReader {
 public:
  static constexpr std::size_t kLineCapacity = 1023;  // characters kept per line
  static constexpr std::size_t kDefaultChunkSize = std::size_t{1} << 20;
  static constexpr std::size_t kMinimumChunkSize = 2048;

  // Reads from `source`, which must outlive the reader. `chunkSize` (at least
  // kMinimumChunkSize) sets how many bytes are asked for at once, and the
  // reader holds that many; a source whose whole size is known and smaller is
  // held whole instead, in no more bytes than it needs. `fastPath` false sends
  // every line through the byte-at-a-time path (for comparison in tests; the
  // results are the same).
  explicit ObjLineReader(ObjByteSource& source, std::size_t chunkSize = kDefaultChunkSize,
                         bool fastPath = true);

  // Reads the lines of `lines` where they lie, without copying them. The
  // text must end with a line end (LF or CR), so that every line ends inside
  // it; the bytes must outlive the reader.
  ObjLineReader(std::string_view lines, bool fastPath);

  // The next line; false when nothing is left (or the source failed). With
  // kCountWords, line.words is set as well. Inline, as the passes call it for
  // every line of the file.
  template <bool kCountWords = false>
  bool next(ObjLine& line);

  // The input at the start of the next line, as it stands (not normalised):
  // all that is left or at least the longest line the reader keeps. Empty when
  // no line is left. Lets a pass recognise from its first bytes a line it does
  // not need and skip it. Valid until the next call of peek, next, skipLine
  // or consume. The byte after the view can be read and is a NUL.
  std::string_view peek();

  // Passes over the first `bytes` bytes that peek showed; they must be whole
  // lines, ends included, which the caller has read itself.
  void consume(std::size_t bytes) { position_ += bytes; }

  // Passes over the next line exactly as next() would, without normalising it.
  void skipLine();

  // Takes the next line as it stands, blanks not normalised, when nothing
  // else would change it: no backslash or control character before its end,
  // shorter than the cut. For lines whose words are read by code that skips
  // blanks of every kind itself (numbers). The byte after `text` is the line
  // end or a NUL. False, with nothing taken, when the line needs next().
  bool takeRawLine(std::string_view& text);

  // Starts again at the first byte of the source; false when it cannot.
  bool rewind();

  // False when every line goes through the byte path (the fastPath argument);
  // passes then also leave recognising lines by their first bytes alone, so
  // the two ways can be compared.
  bool inPlace() const { return fastPath_; }

  // True when the source reported a read error.
  bool failed() const { return source_ != nullptr && source_->failed(); }

  // The bytes the reader allocated to hold its input, its end mark included;
  // 0 when it reads lines in place.
  std::size_t heldBytes() const { return owned_ ? chunkSize_ + 1 : 0; }

 private:
  // A full line, its line end and the LF of a CR LF pair: with this many
  // bytes in the chunk a line can be scanned without refilling.
  static constexpr std::size_t kWindow = kLineCapacity + 2;

  bool nextByBytes(ObjLine& line);
  void passLine(const char* start, std::size_t length, std::size_t available);
  void refill();
  int takeByte();
  int peekByte();

  ObjByteSource* source_;  // null when reading lines in place
  std::size_t chunkSize_;
  std::unique_ptr<char[]> owned_;
  char* chunk_;  // the bytes at hand: owned_, or the lines read in place
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool endOfInput_ = false;
  bool fastPath_;
  char raw_[kLineCapacity];
  char normalised_[kLineCapacity + 1];  // and the NUL that marks the end
};

template <bool kCountWords>
inline bool ObjLineReader::next(ObjLine& line) {
  if (end_ - position_ < kWindow && !endOfInput_) refill();
  if (position_ == end_) return false;
  if (!fastPath_) {
    if (!nextByBytes(line)) return false;
    if constexpr (kCountWords) line.words = static_cast<std::size_t>(countObjWords(line.text));
    return true;
  }

  // Fast path: an ordinary line needs no rewriting apart from dropping one
  // trailing space, so it is handed out in place. Anything else is read again
  // byte by byte.
  const char* start = chunk_ + position_;
  const std::size_t available = end_ - position_;
  std::size_t length = 0;
  std::size_t spaces = 0;
  if (!scanPlainLine<kCountWords>(start, available, kLineCapacity, length, &spaces)) {
    if (!nextByBytes(line)) return false;
    if constexpr (kCountWords) line.words = static_cast<std::size_t>(countObjWords(line.text));
    return true;
  }
  std::size_t textLength = length;
  if (textLength > 0 && start[textLength - 1] == ' ') {
    --textLength;
    --spaces;
  }
  // A plain line has no blank at its start and single spaces between words.
  if constexpr (kCountWords) line.words = textLength == 0 ? 0 : spaces + 1;
  passLine(start, length, available);
  line.text = std::string_view(start, textLength);
  return true;
}

inline std::string_view ObjLineReader::peek() {
  if (end_ - position_ < kWindow && !endOfInput_) refill();
  return std::string_view(chunk_ + position_, end_ - position_);
}

inline bool ObjLineReader::takeRawLine(std::string_view& text) {
  if (end_ - position_ < kWindow && !endOfInput_) refill();
  if (!fastPath_ || position_ == end_) return false;
  const char* start = chunk_ + position_;
  const std::size_t available = end_ - position_;
  std::size_t length = 0;
  if (!findPlainLineEnd(start, available, kLineCapacity, length)) return false;
  text = std::string_view(start, length);
  passLine(start, length, available);
  return true;
}

inline void ObjLineReader::skipLine() {
  if (end_ - position_ < kWindow && !endOfInput_) refill();
  if (position_ == end_) return;
  const char* start = chunk_ + position_;
  const std::size_t available = end_ - position_;
  std::size_t length = 0;
  if (!fastPath_ || !findPlainLineEnd(start, available, kLineCapacity, length)) {
    ObjLine unused;
    nextByBytes(unused);
    return;
  }
  passLine(start, length, available);
}

// Moves past a line of `length` bytes at `start` and its line end (CR LF
// counts as one), if the input goes on after it.
inline void ObjLineReader::passLine(const char* start, std::size_t length, std::size_t available) {
  if (length < available) {
    ++length;  // the line end itself
    if (start[length - 1] == '\r' && length < available && start[length] == '\n') ++length;
  }
  position_ += length;
}

}  // namespace corvina
