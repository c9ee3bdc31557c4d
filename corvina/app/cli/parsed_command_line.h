#pragma once
// corvina-cli's arguments once they have been checked: the global options and
// each step with the command row it runs, its plain words, its field=value
// settings and its answer.

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/command_row.h"
#include "app/user_interface.h"

namespace corvina::cli {

struct ParsedStep {
  const CommandRow* row = nullptr;  // the command the step runs
  StepInput input;                  // its path, names, key or pixel words
  std::vector<std::pair<std::string, std::string>> fieldValues;  // in the order written
  std::optional<Answer> answer;
};

struct ParsedCommandLine {
  bool help = false;
  std::optional<Answer> answer;  // --answer=
  ViewSize view;                 // --view=
  std::vector<ParsedStep> steps;
};

// Reads and checks every argument (not argv[0]) before anything runs: step
// names, plain arguments, field names, values and ranges. Returns the parsed
// line, or the usage error to report; a usage error wins over --help.
std::variant<ParsedCommandLine, std::string> parseCommandLine(
    const std::vector<std::string>& arguments);

// Whether `step` names a step of corvina-cli, and whether it runs yet (every
// command it can run is built).
bool isStepName(std::string_view step);
bool isStepAvailable(std::string_view step);

// The choice field of a step whose word picks its row (`color`, `select-method`):
// the rows' words, numbered from 0 in table order.
OptionField rowWordField(std::string_view step, int& chosen);

}  // namespace corvina::cli
