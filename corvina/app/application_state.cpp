#include "app/application_state.h"

#include <filesystem>
#include <system_error>

namespace corvina {

ApplicationState::ApplicationState(const std::string& workingDirectory) {
  store.lastDirectory = workingDirectory;
  store.lastModelPath.clear();
  store.modelBaseName.clear();
  store.pixelsPerUnit = options.userSettings.pixelsPerUnit;
}

ViewSize squareSize(const ApplicationState& app) {
  return app.editor.square(app.view).size;
}

std::string currentWorkingDirectory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

}  // namespace corvina
