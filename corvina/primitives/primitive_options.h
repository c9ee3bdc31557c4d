#pragma once
// The records of the five "Create ..." dialogs. Unlike the other option
// records they are made afresh for every command, so each dialog opens with
// these values.

namespace corvina {

struct BoxOptions {
  float height = 3.0f;
  float width = 1.5f;
  float depth = 0.5f;
  bool gaps = true;
  int resolution = 75;  // texture-map pixels per model unit
};

struct ConeOptions {
  float height = 2.5f;
  float bottomDiameter = 2.5f;
  int radialDivisions = 16;  // 3 to 8092
  bool gaps = true;
  int resolution = 75;
};

struct CylinderOptions {
  float height = 5.0f;
  float topDiameter = 2.5f;
  float bottomDiameter = 2.5f;
  int radialDivisions = 16;  // 3 to 8092
  bool gaps = true;
  int resolution = 75;
};

struct SphereOptions {
  float radius = 2.5f;
  int verticalDivisions = 16;  // 2 to 8192
  int radialDivisions = 32;    // 2 to 8192
  bool gaps = false;
  float resolution = 75.0f;
};

struct TorusOptions {
  float innerRadius = 2.5f;
  float outerRadius = 5.0f;
  int verticalDivisions = 16;  // 2 to 8192
  int radialDivisions = 32;    // 2 to 8192
  int rotate = 0;              // degrees, -360 to 360
  bool gaps = false;           // shown, but the torus's grid has no gaps
  float resolution = 75.0f;
};

// The dialogs' ranges for the divisions and the torus rotation.
constexpr int kMinConeDivisions = 3;
constexpr int kMaxConeDivisions = 8092;
constexpr int kMinRoundDivisions = 2;
constexpr int kMaxRoundDivisions = 8192;
constexpr int kMaxTorusRotation = 360;

}  // namespace corvina
