#pragma once

// Loads a plug-in library the way the modeller does: dlopen, look up the
// undecorated factory CreatePlugIn, and create one plug-in object.

#include <memory>
#include <string>

#include "host_api/plugin_interface.h"

class PlugInLibrary {
 public:
  PlugInLibrary() = default;
  PlugInLibrary(const PlugInLibrary&) = delete;
  PlugInLibrary& operator=(const PlugInLibrary&) = delete;
  // Destroys the plug-in object before unloading the library that holds its code.
  ~PlugInLibrary();

  // Loads the library and creates its plug-in object; false with a message
  // when the file cannot be loaded, has no CreatePlugIn, or the factory fails.
  bool load(const std::string& path, std::string& message);

  // The plug-in object, null before a successful load.
  ModellerPlugIn* plugIn() const { return plugIn_.get(); }

 private:
  void* handle_ = nullptr;
  std::unique_ptr<ModellerPlugIn> plugIn_;
};

// The plug-in file built beside the running program.
std::string defaultPlugInPath();
