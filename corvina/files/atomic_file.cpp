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

}  // namespace

AtomicFile::~AtomicFile() {
  abandon();
}

bool AtomicFile::open(const std::string& targetPath) {
  abandon();
  targetPath_ = targetPath;
  failed_ = false;
  // A file the user may not write stays as it is, as it would if it were
  // written in place; the rename alone would replace it regardless.
  if (::access(targetPath.c_str(), F_OK) == 0 && ::access(targetPath.c_str(), W_OK) != 0) {
    return false;
  }
  // A name of our own with O_EXCL rather than mkstemp: the file is then created
  // with the usual permissions (0666 less the umask), not 0600.
  // The name is short so a target name near the length limit still fits.
  const std::size_t slash = targetPath.find_last_of('/');
  const std::string folderPrefix =
      slash == std::string::npos ? std::string() : targetPath.substr(0, slash + 1);
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
  // Replacing a file keeps its permissions.
  struct stat existing;
  if (::stat(targetPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd_, existing.st_mode & 07777);
  }
  return true;
}

bool AtomicFile::write(const char* data, std::size_t size) {
  if (fd_ < 0 || failed_) return false;
  if (!writeAll(fd_, data, size)) failed_ = true;
  return !failed_;
}

bool AtomicFile::commit() {
  if (fd_ < 0) return false;
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
