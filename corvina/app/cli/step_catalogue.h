#pragma once
// The steps corvina-cli knows: every step name of the command-line contract
// (so each one ends the argument list of the step before it), and for the
// steps that are available, which command they run and what they take.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/application_state.h"
#include "model/user_interface.h"

namespace corvina::cli {

struct ParsedStep;

// What a step takes as its plain (not field=value) argument.
enum class StepArgument { None, Path, ColorMode };

struct StepDefinition {
  std::string_view name;
  StepArgument argument;
  std::string_view argumentName;  // "PATH", "MODE"; "" when none
  bool takesAnswer;               // accepts answer=yes|no
  std::string_view summary;       // one line for --help
  // The dialog whose fields the step's field=value arguments set, built over
  // `records`; nullopt when the step shows no option dialog.
  std::optional<OptionDialog> (*dialog)(OptionRecords& records);
  // The command the step runs.
  int (*command)(const ParsedStep& step);
};

// Whether `word` names a step of the contract, available or not.
bool isStepName(std::string_view word);

// Every step name of the contract, in the contract's order.
std::span<const std::string_view> allStepNames();

// The steps that run now, in --help order.
std::span<const StepDefinition> availableSteps();

// The available step called `name`, or nullptr.
const StepDefinition* findAvailableStep(std::string_view name);

// The choice field that reads a colour mode word (bw, group, material,
// region) or number (0 to 3) into `mode`.
OptionField colorModeField(int& mode);

}  // namespace corvina::cli
