#pragma once
// Runs corvina-cli as a separate process in a given folder and collects what
// it printed on each stream and its exit status.

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/tests/scratch_folder.h"

namespace corvina::testing {

struct CliResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

inline std::string shellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `program arguments...` with `folder` as working directory and the
// extra environment `environment` ("NAME=value" words).
inline CliResult runCli(const ScratchFolder& folder, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment = {}) {
  std::string command = "cd " + shellQuoted(folder.folder()) + " && env";
  for (const std::string& setting : environment) command += " " + shellQuoted(setting);
  command += " " + shellQuoted(CORVINA_CLI_PATH);
  for (const std::string& argument : arguments) command += " " + shellQuoted(argument);
  command +=
      " >" + shellQuoted(folder.path(".cli-out")) + " 2>" + shellQuoted(folder.path(".cli-err"));
  int status = std::system(command.c_str());
  CliResult result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = folder.read(".cli-out");
  result.err = folder.read(".cli-err");
  return result;
}

}  // namespace corvina::testing
