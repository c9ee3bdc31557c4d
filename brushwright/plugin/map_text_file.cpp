#include "plugin/map_text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Follows symbolic links the way opening the path for writing would, so the
// file the link names is replaced and the link itself is kept.
fs::path followLinks(fs::path path) {
  std::error_code error;
  for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hop) {
    const fs::path target = fs::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// Permission bits a newly created file gets, as the C runtime's open would give it.
mode_t newFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

MapTextFile::~MapTextFile() {
  discard();
}

bool MapTextFile::open(const std::string& targetPath) {
  discard();
  const fs::path target = followLinks(targetPath);
  if (target.empty() || !target.has_filename()) return false;

  mode_t mode = newFileMode();
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0) return false;
    mode = existing.st_mode & 07777;
  }

  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string hiddenName = ".";
  hiddenName.append(target.filename().string()).append(".XXXXXX");
  const std::string pattern = (folder / hiddenName).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) return false;
  temporaryPath_ = name.data();
  ::fchmod(descriptor, mode);

  stream_ = ::fdopen(descriptor, "wb");
  if (stream_ == nullptr) {
    ::close(descriptor);
    discard();
    return false;
  }
  targetPath_ = target.string();
  failed_ = false;
  return true;
}

void MapTextFile::write(std::string_view text) {
  if (stream_ == nullptr) {
    failed_ = true;
    return;
  }
  size_t start = 0;
  while (start < text.size()) {
    const size_t lineFeed = text.find('\n', start);
    const size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed;
    if (end > start && std::fwrite(text.data() + start, 1, end - start, stream_) != end - start) {
      failed_ = true;
    }
    if (lineFeed == std::string_view::npos) break;
    if (std::fwrite("\r\n", 1, 2, stream_) != 2) failed_ = true;
    start = lineFeed + 1;
  }
}

bool MapTextFile::commit() {
  if (stream_ == nullptr) return false;
  bool written = !failed_ && std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
  written = ::fsync(::fileno(stream_)) == 0 && written;
  written = std::fclose(stream_) == 0 && written;
  stream_ = nullptr;
  if (written && std::rename(temporaryPath_.c_str(), targetPath_.c_str()) == 0) {
    temporaryPath_.clear();
    return true;
  }
  discard();
  return false;
}

void MapTextFile::discard() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporaryPath_.empty()) {
    std::remove(temporaryPath_.c_str());
    temporaryPath_.clear();
  }
}
