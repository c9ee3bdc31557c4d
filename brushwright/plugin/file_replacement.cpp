#include "plugin/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMaxLinkDepth = 40;

std::string parentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes every byte at `offset` onwards, or with offset -1 as a stream.
bool writeEvery(int descriptor, std::string_view bytes, off_t offset) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t count = offset < 0
                              ? ::write(descriptor, bytes.data() + done, bytes.size() - done)
                              : ::pwrite(descriptor, bytes.data() + done, bytes.size() - done,
                                         offset + static_cast<off_t>(done));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    done += static_cast<size_t>(count);
  }
  return true;
}

bool readEvery(int descriptor, off_t size, std::string& bytes) {
  bytes.assign(static_cast<size_t>(size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t count =
        ::pread(descriptor, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) break;
    done += static_cast<size_t>(count);
  }
  bytes.resize(done);
  return true;
}

bool writeDevice(const std::string& target, std::string_view bytes) {
  // Without O_NONBLOCK, opening a FIFO nobody reads would wait for ever.
  const int descriptor = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return false;
  const int flags = ::fcntl(descriptor, F_GETFL);
  bool written = flags >= 0 && ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0 &&
                 writeEvery(descriptor, bytes, -1);
  written = ::close(descriptor) == 0 && written;
  return written;
}

bool rewriteInPlace(const std::string& target, std::string_view bytes) {
  const int descriptor = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  if (descriptor < 0) return false;
  struct stat status {};
  std::string previous;
  bool ready = ::fstat(descriptor, &status) == 0 && readEvery(descriptor, status.st_size, previous);
  if (ready && bytes.size() > previous.size()) {
    const int claimed = ::posix_fallocate(descriptor, 0, static_cast<off_t>(bytes.size()));
    // File systems that cannot preallocate say so; the writes then find out.
    ready = claimed == 0 || claimed == EOPNOTSUPP || claimed == EINVAL;
  }
  if (!ready) {
    ::close(descriptor);
    return false;
  }
  bool written = writeEvery(descriptor, bytes, 0) &&
                 ::ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0 &&
                 ::fsync(descriptor) == 0;
  if (!written && writeEvery(descriptor, previous, 0)) {
    [[maybe_unused]] const int restored =
        ::ftruncate(descriptor, static_cast<off_t>(previous.size()));
  }
  written = ::close(descriptor) == 0 && written;
  return written;
}

enum class TemporaryOutcome { Replaced, Failed, WriteInPlace };

TemporaryOutcome replaceByRename(const std::string& target, std::string_view bytes,
                                 const struct stat* previous) {
  std::string temporary = parentFolder(target) + "/.";
  temporary += target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
  temporary += ".XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) {
    return previous != nullptr ? TemporaryOutcome::WriteInPlace : TemporaryOutcome::Failed;
  }
  auto abandon = [&](TemporaryOutcome outcome) {
    ::close(descriptor);
    ::unlink(temporary.c_str());
    return outcome;
  };
  mode_t mode = 0;
  if (previous != nullptr) {
    struct stat made {};
    if (::fstat(descriptor, &made) != 0) return abandon(TemporaryOutcome::Failed);
    const bool sameIds = made.st_uid == previous->st_uid && made.st_gid == previous->st_gid;
    if (!sameIds && ::fchown(descriptor, previous->st_uid, previous->st_gid) != 0) {
      return abandon(TemporaryOutcome::WriteInPlace);
    }
    mode = previous->st_mode & 07777;
  } else {
    // The permissions the C runtime's open gives a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(descriptor, mode) != 0 || !writeEvery(descriptor, bytes, 0) ||
      ::fsync(descriptor) != 0) {
    return abandon(TemporaryOutcome::Failed);
  }
  if (::close(descriptor) != 0 || std::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return TemporaryOutcome::Failed;
  }
  return TemporaryOutcome::Replaced;
}

}  // namespace

std::optional<std::string> resolveSaveTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    std::vector<char> buffer(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) + 2);
    const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return std::nullopt;
    const std::string named(buffer.data(), static_cast<size_t>(length));
    current = named[0] == '/' ? named : parentFolder(current) + "/" + named;
  }
  return std::nullopt;
}

bool mayWriteTarget(const std::string& target) {
  if (target.empty() || target.back() == '/') return false;
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0) {
    return !S_ISDIR(status.st_mode) && ::access(target.c_str(), W_OK) == 0;
  }
  return errno == ENOENT && ::access(parentFolder(target).c_str(), W_OK) == 0;
}

bool replaceFileContents(const std::string& target, std::string_view bytes) {
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) {
    return errno == ENOENT && replaceByRename(target, bytes, nullptr) == TemporaryOutcome::Replaced;
  }
  if (S_ISDIR(status.st_mode)) return false;
  if (!S_ISREG(status.st_mode)) return writeDevice(target, bytes);
  if (status.st_nlink > 1) return rewriteInPlace(target, bytes);
  switch (replaceByRename(target, bytes, &status)) {
    case TemporaryOutcome::Replaced:
      return true;
    case TemporaryOutcome::Failed:
      return false;
    case TemporaryOutcome::WriteInPlace:
      break;
  }
  return rewriteInPlace(target, bytes);
}
