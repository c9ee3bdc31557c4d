#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace lkit {

// The options of `lkit [--config FILE] [--run [--base DIR] [--name NAME]]`
// and `lkit --help`.
struct CommandLine {
  std::string configPath;  // empty: the default location
  bool help = false;
  bool run = false;
  std::optional<std::string> base;
  std::optional<std::string> name;
};

// Parses the arguments after the program name; empty with `error` filled
// on a usage error.
std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error);

// The job of the Start button without windows and without the pause: loads
// the configuration, runs the search and writes the project file, then
// prints the project file's path and the number of files found. Nothing is
// written when the configuration cannot be read: a mistyped --config must not
// replace a good project file with an empty one. Returns the exit status:
// 0 done, 1 the configuration could not be read or the project file could not
// be written, 2 no usable base folder or project name.
int runWithoutWindows(const CommandLine& options, const std::string& configPath, std::ostream& out,
                      std::ostream& err);

}  // namespace lkit
