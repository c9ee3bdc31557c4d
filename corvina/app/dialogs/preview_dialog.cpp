#include "app/dialogs/preview_dialog.h"

#include "app/dialogs/option_fields.h"

namespace corvina {

OptionDialog renderPreviewDialog(preview::RenderPreviewOptions& o) {
  OptionField distance;
  distance.name = "distance";
  distance.label = "Camera distance from the model's centre (empty: frame the model)";
  distance.kind = OptionField::Kind::Text;
  distance.textValue = &o.distance;
  return OptionDialog{
      "Render 3D Preview",
      {intField("width", "Width", o.width, 1, preview::kLargestPreviewSide),
       intField("height", "Height", o.height, 1, preview::kLargestPreviewSide),
       floatField("yaw", "Yaw in Degrees", o.yaw, -360.0, 360.0),
       floatField("pitch", "Pitch in Degrees", o.pitch, -89.0, 89.0), distance,
       choiceField("texture", "Texture", o.texture, {"checker", "background", "sets"},
                   {"Checker", "Background Picture", "Set Colours"})}};
}

}  // namespace corvina
