#pragma once
// corvina-cli's arguments once they have been checked: the global options and
// each step with its path or mode, its field=value settings and its answer.

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/cli/step_catalogue.h"
#include "model/user_interface.h"

namespace corvina::cli {

struct ParsedStep {
  const StepDefinition* definition = nullptr;
  std::optional<std::string> argument;  // the path or mode word as written
  int colorMode = 0;                    // read from the argument of `color`
  std::vector<std::pair<std::string, std::string>> fieldValues;  // in the order written
  std::optional<Answer> answer;
};

struct ParsedCommandLine {
  bool help = false;
  std::optional<Answer> answer;  // --answer=
  int viewWidth = 512, viewHeight = 512;
  std::vector<ParsedStep> steps;
};

// Reads and checks every argument (not argv[0]) before anything runs: step
// names, paths and modes, field names, values and ranges. Returns the parsed
// line, or the usage error to report.
std::variant<ParsedCommandLine, std::string> parseCommandLine(
    const std::vector<std::string>& arguments);

}  // namespace corvina::cli
