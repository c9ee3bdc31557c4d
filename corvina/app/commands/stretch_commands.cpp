// The distortion display: View > Show Stretch and Show Angle Stretch, and
// corvina-cli's stretch report.

#include <array>
#include <new>
#include <string>

#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/commands/command_rows.h"
#include "preview/distortion.h"
#include "preview/stretch_report.h"
#include "preview/texel_density.h"

namespace corvina {

namespace {

// Choosing the mode shown turns the fill off; choosing the other switches.
template <StretchView Mode>
void runShowStretch(CommandContext& context) {
  StretchView& shown = context.app.stretchView;
  shown = shown == Mode ? StretchView::Off : Mode;
  context.ui.refreshViews();
}

template <StretchView Mode>
bool stretchShown(const ApplicationState& app) {
  return app.stretchView == Mode;
}

// The report measures the map as the view shows it, a pending move of the
// selection included.
void runStretchReport(CommandContext& context) {
  const SelectionState& selection = context.app.document.selection();
  std::string text;
  try {
    FacetDistortion distortion;
    if (!measureDistortion(context.app.store, &selection, distortion)) throw std::bad_alloc();
    const TexelDensity density = measureTexelDensity(context.app.store, &selection);
    text = stretchReportText(summarizeDistortion(distortion), density);
  } catch (const std::bad_alloc&) {
    context.ui.showMessage("Error", "Insufficient memory", MessageIcon::Error);
    return;
  }
  context.ui.showMessage("Stretch", text, MessageIcon::None);
}

constexpr std::array kRows{
    CommandRow{.id = kCommandShowStretch,
               .name = "ShowStretch",
               .menu = "&View",
               .menuText = "Show &Stretch",
               .menuPosition = 46,
               .statusText = "Colour each facet by its share of the map over its share of the "
                             "surface: blue less, white equal, red more",
               .enabled = always,
               .checked = stretchShown<StretchView::Area>,
               .step = "show-stretch",
               .summary = "fill the facets by area distortion, or stop (Show &Stretch)",
               .run = runShowStretch<StretchView::Area>},
    CommandRow{.id = kCommandShowAngleStretch,
               .name = "ShowAngleStretch",
               .menu = "&View",
               .menuText = "Show &Angle Stretch",
               .menuPosition = 47,
               .statusText = "Colour each facet by how much its corners' angles change on the map: "
                             "white none, red 45 degrees or more",
               .enabled = always,
               .checked = stretchShown<StretchView::Angle>,
               .step = "show-angle-stretch",
               .summary = "fill the facets by angle distortion, or stop (Show &Angle Stretch)",
               .run = runShowStretch<StretchView::Angle>},
    CommandRow{.name = "stretch",
               .enabled = modelHasTextureCoordinates,
               .step = "stretch",
               .summary = "print the area and angle distortion and the texel density",
               .run = runStretchReport},
};

}  // namespace

std::span<const CommandRow> stretchCommandRows() {
  return kRows;
}

}  // namespace corvina
