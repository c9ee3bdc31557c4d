#pragma once
// The option dialogs of the texture-map layout commands: packing the islands
// and exporting the layout as a picture.

#include "app/user_interface.h"
#include "layout/island_packing.h"
#include "layout/layout_export.h"

namespace corvina {

OptionDialog packIslandsDialog(PackOptions& options);

enum class LayoutDialogKind { Menu, Png, Svg };

// "Layout Export Options": the menu's dialog has every field with the format
// first; the export-png and export-svg steps take the fields of their format.
OptionDialog layoutExportDialog(LayoutExportOptions& options, LayoutDialogKind kind);

}  // namespace corvina
