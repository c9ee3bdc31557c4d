#pragma once

#include <string>
#include <string_view>

// One text file written the way a text-mode stream writes it (every line feed
// reaches the file as CR LF). The text is gathered in memory and handed to
// replaceFileContents by commit(), so a failed or abandoned write leaves any
// previous file as it was.
class MapTextFile {
 public:
  MapTextFile() = default;
  MapTextFile(const MapTextFile&) = delete;
  MapTextFile& operator=(const MapTextFile&) = delete;

  // Prepares to write `targetPath` (a symbolic link is followed to the file it
  // names). False when it cannot be written: a missing or unwritable folder, a
  // folder in its place, a read-only target or a loop of links.
  bool open(const std::string& targetPath);

  // Appends text.
  void write(std::string_view text);

  // Writes the gathered text to the target. False when the write failed; an
  // ordinary file is then as it was.
  bool commit();

 private:
  std::string targetPath_;
  std::string text_;
  bool opened_ = false;
};
