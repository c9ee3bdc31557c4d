#pragma once
// The 3D preview's camera: it orbits a target point (yaw about the vertical
// axis, pitch above the horizon), zooms by its distance to the target and
// pans the target across the view. "Framing" puts the target at the centre
// of the model's bounds and the camera just far enough away for the bounding
// sphere to fill the view. Matrices are column-major, as OpenGL reads them.

#include <array>

#include "model/model_store.h"

namespace corvina::preview {

struct Vector3 {
  float x = 0, y = 0, z = 0;
};

using Matrix4 = std::array<float, 16>;  // column-major

// The box around the model's vertices; `empty` while there is none.
// `radius` is the farthest vertex's distance from the box's centre (0: not
// measured; the half diagonal stands in).
struct SceneBounds {
  Vector3 min, max;
  bool empty = true;
  float radius = 0;
};

// The box around every finite vertex position of the store, and the radius
// of the sphere about its centre that holds them (tighter than the box's
// half diagonal for round models).
SceneBounds modelBounds(const ModelStore& store);

struct OrbitCamera {
  float yawDegrees = 30.0f;          // turn about +y; 0 looks from +z towards -z
  float pitchDegrees = 20.0f;        // height above the horizon, -89..89
  float distance = 3.0f;             // from the eye to the target
  Vector3 target;                    // the point the camera looks at and orbits
  float radius = 1.0f;               // the model's bounding radius: depth range, zoom and pan scale
  float fieldOfViewDegrees = 40.0f;  // vertical
};

// The distance at which a sphere of `radius` fits a view of `aspect`
// (width over height) with a small margin.
float framingDistance(float radius, float fieldOfViewDegrees, float aspect);

// Targets the centre of `bounds` at the framing distance; yaw and pitch stay.
// Empty bounds frame the unit sphere around the origin.
void frameBounds(OrbitCamera& camera, const SceneBounds& bounds, float aspect);

// A drag of (dx, dy) pixels turns the camera half a degree per pixel; the
// pitch stops short of the poles.
void orbit(OrbitCamera& camera, float dxPixels, float dyPixels);

// Wheel steps: each step in (positive) brings the eye 10% closer; the
// distance stays within 1/100 and 100 times the radius.
void zoom(OrbitCamera& camera, float steps);

// Moves the target so the model follows a drag of (dx, dy) pixels (y down)
// in a view `viewHeight` pixels high, at the target's depth.
void pan(OrbitCamera& camera, float dxPixels, float dyPixels, int viewHeight);

Vector3 eyePosition(const OrbitCamera& camera);
Matrix4 viewMatrix(const OrbitCamera& camera);
// A perspective projection whose depth range holds the bounding sphere.
Matrix4 projectionMatrix(const OrbitCamera& camera, float aspect);
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

}  // namespace corvina::preview
