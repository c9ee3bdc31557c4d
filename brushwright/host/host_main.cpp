// brushwright-host: a stand-in for the modeller that loads an export plug-in,
// shows what it calls itself, loads an OBJ model and runs the export.
//
//   brushwright-host [--plugin FILE] [--save-as FILE] MODEL.obj
//   brushwright-host --help | --version
//
// Exit status: 0 when the export returned 0, 1 when it returned -1, the save
// dialog refused the --save-as path (the dialog's message is printed) or the
// plug-in or model could not be loaded, 2 for a usage error.

#include <unistd.h>

#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "host/console_dialogs.h"
#include "host/in_memory_model.h"
#include "host/obj_model_loader.h"
#include "host/plugin_library.h"
#include "program_version.h"

namespace {

struct HostArguments {
  std::string plugInPath;
  std::optional<std::string> saveAsPath;
  std::string modelPath;
};

constexpr const char* kUsage =
    "usage: brushwright-host [--plugin FILE] [--save-as FILE] MODEL.obj\n";

std::optional<HostArguments> parseArguments(int argc, char** argv) {
  HostArguments arguments;
  arguments.plugInPath = defaultPlugInPath();
  bool haveModel = false;
  for (int index = 1; index < argc; ++index) {
    const std::string word = argv[index];
    const bool hasValue = index + 1 < argc;
    if (word == "--plugin" && hasValue) {
      arguments.plugInPath = argv[++index];
    } else if (word == "--save-as" && hasValue) {
      arguments.saveAsPath = argv[++index];
    } else if (!haveModel && !word.empty() && word[0] != '-') {
      arguments.modelPath = word;
      haveModel = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveModel) return std::nullopt;
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "brushwright-host " << kProgramVersion << "\n";
    return 0;
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  const std::optional<HostArguments> arguments = parseArguments(argc, argv);
  if (!arguments) {
    std::cerr << kUsage;
    return 2;
  }

  PlugInLibrary library;
  std::string message;
  if (!library.load(arguments->plugInPath, message)) {
    std::cerr << "error: " << message << "\n";
    return 1;
  }
  ModellerPlugIn* plugIn = library.plugIn();
  std::cout << "Plug-in kind: " << plugIn->pluginKind() << "\n";
  std::cout << "Plug-in title: " << plugIn->pluginTitle() << "\n" << std::flush;

  msModel model;
  const ObjLoadResult loaded = loadObjModelFile(arguments->modelPath, model);
  if (!loaded.loaded) {
    std::cerr << "error: " << arguments->modelPath << ": " << loaded.message << "\n";
    return 1;
  }

  ConsoleDialogs dialogs(arguments->saveAsPath, std::cerr, std::cin, isatty(STDIN_FILENO) != 0);
  setHostDialogs(&dialogs);
  const int32_t result = plugIn->exportModel(&model);
  setHostDialogs(nullptr);
  // A path the save dialog refused is a failed run, though the export saw a cancel.
  return result == 0 && !dialogs.saveRefused() ? 0 : 1;
}
