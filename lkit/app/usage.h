#pragma once

#include <string_view>

namespace lkit {

// The text `lkit --help` prints, and usage errors repeat on standard error.
inline constexpr std::string_view kUsage =
    "usage: lkit [--config FILE]                     opens the windows\n"
    "       lkit [--config FILE] --run [--base DIR] [--name NAME]\n"
    "       lkit --help | --version\n"
    "\n"
    "  --config FILE  the settings file (default: lkit.ini beside the program,\n"
    "                 or in the user's configuration folder)\n"
    "  --run          search the base folder and write the project file without\n"
    "                 windows; prints the project file's path and the number of\n"
    "                 files found\n"
    "  --base DIR     the folder to search instead of the saved one\n"
    "  --name NAME    the project name instead of the saved one\n"
    "  --help         print this text and exit\n"
    "  --version      print the program's version and exit\n"
    "\n"
    "Exit status of --run: 0 written, 1 the settings file could not be read or\n"
    "the project file could not be written, 2 a usage error or no folder to search.\n";

}  // namespace lkit
