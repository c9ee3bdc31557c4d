#include "core/folder_search.h"

#include <algorithm>

#include "core/directory_listing.h"

namespace lkit {

std::string TrimAtNul(std::string_view field) {
  return std::string(field.substr(0, field.find('\0')));
}

std::string_view fileType(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

bool sortsBefore(std::string_view a, std::string_view b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

namespace {

// A name with a line break cannot be written into the line-based project
// file without corrupting it, so such entries are left out of the search.
bool holdsLineBreak(std::string_view name) {
  return name.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view lastComponent(std::string_view path) {
  while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.remove_suffix(1);
  std::size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace

FolderSearch::FolderSearch(std::vector<Category> categories,
                           const std::vector<ExcludedFolder>& excluded, bool& abortSearch,
                           std::function<void()> processEvents)
    : categories_(std::move(categories)),
      abortSearch_(abortSearch),
      processEvents_(std::move(processEvents)) {
  for (std::size_t i = 0; i < categories_.size(); ++i) {
    categoryByType_.emplace(foldCase(categories_[i].type), static_cast<int>(i));
  }
  for (const ExcludedFolder& row : excluded) {
    std::string_view name = lastComponent(row.name);
    if (row.checked && !name.empty()) excludedNames_.insert(foldCase(name));
  }
}

bool FolderSearch::IsExcludedFolder(std::string_view name) const {
  return !excludedNames_.empty() && excludedNames_.count(foldCase(name)) != 0;
}

int FolderSearch::categoryFor(std::string_view name) const {
  auto found = categoryByType_.find(foldCase(fileType(name)));
  return found == categoryByType_.end() ? -1 : found->second;
}

void FolderSearch::SearchTree(const std::string& root) {
  results_.clear();
  staging_.clear();
  namesWithLineBreaks_ = 0;
  abortSearch_ = false;
  ScanFolder(root);
  for (;;) {
    if (abortSearch_) break;
    if (results_.size() > kResultLimit) {
      abortSearch_ = true;
      break;
    }
    if (queue_.empty()) return;
    yield();
    if (queue_.front().empty()) break;
    std::string next = std::move(queue_.front());
    queue_.pop_front();
    ScanFolder(next);
  }
  queue_.clear();
  staging_.clear();
}

void FolderSearch::ScanFolder(const std::string& folder) {
  std::string path = folder;
  if (path.empty() || path.back() != kSeparator) path += kSeparator;
  std::vector<DirectoryEntry> entries = listDirectory(path);

  for (const DirectoryEntry& entry : entries) {
    yield();
    if (holdsLineBreak(entry.name)) {
      // Only names the search would have kept count: folders, and files of a category.
      if (entry.kind != EntryKind::File || categoryFor(entry.name) >= 0) ++namesWithLineBreaks_;
      continue;
    }
    if (entry.kind == EntryKind::Unreadable) continue;
    if (entry.kind == EntryKind::File) {
      int row = categoryFor(entry.name);
      if (row >= 0) {
        Staged staged;
        const std::string& description = categories_[static_cast<std::size_t>(row)].description;
        staged.file.row.reserve(description.size() + 1 + path.size() + entry.name.size());
        staged.file.row += description;
        staged.file.row += '=';
        staged.file.row += path;
        staged.file.row += entry.name;
        staged.file.descriptionLength = description.size();
        staging_.push_back(std::move(staged));
      }
    } else if (!IsExcludedFolder(entry.name)) {
      Staged staged;
      staged.isFolder = true;
      staged.folderName = entry.name;
      staging_.push_back(std::move(staged));
    }
    yield();
    if (abortSearch_) return;
  }

  moveStaged();

  for (const DirectoryEntry& entry : entries) {
    if (entry.kind != EntryKind::Folder || entry.name == "." || entry.name == ".." ||
        holdsLineBreak(entry.name) || IsExcludedFolder(entry.name)) {
      continue;
    }
    queue_.push_back(path + entry.name);
    yield();
  }
}

void FolderSearch::moveStaged() {
  std::size_t firstResult = results_.size();
  std::size_t firstFolder = folderNames_.size();
  for (Staged& staged : staging_) {
    if (staged.isFolder) {
      folderNames_.push_back(std::move(staged.folderName));
    } else {
      results_.push_back(std::move(staged.file));
    }
    yield();
  }
  staging_.clear();
  if (folderDone_) folderDone_(firstResult, firstFolder);
}

void FolderSearch::sortLists() {
  std::sort(results_.begin(), results_.end(),
            [](const FoundFile& a, const FoundFile& b) { return sortsBefore(a.row, b.row); });
  std::sort(folderNames_.begin(), folderNames_.end(),
            [](const std::string& a, const std::string& b) { return sortsBefore(a, b); });
}

}  // namespace lkit
