#include "app/dialogs/primitive_dialogs.h"

#include "app/dialogs/option_fields.h"

namespace corvina {

namespace {

// Lengths take any finite number (no range).
OptionField length(const char* name, const char* label, float& value) {
  return floatField(name, label, value);
}

OptionField gaps(bool& value) {
  return boolField("gaps", "Gaps in Texture Map", value);
}

constexpr const char* kResolution = "Resolution (DPU)";

}  // namespace

OptionDialog boxDialog(BoxOptions& options) {
  return {"Create Box",
          {length("height", "Height", options.height), length("width", "Width", options.width),
           length("depth", "Depth", options.depth), gaps(options.gaps),
           intField("resolution", kResolution, options.resolution)}};
}

OptionDialog coneDialog(ConeOptions& options) {
  return {"Create Cone",
          {length("height", "Height", options.height),
           length("bottomDiameter", "Bottom Diameter", options.bottomDiameter),
           intField("radialDivisions", "Radial Divisions", options.radialDivisions,
                    kMinConeDivisions, kMaxConeDivisions),
           gaps(options.gaps), intField("resolution", kResolution, options.resolution)}};
}

OptionDialog cylinderDialog(CylinderOptions& options) {
  return {"Create Cylinder",
          {length("height", "Height", options.height),
           length("topDiameter", "Top Diameter", options.topDiameter),
           length("bottomDiameter", "Bottom Diameter", options.bottomDiameter),
           intField("radialDivisions", "Radial Divisions", options.radialDivisions,
                    kMinConeDivisions, kMaxConeDivisions),
           gaps(options.gaps), intField("resolution", kResolution, options.resolution)}};
}

OptionDialog sphereDialog(SphereOptions& options) {
  return {"Create Sphere",
          {length("radius", "Radius", options.radius),
           intField("verticalDivisions", "Vertical Divisions", options.verticalDivisions,
                    kMinRoundDivisions, kMaxRoundDivisions),
           intField("radialDivisions", "Radial Divisions", options.radialDivisions,
                    kMinRoundDivisions, kMaxRoundDivisions),
           gaps(options.gaps), length("resolution", kResolution, options.resolution)}};
}

OptionDialog torusDialog(TorusOptions& options) {
  return {"Create Torus",
          {length("innerRadius", "Inner Radius", options.innerRadius),
           length("outerRadius", "Outer Radius", options.outerRadius),
           intField("verticalDivisions", "Vertical Divisions", options.verticalDivisions,
                    kMinRoundDivisions, kMaxRoundDivisions),
           intField("radialDivisions", "Radial Divisions", options.radialDivisions,
                    kMinRoundDivisions, kMaxRoundDivisions),
           intField("rotate", "Rotate (degrees)", options.rotate, -kMaxTorusRotation,
                    kMaxTorusRotation),
           gaps(options.gaps), length("resolution", kResolution, options.resolution)}};
}

}  // namespace corvina
