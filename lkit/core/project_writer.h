#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/folder_search.h"
#include "core/ini_profile.h"

namespace lkit {

inline constexpr int kMaxFilesPerGroup = 10000;
inline constexpr int kProjectPauseMs = 4000;

// What the writer reads from the windows at the time of writing.
struct ProjectInput {
  std::string baseFolder;  // the folder that was searched
  std::string projectName;
  const std::vector<FoundFile>* results = nullptr;  // sorted as the results list
  std::vector<std::string> categoryDescriptions;    // in row order
  bool autoOrganize = false;
  bool filesBeforeFolders = false;
};

// A group that reached its 10000 files; the rest of its files were left out.
struct FullGroup {
  std::string group;
  std::size_t filesLeftOut = 0;
};

struct ProjectOutcome {
  std::string projectDirectory;  // D: the base folder with one trailing separator
  std::string projectPath;       // D, the project name, ".prj"
  bool written = false;
  std::string failure;              // why the file could not be written
  std::vector<std::string> groups;  // lstGroup, sorted (Auto-organize only)
  std::vector<FullGroup> fullGroups;
  std::size_t filesWritten = 0;
  std::size_t groupsWithFiles = 0;  // file sections that list at least one file
};

// The project file being built, held in memory and saved once at the end.
class ProjectFile {
 public:
  // One write to the project file.
  void WriteProjectValue(std::string_view section, std::string_view key, std::string_view value);
  // One read from the project file; "-" when the key is missing.
  std::string ReadProjectValue(std::string_view section, std::string_view key) const;
  // The first key from 0 to 9999 missing in the group's file section; 0 when
  // all are present (see isGroupFull). Keys are never removed while the file
  // is built, so the search resumes where the last one stopped.
  int GetNextFilesIdx(std::string_view group);
  // True when the group's file section holds all keys 0 to 9999.
  bool isGroupFull(std::string_view group);

  const IniProfile& profile() const { return profile_; }

 private:
  IniProfile profile_;
  std::unordered_map<std::string, int> nextIndexHint_;  // folded section -> no gap below
};

// The file section of a group: "Files" for the empty name, else "Files - " and the name.
std::string filesSection(std::string_view group);

// `entry` with every blank removed.
std::string RemoveSpaces(std::string_view entry);

// The Auto-organize group of a relative path: its folders, blanks removed,
// joined by " - "; empty for a file directly in the base folder. A name not
// yet in `groups` (compared exactly) is added to it.
std::string ExtractFileGroup(std::string_view theentry, std::set<std::string>& groups);

// The project file's path for a base folder and project name.
std::string projectDirectoryFor(std::string_view baseFolder);

// Builds and writes the whole project file from the results, then calls
// `pause` (if given) for 4000 ms. A group stops at 10000 files instead of
// overwriting its first key; those groups are listed in the outcome.
ProjectOutcome WriteProject(const ProjectInput& input, const std::function<void(int)>& pause = {});

}  // namespace lkit
