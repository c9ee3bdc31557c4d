#pragma once
// The option dialogs of the texture-map layout commands: packing the islands
// and exporting the layout as a picture.

#include "app/user_interface.h"
#include "layout/island_packing.h"

namespace corvina {

OptionDialog packIslandsDialog(PackOptions& options);

}  // namespace corvina
