#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "model/model_store.h"

namespace corvina {

namespace {

// Writes the whole block, continuing after partial writes and interruptions.
bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Makes the rename itself durable; failure here does not undo a completed save.
void syncFolderOf(const std::string& path) {
  const std::string folder = directoryOf(path);
  const char* name = folder.empty() ? "." : folder.c_str();
  const int fd = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The path a save really writes: a symbolic link is followed to the file it
// names (which need not exist yet), through links of links, up to a limit
// that stops loops; the link itself stays.
std::string resolvedTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat link;
    if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return current;
    std::string named(static_cast<std::size_t>(link.st_size > 0 ? link.st_size : 4096) + 1, '\0');
    const ssize_t length = ::readlink(current.c_str(), named.data(), named.size());
    if (length < 0 || static_cast<std::size_t>(length) >= named.size()) return current;
    named.resize(static_cast<std::size_t>(length));
    // A relative link names its file from the link's own folder.
    const std::size_t slash = current.find_last_of('/');
    if (!named.starts_with('/') && slash != std::string::npos)
      named = current.substr(0, slash + 1) + named;
    current = named;
  }
  return current;
}

}  // namespace

AtomicFile::~AtomicFile() {
  abandon();
}

bool AtomicFile::open(const std::string& targetPath) {
  abandon();
  targetPath_ = resolvedTarget(targetPath);
  failed_ = false;
  inPlace_ = false;
  regularTarget_ = true;
  written_ = 0;
  struct stat existing;
  const bool exists = ::stat(targetPath_.c_str(), &existing) == 0;
  // A file the user may not write stays as it is, as it would if it were
  // written in place; the rename alone would replace it regardless.
  if (exists && ::access(targetPath_.c_str(), W_OK) != 0) return false;
  if (exists && (!S_ISREG(existing.st_mode) || existing.st_nlink > 1)) {
    regularTarget_ = S_ISREG(existing.st_mode);
    return openInPlace();
  }
  if (openTemporary(exists ? &existing : nullptr)) return true;
  // No temporary file beside it (a folder we may not write): a file we may
  // write is still written, in place.
  return exists && openInPlace();
}

bool AtomicFile::openInPlace() {
  // Not truncated here: the old bytes stand until the new ones replace them.
  fd_ = ::open(targetPath_.c_str(), O_WRONLY | O_CLOEXEC);
  inPlace_ = fd_ >= 0;
  return inPlace_;
}

bool AtomicFile::openTemporary(const struct stat* existing) {
  // A name of our own with O_EXCL rather than mkstemp: the file is then created
  // with the usual permissions (0666 less the umask), not 0600.
  // The name is short so a target name near the length limit still fits.
  const std::size_t slash = targetPath_.find_last_of('/');
  const std::string folderPrefix =
      slash == std::string::npos ? std::string() : targetPath_.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporaryPath_ = folderPrefix + ".~corvina-" + std::to_string(::getpid()) + "-" +
                     std::to_string(attempt) + ".tmp";
    fd_ = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    if (errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temporaryPath_.clear();
    return false;
  }
  if (existing == nullptr) return true;
  // Replacing a file keeps its owner, group and permissions. When the new
  // file cannot have them, the old one is written in place instead.
  struct stat made;
  const bool sameOwner = ::fstat(fd_, &made) == 0 && made.st_uid == existing->st_uid &&
                         made.st_gid == existing->st_gid;
  if (!sameOwner && ::fchown(fd_, existing->st_uid, existing->st_gid) != 0) {
    abandon();
    return false;
  }
  if (::fchmod(fd_, existing->st_mode & 07777) != 0) {
    abandon();
    return false;
  }
  return true;
}

bool AtomicFile::write(const char* data, std::size_t size) {
  if (fd_ < 0 || failed_) return false;
  if (!writeAll(fd_, data, size)) failed_ = true;
  written_ += static_cast<long long>(size);
  return !failed_;
}

bool AtomicFile::commit() {
  if (fd_ < 0) return false;
  if (inPlace_) {
    // Cut what is left of the old bytes; a device or FIFO has no length and
    // no disk to force the bytes to.
    bool ok = !failed_;
    if (ok && regularTarget_) ok = ::ftruncate(fd_, written_) == 0 && ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    inPlace_ = false;
    return ok;
  }
  bool ok = !failed_ && ::fsync(fd_) == 0;
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  if (ok) ok = std::rename(temporaryPath_.c_str(), targetPath_.c_str()) == 0;
  if (!ok) {
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
    return false;
  }
  temporaryPath_.clear();
  syncFolderOf(targetPath_);
  return true;
}

void AtomicFile::abandon() {
  inPlace_ = false;
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporaryPath_.empty()) {
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
  }
}

}  // namespace corvina
