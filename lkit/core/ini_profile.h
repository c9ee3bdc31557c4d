#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/file_read.h"

namespace lkit {

// An INI file held in memory with the semantics of the Windows profile
// functions: sections and keys match without regard to letter case, a new
// section goes after the existing ones and a new key after the existing keys
// of its section, writing an existing key replaces its value in place, and
// the text form uses CR LF line ends. A job reads or writes the profile in
// memory and saves it once, so the cost of each access stays constant while
// the bytes on disk are those that writing through after every call would give.
class IniProfile {
 public:
  // Parses `text` (LF, CR LF or CR line ends). A leading UTF-8 byte-order
  // mark, as some editors save it, is not part of the first line; text()
  // writes it back. Lines that are neither a section header nor a key=value
  // pair are kept as they are.
  static IniProfile parse(std::string_view text);

  // Reads the file at `path`; a missing or unreadable file (a folder, a
  // device, no permission) reads as empty. `found`, when given, tells which
  // it was and why a file could not be read.
  static IniProfile load(const std::string& path, FileRead* found = nullptr);

  // The value of section/key with leading and trailing blanks removed, cut to
  // bufferSize - 1 characters; `fallback` (cut the same way) when the key is
  // missing. A bufferSize of 0 gives an empty text.
  std::string read(std::string_view section, std::string_view key, std::string_view fallback,
                   std::size_t bufferSize) const;

  // True when section/key exists.
  bool contains(std::string_view section, std::string_view key) const;

  // Creates the section and key as needed, or replaces the key's value in
  // place. Returns false, writing nothing, when a name or the value holds a
  // line break (it would corrupt the file), the key holds "=" or a name is
  // empty.
  bool write(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes: "[" name "]" lines, key "=" value lines, CR LF ends.
  std::string text() const;

  // Writes text() to `path` (see saveFile); false when it could not, with
  // the reason in `reason` when given.
  bool save(const std::string& path, std::string* reason = nullptr) const;

 private:
  // One line of the file as it will be written. For a key line the value
  // starts after the first "="; an in-place write keeps the key's spelling.
  struct Line {
    std::string raw;
    std::size_t valueStart = 0;
  };
  struct Section {
    std::string name;  // empty for lines before the first header
    std::vector<Line> lines;
    std::unordered_map<std::string, std::size_t> keyIndex;  // folded key -> first line
  };

  const Line* find(std::string_view section, std::string_view key) const;
  Section& sectionFor(std::string_view name);

  std::vector<Section> sections_;
  bool byteOrderMark_ = false;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> first section
};

// ASCII lower-case copy, the case folding used for every name comparison.
std::string foldCase(std::string_view text);

// `text` without leading and trailing blanks (space and tab).
std::string_view trimBlanks(std::string_view text);

}  // namespace lkit
