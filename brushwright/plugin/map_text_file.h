#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// One text file written the way a text-mode stream writes it (every line feed
// reaches the file as CR LF), through a temporary file in the target's folder
// that replaces the target only when commit() succeeds. A failed or abandoned
// write leaves any previous file as it was.
class MapTextFile {
 public:
  MapTextFile() = default;
  MapTextFile(const MapTextFile&) = delete;
  MapTextFile& operator=(const MapTextFile&) = delete;
  // Removes the temporary file when commit() was not reached.
  ~MapTextFile();

  // Prepares to write `targetPath` (a symbolic link is followed to the file it
  // names). False when it cannot be written: a missing or unwritable folder, a
  // target that is not a regular file, or a read-only target.
  bool open(const std::string& targetPath);

  // Appends text; errors are remembered and reported by commit().
  void write(std::string_view text);

  // Flushes, closes and renames the temporary file over the target. False when
  // any write, the close or the rename failed; the target is then untouched.
  bool commit();

 private:
  void discard();

  std::FILE* stream_ = nullptr;
  std::string targetPath_;
  std::string temporaryPath_;
  bool failed_ = false;
};
