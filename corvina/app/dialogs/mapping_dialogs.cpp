#include "app/dialogs/mapping_dialogs.h"

#include "app/dialogs/option_fields.h"

namespace corvina {

namespace {

OptionField mapSizeField(int& value) {
  return intField("mapSize", "Map Size", value, 1, 8192);
}

OptionField axisField(int& value) {
  return choiceField("alignment", "Alignment", value, {"x", "y", "z"},
                     {"X-Axis", "Y-Axis", "Z-Axis"});
}

}  // namespace

OptionDialog planarMappingDialog(PlanarMappingOptions& o) {
  return OptionDialog{"Planar Mapping",
                      {mapSizeField(o.mapSize), axisField(o.alignment),
                       choiceField("orientation", "Orientation", o.orientation,
                                   {"horizontal", "vertical"}, {"Horizontal", "Vertical"}),
                       boolField("gaps", "Gaps in Map", o.gaps),
                       floatField("offset", "By Position with Offset of", o.offset),
                       choiceField("split", "Split", o.split, {"none", "orientation", "position"},
                                   {"Don't Split", "By Orientation", "By Position with Offset of"}),
                       boolField("scaleResult", "Scale Result", o.scaleResult)}};
}

OptionDialog boxMappingDialog(BoxMappingOptions& o) {
  return OptionDialog{
      "Box Mapping",
      {boolField("split", "Split front/back", o.split), boolField("gaps", "Gaps in Map", o.gaps),
       mapSizeField(o.mapSize), boolField("scaleResult", "Scale Result", o.scaleResult)}};
}

OptionDialog radialMappingDialog(RadialMappingOptions& o, RadialKind kind) {
  const char* title = kind == RadialKind::Cylindrical      ? "Cylindrical Mapping"
                      : kind == RadialKind::CylindricalCap ? "Cylindrical Cap Mapping"
                                                           : "Spherical Mapping";
  return OptionDialog{title,
                      {boolField("gaps", "Gaps in Map", o.gaps), axisField(o.alignment),
                       mapSizeField(o.mapSize), floatField("offsetX", "X", o.offsetX),
                       floatField("offsetY", "Y", o.offsetY), floatField("offsetZ", "Z", o.offsetZ),
                       boolField("scaleResult", "Scale Result", o.scaleResult),
                       intField("rotation", "Rotation", o.rotation, 0, 359),
                       boolField("spreadAtPoles", "Spread facets at poles", o.spreadAtPoles)}};
}

OptionDialog perFacetMappingDialog(PerFacetMappingOptions& o) {
  return OptionDialog{
      "Per Facet Mapping",
      {boolField("multipleMaps", "Create Multiple Maps", o.multipleMaps),
       choiceField("arrangeBy", "Arrange By", o.arrangeBy, {"model", "group", "material", "region"},
                   {"Model Order", "Group", "Material", "Region"}),
       mapSizeField(o.mapSize), floatField("gap", "Gap Percentage", o.gap, 0.0, 1.0)}};
}

OptionDialog tileOptionsDialog(TileOptions& o) {
  return OptionDialog{"Tile Options",
                      {boolField("gaps", "Gaps in Texture Map", o.gaps),
                       boolField("rescale", "Rescale each Section", o.rescale)}};
}

OptionDialog rotateModelDialog(RotateModelOptions& o) {
  return OptionDialog{
      "Rotate Model",
      {intField("x", "X (degrees)", o.x, -360, 360), intField("y", "Y (degrees)", o.y, -360, 360),
       intField("z", "Z (degrees)", o.z, -360, 360)}};
}

}  // namespace corvina
