#include "app/run_mode.h"

#include <filesystem>
#include <string_view>

#include "app/project_name.h"
#include "core/configuration.h"
#include "core/file_read.h"
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
    } else if (word == "--help" || word == "-h") {
      options.help = true;
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
  FileRead found;
  LoadedConfiguration config = loadConfiguration(configPath, &found);
  if (found.status == FileRead::Status::Missing) {
    err << "lkit: no configuration at " << configPath
        << "; nothing written (save one from the window, or give --config FILE)\n";
    return 1;
  }
  if (found.status == FileRead::Status::Unreadable) {
    err << "lkit: cannot read the configuration " << configPath << ": " << found.reason
        << "; nothing written\n";
    return 1;
  }
  if (options.base && !isFolder(*options.base)) {
    err << "lkit: --base " << *options.base << " is not a folder\n";
    return 2;
  }
  if (!options.base && config.baseFolder != kMissingMarker && !isFolder(config.baseFolder)) {
    err << "lkit: the base folder saved in " << configPath << ", " << config.baseFolder
        << ", is not a folder: give --base DIR\n";
    return 2;
  }
  std::string base = options.base.value_or(config.baseFolder);
  if (!isFolder(base)) {
    err << "lkit: no base folder to search: give --base DIR or save one in " << configPath << "\n";
    return 2;
  }
  base = pickerPath(base);
  // As the window does, a project without a saved name is named after its folder.
  std::string name = options.name.value_or(config.projectName);
  if (!options.name && name == kMissingMarker) {
    name = proposedProjectName(QString::fromStdString(base)).toStdString();
  }
  if (QString problem = projectNameProblem(QString::fromStdString(name)); !problem.isEmpty()) {
    err << "lkit: " << problem.toStdString() << "\n";
    return 2;
  }

  bool abortSearch = false;
  FolderSearch search(config.categories, config.excludedFolders, abortSearch);
  search.SearchTree(base);
  search.sortLists();

  ProjectInput input;
  input.baseFolder = base;
  input.projectName = name;
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
    err << "lkit: could not write " << outcome.projectPath << ": " << outcome.failure << "\n";
    return 1;
  }
  return 0;
}

}  // namespace lkit
