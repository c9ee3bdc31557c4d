#include "app/dialogs/normal_smoothing_dialog.h"

#include "app/dialogs/option_fields.h"

namespace corvina {

OptionDialog smoothingOptionsDialog(SmoothingOptions& options) {
  return {"Smooth Model",
          {floatField("angle", "Smoothing Angle", options.angle, 0, 180),
           choiceField(
               "scope", "Settings", options.scope, {"all", "group", "material", "region"},
               {"Using all facets", "Smooth by Group", "Smooth by Material", "Smooth by Region"})}};
}

}  // namespace corvina
