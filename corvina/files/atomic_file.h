#pragma once
// A file that replaces its target only when it is complete. The bytes go to a
// temporary file in the target's folder (so the final rename stays on one file
// system and is atomic); commit forces them to disk and renames the temporary
// file over the target. A save that fails or is abandoned removes the temporary
// file, and whatever was at the target before is left untouched.
//
// A target that is a symbolic link is followed: the file it names is replaced
// and the link stays. The replaced file keeps its mode, owner and group. Where
// a rename would change more than the file's bytes, the target is written in
// place instead: a target that is not a regular file (a device, a FIFO), a
// file with several hard links, a file whose owner or group we cannot give the
// new file, and a file in a folder where no temporary file can be made. Written
// in place, the old bytes are overwritten and the file cut to the new length
// only at commit, so a save that fails before writing leaves it whole.

#include <cstddef>
#include <string>

struct stat;

namespace corvina {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Abandons an uncommitted file.
  ~AtomicFile();

  // Creates the temporary file beside `targetPath`. False when the folder
  // cannot be written (missing, not a folder, no permission, no space) or
  // the target exists and may not be written.
  bool open(const std::string& targetPath);

  // Appends bytes. False, and every later call false, once a write failed.
  bool write(const char* data, std::size_t size);

  // Flushes to disk, closes and renames over the target. False when any write
  // failed or the file could not be completed; the target is then unchanged.
  bool commit();

  // Closes and removes the temporary file; the target is unchanged.
  void abandon();

  bool isOpen() const { return fd_ >= 0; }
  // Whether the target is written in place rather than through a rename.
  bool writesInPlace() const { return inPlace_; }
  const std::string& temporaryPath() const { return temporaryPath_; }

 private:
  bool openInPlace();
  bool openTemporary(const struct stat* existing);

  int fd_ = -1;
  bool failed_ = false;
  bool inPlace_ = false;
  bool regularTarget_ = true;
  long long written_ = 0;
  std::string targetPath_;
  std::string temporaryPath_;
};

}  // namespace corvina
