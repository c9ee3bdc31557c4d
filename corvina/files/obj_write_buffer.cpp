#include "files/obj_write_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace corvina {

void ObjWriteBuffer::text(std::string_view text) {
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t feed = text.find('\n', at);
    if (feed == std::string_view::npos) {
      plain(text.substr(at));
      return;
    }
    plain(text.substr(at, feed - at));
    lineEnd();
    at = feed + 1;
  }
}

bool ObjWriteBuffer::flush() {
  const std::size_t size = static_cast<std::size_t>(end_ - data_.get());
  if (file_ == nullptr) return true;
  if (size > 0 && !file_->write(data_.get(), size)) failed_ = true;
  end_ = data_.get();
  return !failed_;
}

void ObjWriteBuffer::append(std::string_view bytes) {
  if (file_ != nullptr) {
    flush();
    if (!bytes.empty() && !file_->write(bytes.data(), bytes.size())) failed_ = true;
    return;
  }
  for (std::size_t at = 0; at < bytes.size();) {
    room();
    const std::size_t part = std::min(bytes.size() - at, kMaxItem);
    std::memcpy(end_, bytes.data() + at, part);
    end_ += part;
    at += part;
  }
}

void ObjWriteBuffer::makeRoom() {
  if (file_ != nullptr) {
    flush();
    return;
  }
  const std::size_t size = static_cast<std::size_t>(end_ - data_.get());
  std::unique_ptr<char[]> larger(new char[capacity_ * 2]);
  std::memcpy(larger.get(), data_.get(), size);
  data_ = std::move(larger);
  capacity_ *= 2;
  end_ = data_.get() + size;
  limit_ = data_.get() + (capacity_ - kMaxItem);
}

}  // namespace corvina
