#include "core/configuration.h"

#include <charconv>
#include <string>

namespace lkit {

std::string ReadConfigValue(const IniProfile& config, std::string_view section,
                            std::string_view key) {
  return config.read(section, key, kMissingMarker, kConfigBufferSize);
}

void WriteConfigValue(IniProfile& config, std::string_view section, std::string_view key,
                      std::string_view value) {
  // Failures of the writer are not reported, as with the platform's writer.
  config.write(section, key, value);
}

namespace {

std::optional<double> wholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> flagValue(std::string_view text) {
  if (text == "0") return 0;
  if (text == "1") return 1;
  return std::nullopt;
}

}  // namespace

bool checkTextIsTrue(std::string_view text) {
  std::string folded = foldCase(text);
  if (folded == "false") return false;
  if (folded == "true") return true;
  if (auto number = wholeNumber(text)) return *number != 0;
  return true;
}

LoadedConfiguration readConfiguration(const IniProfile& config) {
  LoadedConfiguration loaded;
  for (int i = 0; i < kMaxCategories; ++i) {
    std::string key = std::to_string(i);
    std::string description = ReadConfigValue(config, "Descrip", key);
    if (description == kMissingMarker) break;
    std::string check = ReadConfigValue(config, "DescripCheck", key);
    std::string type = ReadConfigValue(config, "Type", key);
    if (check == kMissingMarker) check = "True";
    if (type == kMissingMarker) type = ".???";
    loaded.categories.push_back({std::move(description), std::move(type), checkTextIsTrue(check)});
  }
  for (int j = 0; j < kMaxExcludedFolders; ++j) {
    std::string key = std::to_string(j);
    std::string name = ReadConfigValue(config, "Exclude", key);
    if (name == kMissingMarker) break;
    std::string check = ReadConfigValue(config, "ExcludeCheck", key);
    if (check == kMissingMarker) check = "True";
    loaded.excludedFolders.push_back({std::move(name), checkTextIsTrue(check)});
  }
  loaded.projectName = ReadConfigValue(config, "Misc", "Name");
  loaded.baseFolder = ReadConfigValue(config, "Misc", "Base");
  loaded.autoOrganize = flagValue(ReadConfigValue(config, "Flags", "AutoOrg"));
  loaded.filesBeforeFolders = flagValue(ReadConfigValue(config, "Flags", "Sort"));
  return loaded;
}

IniProfile configurationProfile(const Configuration& settings) {
  IniProfile config;
  WriteConfigValue(config, "Misc", "Name", settings.projectName);
  WriteConfigValue(config, "Misc", "Base", settings.baseFolder);
  for (std::size_t i = 0; i < settings.categories.size(); ++i) {
    const Category& row = settings.categories[i];
    std::string key = std::to_string(i);
    WriteConfigValue(config, "Descrip", key, row.description);
    WriteConfigValue(config, "DescripCheck", key, row.checked ? "True" : "False");
    WriteConfigValue(config, "Type", key, row.type);
  }
  for (std::size_t j = 0; j < settings.excludedFolders.size(); ++j) {
    const ExcludedFolder& row = settings.excludedFolders[j];
    std::string key = std::to_string(j);
    WriteConfigValue(config, "Exclude", key, row.name);
    WriteConfigValue(config, "ExcludeCheck", key, row.checked ? "True" : "False");
  }
  WriteConfigValue(config, "Flags", "AutoOrg", std::to_string(settings.autoOrganize));
  WriteConfigValue(config, "Flags", "Sort", std::to_string(settings.filesBeforeFolders));
  return config;
}

LoadedConfiguration loadConfiguration(const std::string& path, FileRead* found) {
  return readConfiguration(IniProfile::load(path, found));
}

bool saveConfiguration(const Configuration& settings, const std::string& path,
                       std::string* reason) {
  return configurationProfile(settings).save(path, reason);
}

}  // namespace lkit
