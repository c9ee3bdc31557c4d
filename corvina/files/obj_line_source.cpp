#include "files/obj_line_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace corvina {

bool ObjFileSource::open(const std::string& path) {
  close();
  failed_ = false;
  // A NUL inside the path would silently name a different file.
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(path), error) || error) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  // The reader asks for large blocks itself; a second buffer would only copy.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  return true;
}

void ObjFileSource::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::size_t ObjFileSource::read(char* destination, std::size_t capacity) {
  if (file_ == nullptr || failed_ || capacity == 0) return 0;
  const std::size_t got = std::fread(destination, 1, capacity, file_);
  if (got < capacity && std::ferror(file_)) failed_ = true;
  return got;
}

bool ObjFileSource::rewind() {
  if (file_ == nullptr || std::fseek(file_, 0, SEEK_SET) != 0) {
    failed_ = true;
    return false;
  }
  std::clearerr(file_);
  return !failed_;
}

namespace {

// Reads from `source` into `block` from `at` until the source ends, growing
// the block as needed; false when memory runs out. `at` ends at the total.
bool readToEnd(ObjByteSource& source, LargeBlock& block, std::size_t& at) {
  for (;;) {
    if (at == block.capacity()) {
      LargeBlock larger;
      if (!larger.allocate(std::max<std::size_t>(block.capacity() * 2, 1 << 16))) return false;
      if (at > 0) std::memcpy(larger.data(), block.data(), at);
      block.swap(larger);
    }
    const std::size_t got = source.read(block.data() + at, block.capacity() - at);
    if (got == 0) return true;
    at += got;
  }
}

}  // namespace

ObjWholeRead ObjByteSource::readWhole(LargeBlock& block, std::string_view& bytes) {
  std::size_t size = 0;
  // A source is read from where it stands, its start when it is new.
  if (!readToEnd(*this, block, size)) return ObjWholeRead::NoMemory;
  if (failed()) return ObjWholeRead::Failed;
  // The second reading compares in pieces and keeps nothing.
  if (!rewind()) return ObjWholeRead::Failed;
  std::vector<char> piece(std::size_t{1} << 16);
  std::size_t at = 0;
  for (;;) {
    const std::size_t got = read(piece.data(), piece.size());
    if (failed()) return ObjWholeRead::Failed;
    if (got == 0) break;
    if (got > size - at || std::memcmp(piece.data(), block.data() + at, got) != 0) {
      return ObjWholeRead::Changed;
    }
    at += got;
  }
  if (at != size) return ObjWholeRead::Changed;
  bytes = std::string_view(block.data(), size);
  return ObjWholeRead::Read;
}

ObjWholeRead ObjFileSource::readWhole(LargeBlock& block, std::string_view& bytes) {
  if (file_ == nullptr || std::fseek(file_, 0, SEEK_END) != 0) return ObjWholeRead::Failed;
  const long end = std::ftell(file_);
  if (end < 0 || !rewind()) return ObjWholeRead::Failed;
  const auto size = static_cast<std::size_t>(end);
  // One byte more than the file's size, to see whether it grew.
  if (!block.allocate(size + 1)) return ObjWholeRead::NoMemory;
  std::size_t at = 0;
  while (at <= size) {
    const std::size_t got = read(block.data() + at, size + 1 - at);
    if (got == 0) break;
    at += got;
  }
  if (failed()) return ObjWholeRead::Failed;
  if (at != size) return ObjWholeRead::Changed;
  bytes = std::string_view(block.data(), size);
  return ObjWholeRead::Read;
}

std::size_t ObjMemorySource::read(char* destination, std::size_t capacity) {
  const std::size_t count = std::min(capacity, bytes_.size() - position_);
  if (count > 0) std::memcpy(destination, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

}  // namespace corvina
