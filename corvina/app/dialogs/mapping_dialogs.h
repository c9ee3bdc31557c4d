#pragma once
// The option dialogs of the mapping, tiling and rotation commands, described
// over their records: captions, the controls' texts in dialog order, ranges,
// and the field names corvina-cli's field=value words use. The window draws
// them; corvina-cli sets them from its arguments.

#include "app/user_interface.h"
#include "mapping/mapping_options.h"

namespace corvina {

enum class RadialKind { Cylindrical, CylindricalCap, Spherical };

OptionDialog planarMappingDialog(PlanarMappingOptions& options);
OptionDialog boxMappingDialog(BoxMappingOptions& options);
// The shared "UV Mapping" dialog with the title of its projection:
// "Cylindrical Mapping", "Cylindrical Cap Mapping" or "Spherical Mapping".
OptionDialog radialMappingDialog(RadialMappingOptions& options, RadialKind kind);
OptionDialog perFacetMappingDialog(PerFacetMappingOptions& options);
OptionDialog tileOptionsDialog(TileOptions& options);
OptionDialog rotateModelDialog(RotateModelOptions& options);

}  // namespace corvina
