#include "plugin/map_export_plugin.h"

#include <cstring>

#include "plugin/map_exporter.h"

MapExportPlugIn::MapExportPlugIn() {
  std::memset(title_, 0, sizeof title_);
  std::strncpy(title_, "Generic MAP...", sizeof title_ - 1);
}

int32_t MapExportPlugIn::pluginKind() {
  return kExportPlugInKind;
}

const char* MapExportPlugIn::pluginTitle() {
  return title_;
}

int32_t MapExportPlugIn::exportModel(msModel* model) {
  return exportMapFile(model);
}
