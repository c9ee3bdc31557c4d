#include "app/run_mode.h"

#include <filesystem>
#include <string_view>

#include "core/configuration.h"
#include "core/folder_search.h"
#include "core/project_writer.h"

namespace lkit {

std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error) {
  CommandLine options;
  for (int i = 1; i < argc; ++i) {
    std::string_view word = argv[i];
    auto value = [&](std::string_view option) -> std::optional<std::string> {
      if (i + 1 >= argc) {
        error = std::string(option) + " needs a value";
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    if (word == "--config") {
      auto path = value(word);
      if (!path) return std::nullopt;
      options.configPath = *path;
    } else if (word == "--run") {
      options.run = true;
    } else if (word == "--base") {
      if (!(options.base = value(word))) return std::nullopt;
    } else if (word == "--name") {
      if (!(options.name = value(word))) return std::nullopt;
    } else {
      error = "unknown argument: " + std::string(word);
      return std::nullopt;
    }
  }
  if (!options.run && (options.base || options.name)) {
    error = "--base and --name need --run";
    return std::nullopt;
  }
  return options;
}

namespace {

bool isFolder(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_directory(path, ignored);
}

// The base folder as the folder picker holds it: an absolute path without a
// trailing separator (the root keeps its one).
std::string pickerPath(const std::string& path) {
  std::error_code ignored;
  std::string absolute = std::filesystem::absolute(path, ignored).lexically_normal().string();
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  return absolute;
}

}  // namespace

int runWithoutWindows(const CommandLine& options, const std::string& configPath, std::ostream& out,
                      std::ostream& err) {
  LoadedConfiguration config = loadConfiguration(configPath);
  std::string base = options.base.value_or(config.baseFolder);
  if (!isFolder(base)) {
    err << "lkit: no base folder to search: give --base DIR or save one in " << configPath << "\n";
    return 2;
  }
  base = pickerPath(base);

  bool abortSearch = false;
  FolderSearch search(config.categories, config.excludedFolders, abortSearch);
  search.SearchTree(base);
  search.sortLists();

  ProjectInput input;
  input.baseFolder = base;
  input.projectName = options.name.value_or(config.projectName);
  input.results = &search.results();
  for (const Category& row : config.categories)
    input.categoryDescriptions.push_back(row.description);
  input.autoOrganize = config.autoOrganize.value_or(0) == 1;
  input.filesBeforeFolders = config.filesBeforeFolders.value_or(0) == 1;
  ProjectOutcome outcome = WriteProject(input);

  for (const FullGroup& full : outcome.fullGroups) {
    err << "lkit: group \"" << full.group << "\" stopped at " << kMaxFilesPerGroup << " files; "
        << full.filesLeftOut << " more left out\n";
  }
  if (search.results().size() > kResultLimit) {
    err << "lkit: the search stopped after passing " << kResultLimit << " files\n";
  }
  if (search.namesWithLineBreaks() > 0) {
    err << "lkit: " << search.namesWithLineBreaks()
        << " files and folders left out: their names hold a line break\n";
  }
  out << outcome.projectPath << "\n" << search.results().size() << "\n";
  if (!outcome.written) {
    err << "lkit: could not write " << outcome.projectPath << "\n";
    return 1;
  }
  return 0;
}

}  // namespace lkit
