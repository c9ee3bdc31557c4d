// The texture-coordinate files: UVS import and export and the bitmap template
// of the texture map.

#include <array>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"

namespace corvina {

namespace {

constexpr std::array kRows{
    CommandRow{.id = kCommandExportUvs,
               .name = "Export",
               .menu = "&File",
               .menuText = "&Export UVs...\tCtrl+E",
               .menuPosition = 10,
               .keys = "Ctrl+E",
               .statusText = "Export texture coodinates",
               .enabled = modelHasTextureCoordinates,
               .step = "export-uvs",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "save the texture coordinates as UVS (&Export UVs...)"},
    CommandRow{.id = kCommandImportUvs,
               .name = "Import",
               .menu = "&File",
               .menuText = "&Import UVs...\tCtrl+I",
               .menuPosition = 7,
               .keys = "Ctrl+I",
               .statusText = "Import texture coordinates",
               .enabled = modelLoaded,
               .step = "import-uvs",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .takesAnswer = true,
               .summary = "apply a UVS file to the model (&Import UVs...)"},
    CommandRow{.id = kCommandSaveTextureMap,
               .name = "Save",
               .menu = "&File",
               .menuText = "Save &Texture Map...\tCtrl+T",
               .menuPosition = 9,
               .keys = "Ctrl+T",
               .statusText = "Export a BMP texture map",
               .enabled = modelHasTextureCoordinates,
               .step = "save-bmp",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .takesAnswer = true,
               .summary = "save the texture map as a BMP template (Save &Texture Map...)"},
};

}  // namespace

std::span<const CommandRow> textureFileCommandRows() {
  return kRows;
}

}  // namespace corvina
