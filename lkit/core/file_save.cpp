#include "core/file_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace lkit {

namespace {

// Symbolic links are followed at most this deep, as the system does.
constexpr int kMaxLinkHops = 40;

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded.
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string folderOf(const std::string& path) {
  std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

// The path a write to `path` reaches: symbolic links are replaced by the
// paths they name (relative ones read from the link's folder). A dangling
// link gives the path of the file to be created.
std::optional<std::string> followLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0 || !S_ISLNK(own.st_mode)) return path;
    std::vector<char> target(static_cast<std::size_t>(own.st_size > 0 ? own.st_size : 255) + 2);
    ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
    std::string named(target.data(), static_cast<std::size_t>(length));
    path = named.front() == '/' ? named : folderOf(path) + "/" + named;
  }
  return std::nullopt;  // a loop of links
}

bool writeAll(int fd, std::string_view bytes, off_t offset) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool writeStream(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::optional<std::string> readAll(int fd, off_t size) {
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;  // the file shrank meanwhile
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

// A device or FIFO: opened without waiting for a reader and written as a stream.
bool writeSpecialFile(const std::string& path, std::string_view bytes) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return false;
  int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return false;
  bool written = writeStream(fd.get(), bytes);
  return fd.close() && written;
}

// An existing regular file rewritten through its own inode, so its links,
// owner and mode stay. The room is claimed before any byte changes; a
// write that still fails puts the previous bytes back.
bool writeInPlace(const std::string& path, std::string_view bytes) {
  Descriptor fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return false;
  std::optional<std::string> previous = readAll(fd.get(), info.st_size);
  if (!previous) return false;
  if (bytes.size() > previous->size()) {
    int claimed = ::posix_fallocate(fd.get(), 0, static_cast<off_t>(bytes.size()));
    // File systems without preallocation report EOPNOTSUPP or EINVAL; the
    // writes below then find out.
    if (claimed != 0 && claimed != EOPNOTSUPP && claimed != EINVAL) return false;
  }
  bool written = writeAll(fd.get(), bytes, 0) &&
                 ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
                 ::fsync(fd.get()) == 0;
  if (!written) {
    if (writeAll(fd.get(), *previous, 0)) {
      [[maybe_unused]] int ignored = ::ftruncate(fd.get(), static_cast<off_t>(previous->size()));
    }
    return false;
  }
  return fd.close();
}

enum class Replacement { Done, Failed, NeedsInPlace };

// Writes a temporary file beside `path` and renames it over `path`. An
// existing target's owner, group and mode go to the temporary file first;
// when the folder refuses the temporary file or the owner cannot be given,
// the caller writes in place instead.
Replacement replaceThroughTemporary(const std::string& path, std::string_view bytes,
                                    const struct stat* existing) {
  std::string name = path + ".XXXXXX";
  int raw = ::mkstemp(name.data());
  if (raw < 0) return existing ? Replacement::NeedsInPlace : Replacement::Failed;
  Descriptor fd(raw);
  auto discard = [&](Replacement result) {
    int error = errno;  // the cause, not what the clean-up meets
    fd.close();
    ::unlink(name.c_str());
    errno = error;
    return result;
  };
  mode_t mode;
  if (existing) {
    struct stat made {};
    if (::fstat(fd.get(), &made) != 0) return discard(Replacement::Failed);
    if ((made.st_uid != existing->st_uid || made.st_gid != existing->st_gid) &&
        ::fchown(fd.get(), existing->st_uid, existing->st_gid) != 0) {
      return discard(Replacement::NeedsInPlace);
    }
    mode = existing->st_mode & 07777;
  } else {
    // mkstemp makes the file for its owner only; a new file gets the usual
    // permissions of a file the program creates.
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd.get(), mode) != 0) return discard(Replacement::Failed);
  if (!writeAll(fd.get(), bytes, 0) || ::fsync(fd.get()) != 0 || !fd.close()) {
    return discard(Replacement::Failed);
  }
  if (std::rename(name.c_str(), path.c_str()) != 0) return discard(Replacement::Failed);
  return Replacement::Done;
}

}  // namespace

namespace {

// saveFile without the reason; errno tells the cause of a failure.
bool saveFileAt(const std::string& path, std::string_view bytes) {
  std::optional<std::string> target = followLinks(path);
  if (!target) {
    errno = ELOOP;
    return false;
  }
  if (target->empty() || target->back() == '/') {
    errno = EISDIR;
    return false;
  }
  struct stat existing {};
  if (::stat(target->c_str(), &existing) != 0) {
    if (errno != ENOENT) return false;
    return replaceThroughTemporary(*target, bytes, nullptr) == Replacement::Done;
  }
  if (S_ISDIR(existing.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (!S_ISREG(existing.st_mode)) return writeSpecialFile(*target, bytes);
  // Refuse early what the user may not write; a temporary file and a rename
  // would otherwise replace a read-only file.
  if (::access(target->c_str(), W_OK) != 0) return false;
  if (existing.st_nlink > 1) return writeInPlace(*target, bytes);
  switch (replaceThroughTemporary(*target, bytes, &existing)) {
    case Replacement::Done:
      return true;
    case Replacement::Failed:
      return false;
    case Replacement::NeedsInPlace:
      break;
  }
  return writeInPlace(*target, bytes);
}

}  // namespace

bool saveFile(const std::string& path, std::string_view bytes, std::string* reason) {
  errno = 0;
  if (saveFileAt(path, bytes)) return true;
  if (reason != nullptr) {
    *reason = errno != 0 ? std::strerror(errno) : "the file could not be written";
  }
  return false;
}

}  // namespace lkit
