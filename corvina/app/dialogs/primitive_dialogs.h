#pragma once
// The five "Create ..." dialogs over their records, fields in the dialogs'
// order. Lengths and resolutions take any finite number; divisions and the
// torus rotation keep to their ranges. A dialog must not outlive its record.

#include "app/user_interface.h"
#include "primitives/primitive_options.h"

namespace corvina {

OptionDialog boxDialog(BoxOptions& options);
OptionDialog coneDialog(ConeOptions& options);
OptionDialog cylinderDialog(CylinderOptions& options);
OptionDialog sphereDialog(SphereOptions& options);
OptionDialog torusDialog(TorusOptions& options);

}  // namespace corvina
