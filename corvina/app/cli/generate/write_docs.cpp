// corvina-docs: writes corvina-cli's and corvina's manual pages and
// corvina-cli's bash completion from the command rows, at build time.
//   corvina-docs cli-man|window-man|completion OUTPUT

#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "app/cli/completion.h"
#include "app/cli/man_page.h"
#include "program_version.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: corvina-docs cli-man|window-man|completion OUTPUT\n";
    return 2;
  }
  const std::string_view kind = argv[1];
  std::string text;
  if (kind == "cli-man")
    text = corvina::cli::cliManPage(kProgramVersion);
  else if (kind == "window-man")
    text = corvina::cli::windowManPage(kProgramVersion);
  else if (kind == "completion")
    text = corvina::cli::bashCompletionScript();
  else {
    std::cerr << "corvina-docs: unknown kind " << kind << "\n";
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "corvina-docs: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
