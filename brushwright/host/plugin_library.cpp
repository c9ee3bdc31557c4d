#include "host/plugin_library.h"

#include <dlfcn.h>

#include <filesystem>

#include "host/joined_text.h"

PlugInLibrary::~PlugInLibrary() {
  plugIn_.reset();
  if (handle_ != nullptr) dlclose(handle_);
}

bool PlugInLibrary::load(const std::string& path, std::string& message) {
  // dlopen searches the library path for a bare name; a plug-in is always a file.
  const std::string file = path.find('/') == std::string::npos ? joinedText({"./", path}) : path;
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    message = joinedText(
        {"cannot load plug-in ", path, ": ", reason != nullptr ? reason : "unknown error"});
    return false;
  }
  auto create = reinterpret_cast<CreatePlugInFunction>(dlsym(handle_, kCreatePlugInSymbol));
  if (create == nullptr) {
    message = joinedText({path, " has no ", kCreatePlugInSymbol});
    return false;
  }
  plugIn_.reset(create());
  if (plugIn_ == nullptr) {
    message = joinedText({path, ": ", kCreatePlugInSymbol, " returned no plug-in"});
    return false;
  }
  return true;
}

std::string defaultPlugInPath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path folder = error ? std::filesystem::path(".") : program.parent_path();
  return (folder / BRUSHWRIGHT_PLUGIN_FILE_NAME).string();
}
