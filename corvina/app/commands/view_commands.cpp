// The view's own commands: the background picture's keys and rendering the
// view to a picture file.

#include <array>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"

namespace corvina {

namespace {

constexpr std::array kRows{
    CommandRow{.id = kCommandLoadBackground,
               .name = "LoadBackground",
               .keys = "Ctrl+B",
               .enabled = always,
               .step = "background",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "load a BMP picture under the texture map (Ctrl+B)"},
    CommandRow{.id = kCommandClearBackground,
               .name = "ClearBackground",
               .keys = "Ctrl+C",
               .enabled = always,
               .step = "background-clear",
               .takesAnswer = true,
               .summary = "remove the background picture (Ctrl+C)"},
    CommandRow{.id = kCommandFlipBackgroundH,
               .name = "FlipBackgroundH",
               .keys = "Ctrl+U",
               .enabled = always,
               .step = "background-flip-h",
               .summary = "mirror the background picture horizontally (Ctrl+U)"},
    CommandRow{.id = kCommandFlipBackgroundV,
               .name = "FlipBackgroundV",
               .keys = "Ctrl+V",
               .enabled = always,
               .step = "background-flip-v",
               .summary = "mirror the background picture vertically (Ctrl+V)"},
    CommandRow{.id = kCommandToggleBackground,
               .name = "ToggleBackground",
               .keys = "Tab",
               .enabled = always,
               .step = "background-toggle",
               .summary = "show or hide the background picture (Tab)"},
    CommandRow{.name = "render",
               .step = "render",
               .argument = StepArgument::Path,
               .argumentName = "PATH",
               .summary = "write what the view shows as a PNG picture"},
};

}  // namespace

std::span<const CommandRow> viewCommandRows() {
  return kRows;
}

}  // namespace corvina
