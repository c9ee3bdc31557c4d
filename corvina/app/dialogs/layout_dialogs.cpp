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

OptionDialog layoutExportDialog(LayoutExportOptions& o, LayoutDialogKind kind) {
  OptionDialog dialog{"Layout Export Options", {}};
  if (kind == LayoutDialogKind::Menu)
    dialog.fields.push_back(
        choiceField("format", "Format", o.format, {"png", "svg"}, {"PNG Picture", "SVG Drawing"}));
  dialog.fields.push_back(intField("width", "Width", o.width, 1, kLargestLayoutSide));
  dialog.fields.push_back(intField("height", "Height", o.height, 1, kLargestLayoutSide));
  dialog.fields.push_back(floatField("lineWidth", "Line Width in Pixels", o.lineWidth, 0.1, 64.0));
  if (kind != LayoutDialogKind::Svg)
    dialog.fields.push_back(choiceField("fill", "Fill Facets at Half Opacity (PNG)", o.fill,
                                        {"none", "group", "material", "region"},
                                        {"No Fill", "By Group", "By Material", "By Region"}));
  if (kind != LayoutDialogKind::Png)
    dialog.fields.push_back(choiceField("groupBy", "Group Polygons (SVG)", o.groupBy,
                                        {"group", "material", "region"},
                                        {"By Group", "By Material", "By Region"}));
  dialog.fields.push_back(boolField("flipV", "Flip Texture Map Vertically", o.flipV));
  dialog.fields.push_back(boolField("flipH", "Flip Texture Map Horizontally", o.flipH));
  dialog.fields.push_back(boolField("excludeHidden", "Exclude hidden facets", o.excludeHidden));
  return dialog;
}

}  // namespace corvina
