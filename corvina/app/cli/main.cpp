// corvina-cli: corvina's commands without a window, for build pipelines and
// tests. The program never sets a locale, so numbers are read and written in
// the "C" form whatever the environment says.

#include <iostream>
#include <string>
#include <vector>

#include "app/canvas/picture_canvas.h"
#include "app/cli/run_command_line.h"
#include "program_version.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (arguments.size() == 1 && arguments.front() == "--version") {
    std::cout << "corvina-cli " << kProgramVersion << "\n";
    return 0;
  }
  // The view's background picture and rendering, drawn off screen.
  corvina::canvas::PictureCanvas canvas;
  return corvina::cli::runCommandLine(arguments, &canvas);
}
