// The generated models of the "&New Model" menu.

#include <array>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"

namespace corvina {

namespace {

constexpr std::array kRows{
    CommandRow{.id = kCommandNewBox,
               .name = "Box",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "&Box",
               .menuPosition = 2,
               .statusText = "Create a new Box model",
               .enabled = always,
               .step = "new-box",
               .summary = "generate a box model"},
    CommandRow{.id = kCommandNewCone,
               .name = "Cone",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "&Cone",
               .menuPosition = 3,
               .statusText = "Create a new Cone model",
               .enabled = always,
               .step = "new-cone",
               .summary = "generate a cone model"},
    CommandRow{.id = kCommandNewCylinder,
               .name = "Cylinder",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "C&ylinder",
               .menuPosition = 4,
               .statusText = "Create a new Cylinder model",
               .enabled = always,
               .step = "new-cylinder",
               .summary = "generate a cylinder model"},
    CommandRow{.id = kCommandNewSphere,
               .name = "Sphere",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "&Sphere",
               .menuPosition = 5,
               .statusText = "Create a new Sphere model",
               .enabled = always,
               .step = "new-sphere",
               .summary = "generate a sphere model"},
    CommandRow{.id = kCommandNewTorus,
               .name = "Torus",
               .menu = "&File",
               .submenu = "&New Model",
               .menuText = "&Torus",
               .menuPosition = 6,
               .statusText = "Create a new Torus model",
               .enabled = always,
               .step = "new-torus",
               .summary = "generate a torus model"},
};

}  // namespace

std::span<const CommandRow> primitiveCommandRows() {
  return kRows;
}

}  // namespace corvina
