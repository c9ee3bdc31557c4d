#pragma once

#include <QString>

namespace lkit {

// The two process-wide flags the windows share with the search.
struct SharedFlags {
  bool configChanged = false;  // the settings differ from the configuration file
  bool abortSearch = false;    // asks the running search to stop
};

// Both main windows carry this caption; the prompts use it as their title.
inline const QString kAppTitle = QStringLiteral("Loomkit For Torque");

}  // namespace lkit
