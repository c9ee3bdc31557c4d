#include "app/dialogs/primitive_dialogs.h"

namespace corvina {

namespace {

// A number field without a range (minimum and maximum 0): any finite value.
OptionField length(const char* name, const char* label, float& value) {
  OptionField field;
  field.name = name;
  field.label = label;
  field.kind = OptionField::Kind::Float;
  field.floatValue = &value;
  return field;
}

OptionField whole(const char* name, const char* label, int& value, int minimum = 0,
                  int maximum = 0) {
  OptionField field;
  field.name = name;
  field.label = label;
  field.kind = OptionField::Kind::Int;
  field.intValue = &value;
  field.minimum = minimum;
  field.maximum = maximum;
  return field;
}

OptionField gaps(bool& value) {
  OptionField field;
  field.name = "gaps";
  field.label = "Gaps in Texture Map";
  field.kind = OptionField::Kind::Bool;
  field.boolValue = &value;
  return field;
}

constexpr const char* kResolution = "Resolution (DPU)";

}  // namespace

OptionDialog boxDialog(BoxOptions& options) {
  return {"Create Box",
          {length("height", "Height", options.height), length("width", "Width", options.width),
           length("depth", "Depth", options.depth), gaps(options.gaps),
           whole("resolution", kResolution, options.resolution)}};
}

OptionDialog coneDialog(ConeOptions& options) {
  return {"Create Cone",
          {length("height", "Height", options.height),
           length("bottomDiameter", "Bottom Diameter", options.bottomDiameter),
           whole("radialDivisions", "Radial Divisions", options.radialDivisions, kMinConeDivisions,
                 kMaxConeDivisions),
           gaps(options.gaps), whole("resolution", kResolution, options.resolution)}};
}

OptionDialog cylinderDialog(CylinderOptions& options) {
  return {"Create Cylinder",
          {length("height", "Height", options.height),
           length("topDiameter", "Top Diameter", options.topDiameter),
           length("bottomDiameter", "Bottom Diameter", options.bottomDiameter),
           whole("radialDivisions", "Radial Divisions", options.radialDivisions, kMinConeDivisions,
                 kMaxConeDivisions),
           gaps(options.gaps), whole("resolution", kResolution, options.resolution)}};
}

OptionDialog sphereDialog(SphereOptions& options) {
  return {"Create Sphere",
          {length("radius", "Radius", options.radius),
           whole("verticalDivisions", "Vertical Divisions", options.verticalDivisions,
                 kMinRoundDivisions, kMaxRoundDivisions),
           whole("radialDivisions", "Radial Divisions", options.radialDivisions, kMinRoundDivisions,
                 kMaxRoundDivisions),
           gaps(options.gaps), length("resolution", kResolution, options.resolution)}};
}

OptionDialog torusDialog(TorusOptions& options) {
  return {
      "Create Torus",
      {length("innerRadius", "Inner Radius", options.innerRadius),
       length("outerRadius", "Outer Radius", options.outerRadius),
       whole("verticalDivisions", "Vertical Divisions", options.verticalDivisions,
             kMinRoundDivisions, kMaxRoundDivisions),
       whole("radialDivisions", "Radial Divisions", options.radialDivisions, kMinRoundDivisions,
             kMaxRoundDivisions),
       whole("rotate", "Rotate (degrees)", options.rotate, -kMaxTorusRotation, kMaxTorusRotation),
       gaps(options.gaps), length("resolution", kResolution, options.resolution)}};
}

}  // namespace corvina
