#pragma once
// corvina-cli from its arguments to its exit status.

#include <string>
#include <vector>

namespace corvina {
class ViewCanvas;
}

namespace corvina::cli {

// Checks every argument, then runs the steps in order on one model and one
// document, printing what the commands show. Returns 0 when every step ran,
// 1 when a step showed an error (the later steps do not run), 2 for a usage
// error (nothing runs).
// `canvas` is the view the background and render steps work on (nullptr:
// they do nothing).
int runCommandLine(const std::vector<std::string>& arguments, ViewCanvas* canvas = nullptr);

}  // namespace corvina::cli
