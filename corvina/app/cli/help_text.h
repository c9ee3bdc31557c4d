#pragma once
// The text of `corvina-cli --help`.

#include <string>

namespace corvina::cli {

// The usage line, every available step with its argument, its fields and
// their start values, the steps still to come, and the exit statuses.
std::string helpText();

}  // namespace corvina::cli
