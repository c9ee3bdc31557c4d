#pragma once

#include "host_api/plugin_interface.h"

// The plug-in object the host receives from CreatePlugIn: an export plug-in
// titled "Generic MAP..." whose export writes a MAP file. It has no state
// besides its title.
class MapExportPlugIn final : public ModellerPlugIn {
 public:
  MapExportPlugIn();
  ~MapExportPlugIn() override = default;

  int32_t pluginKind() override;
  const char* pluginTitle() override;
  int32_t exportModel(msModel* model) override;

 private:
  char title_[64];
};
