#include "files/obj_line_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

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

std::size_t ObjMemorySource::read(char* destination, std::size_t capacity) {
  const std::size_t count = std::min(capacity, bytes_.size() - position_);
  if (count > 0) std::memcpy(destination, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

}  // namespace corvina
