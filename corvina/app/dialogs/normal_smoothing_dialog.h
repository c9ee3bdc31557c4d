#pragma once
// The "Smooth Model" dialog over its option record.

#include "app/user_interface.h"
#include "tools/normal_smoothing.h"

namespace corvina {

// "Smoothing Angle" (0 to 180 degrees) and the scope radio group "Settings"
// (all, group, material, region). The dialog must not outlive `options`.
OptionDialog smoothingOptionsDialog(SmoothingOptions& options);

}  // namespace corvina
