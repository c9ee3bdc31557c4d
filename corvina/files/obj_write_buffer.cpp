#include "files/obj_write_buffer.h"

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
  if (size > 0 && !file_.write(data_.get(), size)) failed_ = true;
  end_ = data_.get();
  return !failed_;
}

}  // namespace corvina
