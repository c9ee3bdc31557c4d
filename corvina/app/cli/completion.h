#pragma once
// corvina-cli's bash completion, written from the command rows: the step
// names, each step's field=value names, the values of boolean and choice
// fields, the words of steps that take a word (`color`, `key`,
// `select-method`) and file names for a step's path and for fields that
// take a file.

#include <string>

namespace corvina::cli {

// A bash script that defines the function `_corvina_cli` and registers it
// with `complete` for corvina-cli. Sourcing it runs nothing else.
std::string bashCompletionScript();

}  // namespace corvina::cli
