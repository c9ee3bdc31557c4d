#include "core/directory_listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <string_view>

#include "core/folder_search.h"

namespace lkit {

namespace {

EntryKind kindFromStat(const std::string& fullPath, bool isLink) {
  struct stat info {};
  if (::stat(fullPath.c_str(), &info) != 0) return EntryKind::Unreadable;
  if (!S_ISDIR(info.st_mode)) return EntryKind::File;
  if (isLink) return EntryKind::FolderLink;
  return EntryKind::Folder;
}

}  // namespace

std::vector<DirectoryEntry> listDirectory(const std::string& folderPath) {
  std::vector<DirectoryEntry> entries;
  DIR* folder = ::opendir(folderPath.c_str());
  if (folder == nullptr) return entries;
  std::string fullPath = folderPath;
  while (const dirent* entry = ::readdir(folder)) {
    DirectoryEntry found;
    found.name = TrimAtNul(std::string_view(entry->d_name, sizeof(entry->d_name)));
    // The type the enumeration reports saves a query per entry; links and
    // file systems that report no type need the attributes of the target.
    switch (entry->d_type) {
      case DT_REG:
        found.kind = EntryKind::File;
        break;
      case DT_DIR:
        found.kind = EntryKind::Folder;
        break;
      case DT_LNK:
      case DT_UNKNOWN: {
        fullPath.resize(folderPath.size());
        fullPath += found.name;
        struct stat own {};
        bool isLink = entry->d_type == DT_LNK ||
                      (::lstat(fullPath.c_str(), &own) == 0 && S_ISLNK(own.st_mode));
        found.kind = kindFromStat(fullPath, isLink);
        break;
      }
      default:  // devices, pipes and sockets have no folder bit
        found.kind = EntryKind::File;
        break;
    }
    entries.push_back(std::move(found));
  }
  ::closedir(folder);
  return entries;
}

}  // namespace lkit
