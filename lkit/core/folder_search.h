#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/configuration.h"

namespace lkit {

// One kept file: the results row "description=full path".
struct FoundFile {
  std::string row;
  std::size_t descriptionLength = 0;

  std::string_view description() const {
    return std::string_view(row).substr(0, descriptionLength);
  }
  std::string_view fullPath() const { return std::string_view(row).substr(descriptionLength + 1); }
};

// The text before the first NUL of a fixed-length name field.
std::string TrimAtNul(std::string_view field);

// The type of a file name: the text after its last ".", or the whole name
// when it has no dot.
std::string_view fileType(std::string_view name);

// Orders texts alphabetically without regard to case (ties by byte value),
// as the sorted lists show them.
bool sortsBefore(std::string_view a, std::string_view b);

inline constexpr std::size_t kResultLimit = 32000;

// The breadth-first search of a folder tree. Folders are scanned level by
// level from a first-in first-out queue; each folder's finds are staged and
// moved to the results and folder-name lists when its first pass is done.
// `processEvents` is called after every directory entry and every moved
// entry, which is how a click on Abort (setting `abortSearch`) reaches a
// running search.
class FolderSearch {
 public:
  FolderSearch(std::vector<Category> categories, const std::vector<ExcludedFolder>& excluded,
               bool& abortSearch, std::function<void()> processEvents = {});

  // Called after each folder's finds are moved, with the index of the first
  // new row of results() and of folderNames(); lets a window show progress.
  void setFolderDoneHook(std::function<void(std::size_t, std::size_t)> hook) {
    folderDone_ = std::move(hook);
  }

  // Searches the tree below `root`. Stops early when `abortSearch` is set or
  // once the results pass 32000 rows (then sets `abortSearch`). Symbolic
  // links to folders are listed but not descended into.
  void SearchTree(const std::string& root);

  // Scans one folder: stages its matching files and folder names, moves them
  // to the lists and queues its subfolders (excluded names left out).
  void ScanFolder(const std::string& folder);

  // True when a checked row of the exclusion list names `name` (compared
  // without regard to case with the row's last path component).
  bool IsExcludedFolder(std::string_view name) const;

  // The row of the first category whose type matches `name`, or -1.
  int categoryFor(std::string_view name) const;

  // Sorts results() and folderNames() as the sorted lists hold them.
  void sortLists();

  const std::vector<FoundFile>& results() const { return results_; }
  const std::vector<std::string>& folderNames() const { return folderNames_; }
  std::size_t queuedFolders() const { return queue_.size(); }
  // Folders and files of a category that the last search left out because
  // their names hold a CR or LF, which the line-based project file cannot
  // carry.
  std::size_t namesWithLineBreaks() const { return namesWithLineBreaks_; }

 private:
  struct Staged {
    bool isFolder = false;
    FoundFile file;
    std::string folderName;
  };

  void yield() {
    if (processEvents_) processEvents_();
  }
  void moveStaged();

  std::vector<Category> categories_;
  std::unordered_map<std::string, int> categoryByType_;  // folded type -> first row
  std::unordered_set<std::string> excludedNames_;        // folded names of checked rows
  bool& abortSearch_;
  std::function<void()> processEvents_;
  std::function<void(std::size_t, std::size_t)> folderDone_;

  std::deque<std::string> queue_;         // FindFilesTmpDirs
  std::vector<Staged> staging_;           // FindFilesTmpResults
  std::vector<FoundFile> results_;        // FindFilesResults
  std::vector<std::string> folderNames_;  // lstDirs
  std::size_t namesWithLineBreaks_ = 0;
};

}  // namespace lkit
