#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini_profile.h"

namespace lkit {

// One organisation category: files whose type equals `type` (compared
// without regard to case) are kept under `description`.
struct Category {
  std::string description;
  std::string type;
  bool checked = true;
};

// A folder name to leave out of the search; only checked rows count.
struct ExcludedFolder {
  std::string name;
  bool checked = true;
};

// The settings as the windows hold them, the input of a save.
struct Configuration {
  std::string projectName;
  std::string baseFolder;
  std::vector<Category> categories;
  std::vector<ExcludedFolder> excludedFolders;
  int autoOrganize = 0;
  int filesBeforeFolders = 0;
};

// The settings as a load finds them in the file. Texts keep the missing
// marker "-"; a flag is empty when its value is not 0 or 1, so the window
// leaves that check box as it is.
struct LoadedConfiguration {
  std::string projectName;
  std::string baseFolder;
  std::vector<Category> categories;
  std::vector<ExcludedFolder> excludedFolders;
  std::optional<int> autoOrganize;
  std::optional<int> filesBeforeFolders;
};

inline constexpr std::string_view kMissingMarker = "-";
inline constexpr std::size_t kConfigBufferSize = 128;
inline constexpr int kMaxCategories = 1000;
inline constexpr int kMaxExcludedFolders = 10000;

// One value of the configuration: at most 127 characters, "-" when missing.
std::string ReadConfigValue(const IniProfile& config, std::string_view section,
                            std::string_view key);

// Creates or replaces one value of the configuration in memory.
void WriteConfigValue(IniProfile& config, std::string_view section, std::string_view key,
                      std::string_view value);

// The Boolean value of a check text: "True"/"False" in any case, a number
// counts as true unless it is 0, any other text counts as checked (as a
// missing key does).
bool checkTextIsTrue(std::string_view text);

// Reads every setting the way the Load button does: lists end at the first
// missing index or at a value that is exactly "-".
LoadedConfiguration readConfiguration(const IniProfile& config);

// The profile a save produces: sections in the order Misc, Descrip,
// DescripCheck, Type, Exclude, ExcludeCheck, Flags, empty lists absent.
IniProfile configurationProfile(const Configuration& settings);

// Loads the file at `path`; a missing file, and anything at the path that is
// not a readable file, gives empty lists and "-" texts. `found`, when given,
// tells which it was.
LoadedConfiguration loadConfiguration(const std::string& path, FileRead* found = nullptr);

// Replaces the file at `path` with the settings; false when it cannot be
// written, with the reason in `reason` when given.
bool saveConfiguration(const Configuration& settings, const std::string& path,
                       std::string* reason = nullptr);

}  // namespace lkit
