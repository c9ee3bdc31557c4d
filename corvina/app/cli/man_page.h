#pragma once
// The manual pages of corvina-cli and of the corvina window, in man(7)
// markup. Both are written from the command rows, so the steps, fields and
// menu entries they list are the ones --help and the menus show.

#include <string>
#include <string_view>

namespace corvina::cli {

// corvina-cli(1): the usage line, the options, every available step with its
// argument, its fields and their start values, the exit statuses.
std::string cliManPage(std::string_view version);

// corvina(1): the window's command line and every menu entry with its keys
// and status text, in menu order.
std::string windowManPage(std::string_view version);

// Text made safe for a man page line: backslashes and hyphens escaped,
// menu mnemonics (&) dropped, a leading dot or quote neutralised.
std::string manText(std::string_view text);

}  // namespace corvina::cli
