#pragma once

#include <string>
#include <vector>

namespace lkit {

// What an entry of a folder is, as its attributes tell.
enum class EntryKind {
  File,
  Folder,      // a real folder, "." and ".." included
  FolderLink,  // a symbolic link to a folder: listed, never descended into
  Unreadable,  // the attributes could not be read; the entry is skipped
};

struct DirectoryEntry {
  std::string name;
  EntryKind kind = EntryKind::File;
};

// The entries of `folderPath` (which ends with the separator) in the order
// the system returns them, "." and ".." included. Empty when the folder
// cannot be enumerated.
std::vector<DirectoryEntry> listDirectory(const std::string& folderPath);

// The platform's directory separator.
inline constexpr char kSeparator = '/';

}  // namespace lkit
