// corvina-cli: corvina's commands without a window, for build pipelines and
// tests. The program never sets a locale, so numbers are read and written in
// the "C" form whatever the environment says.

#include <string>
#include <vector>

#include "app/cli/run_command_line.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return corvina::cli::runCommandLine(arguments);
}
