// The mesh tools: triangulation, degenerate facets, weld, split, seams and
// smoothing.

#include <array>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"

namespace corvina {

namespace {

constexpr std::array kRows{
    CommandRow{.id = kCommandTriangulate,
               .name = "Triangulate",
               .enabled = modelLoaded,
               .step = "triangulate",
               .takesAnswer = true,
               .summary = "split every facet into triangles"},
    CommandRow{.id = kCommandDegenerates,
               .name = "Degenerates",
               .enabled = modelLoaded,
               .step = "degenerates",
               .takesAnswer = true,
               .summary = "remove degenerate facets"},
    CommandRow{.id = kCommandWeldVertices,
               .name = "Weld",
               .menu = "&Edit",
               .submenu = "&Tools",
               .menuText = "&Weld Vertices",
               .menuPosition = 21,
               .statusText = "Weld duplicate vertices",
               .enabled = modelLoaded,
               .step = "weld",
               .summary = "weld duplicate vertices (&Weld Vertices)"},
    CommandRow{.id = kCommandSplitVertices,
               .name = "TextureSeams",
               .menu = "&Edit",
               .submenu = "&Tools",
               .menuText = "&Split Vertices",
               .menuPosition = 20,
               .statusText = "Fix Poser texture seams",
               .enabled = modelLoaded,
               .step = "split-vertices",
               .summary = "split vertices at texture seams (&Split Vertices)"},
    CommandRow{.id = kCommandFixSeams,
               .name = "ModelSeams",
               .menu = "&Edit",
               .submenu = "&Tools",
               .menuText = "&Fix Seams",
               .menuPosition = 19,
               .statusText = "Fix Poser model seams",
               .enabled = modelLoaded,
               .step = "fix-seams",
               .summary = "make the normals along seams agree (&Fix Seams)"},
    CommandRow{.id = kCommandSmooth,
               .name = "Smooth",
               .enabled = always,
               .step = "smooth",
               .summary = "smooth the model's normals"},
};

}  // namespace

std::span<const CommandRow> toolsCommandRows() {
  return kRows;
}

}  // namespace corvina
