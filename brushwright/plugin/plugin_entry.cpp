// The plug-in library's one exported symbol. Everything else in the library
// is hidden, so the host sees exactly this undecorated C name. The library
// needs no load-time work, so it has no initialisation routine of its own.

#include <new>

#include "plugin/map_export_plugin.h"

// Creates the plug-in object for the host, which owns and destroys it; null
// when memory runs out.
extern "C" __attribute__((visibility("default"))) ModellerPlugIn* CreatePlugIn() {
  return new (std::nothrow) MapExportPlugIn();
}
