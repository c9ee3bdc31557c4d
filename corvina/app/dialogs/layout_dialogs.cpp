#include "app/dialogs/layout_dialogs.h"

#include "app/dialogs/option_fields.h"

namespace corvina {

OptionDialog packIslandsDialog(PackOptions& o) {
  return OptionDialog{
      "Pack Islands",
      {intField("width", "Map Width", o.width, 1, kLargestPackSide),
       intField("height", "Map Height", o.height, 1, kLargestPackSide),
       floatField("padding", "Padding in Pixels", o.padding, 0.0, kLargestPadding),
       boolField("allowRotation", "Allow 90 degree rotations", o.allowRotation),
       boolField("equalDensity", "Scale islands to equal texel density first", o.equalDensity),
       boolField("selectedOnly", "Selected islands only, into the selection's frame",
                 o.selectedOnly)}};
}

}  // namespace corvina
