#pragma once
// The text of `corvina-cli --help`.

#include <string>
#include <vector>

#include "app/command_row.h"

namespace corvina::cli {

// The first row of every step, in table order; the manual page and the shell
// completion list the steps from it as --help does.
std::vector<const CommandRow*> stepHeads();

// A field's caption, and for a choice each word with its button's text.
std::string fieldDescription(const OptionField& field);

// The usage line, every available step with its argument, its fields and
// their start values, the steps still to come, and the exit statuses.
std::string helpText();

}  // namespace corvina::cli
