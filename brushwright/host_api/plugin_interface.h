#pragma once

// The contract between the modeller and an export plug-in. The host loads the
// plug-in library, calls its one exported function `CreatePlugIn`, and talks to
// the returned object only through the virtual operations below, in this slot
// order: destructor, kind, title, export. The host owns the object and
// destroys it through the virtual destructor.

#include <cstdint>

struct msModel;

// Kind code the host files an export plug-in under.
inline constexpr int32_t kExportPlugInKind = 2;

class ModellerPlugIn {
 public:
  virtual ~ModellerPlugIn() = default;

  // The host's plug-in kind code (2 for an export plug-in).
  virtual int32_t pluginKind() = 0;

  // The text of the plug-in's menu entry; the buffer lives as long as the object.
  virtual const char* pluginTitle() = 0;

  // Runs the plug-in on the model the user is editing. 0 for done or cancelled,
  // -1 for failure. The model may be released by the plug-in (see the plug-in).
  virtual int32_t exportModel(msModel* model) = 0;
};

// Signature of the exported factory, looked up by its undecorated name.
extern "C" {
using CreatePlugInFunction = ModellerPlugIn* (*)();
}
inline constexpr const char* kCreatePlugInSymbol = "CreatePlugIn";
