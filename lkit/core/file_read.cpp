#include "core/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lkit {

namespace {

FileRead unreadable(std::string reason) {
  FileRead read;
  read.status = FileRead::Status::Unreadable;
  read.reason = std::move(reason);
  return read;
}

}  // namespace

FileRead readSettingsFile(const std::string& path) {
  if (path.empty()) return unreadable("no file name given");
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return FileRead{};
    return unreadable(std::strerror(errno));
  }
  if (S_ISDIR(info.st_mode)) return unreadable("it is a folder");
  if (!S_ISREG(info.st_mode)) return unreadable("it is not a regular file");
  // Non-blocking, so a file swapped for a FIFO after the check cannot make us wait.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return unreadable(std::strerror(errno));
  FileRead read;
  read.status = FileRead::Status::Read;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return unreadable("it is not a regular file");
  }
  if (static_cast<std::size_t>(info.st_size) > kMaxSettingsFileBytes) {
    ::close(fd);
    return unreadable("it is too large to be a settings file");
  }
  read.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      return unreadable(std::strerror(error));
    }
    if (n == 0) break;
    read.bytes.append(buffer, static_cast<std::size_t>(n));
    if (read.bytes.size() > kMaxSettingsFileBytes) {
      ::close(fd);
      return unreadable("it is too large to be a settings file");
    }
  }
  ::close(fd);
  return read;
}

}  // namespace lkit
