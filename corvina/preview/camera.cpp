#include "preview/camera.h"

#include <algorithm>
#include <cmath>

namespace corvina::preview {

namespace {

constexpr float kPi = 3.14159265358979f;

float radians(float degrees) {
  return degrees * kPi / 180.0f;
}

Vector3 cross(Vector3 a, Vector3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(Vector3 a, Vector3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 normalized(Vector3 v) {
  const float length = std::sqrt(dot(v, v));
  return length > 0 ? Vector3{v.x / length, v.y / length, v.z / length} : v;
}

// The camera's right, up and backward axes in model space.
struct Axes {
  Vector3 right, up, back;
};

Axes axesOf(const OrbitCamera& camera) {
  const float yaw = radians(camera.yawDegrees);
  const float pitch = radians(camera.pitchDegrees);
  const Vector3 back{std::cos(pitch) * std::sin(yaw), std::sin(pitch),
                     std::cos(pitch) * std::cos(yaw)};
  // The pitch never reaches the poles, so the vertical axis is never parallel.
  const Vector3 right = normalized(cross({0, 1, 0}, back));
  return {right, cross(back, right), back};
}

}  // namespace

SceneBounds modelBounds(const ModelStore& store) {
  SceneBounds bounds;
  const std::size_t count =
      std::min(store.vertices.size(), static_cast<std::size_t>(std::max(store.numVerts, 0)));
  for (std::size_t i = 0; i < count; ++i) {
    const Vertex& v = store.vertices[i];
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) continue;
    if (bounds.empty) {
      bounds.min = bounds.max = {v.x, v.y, v.z};
      bounds.empty = false;
      continue;
    }
    bounds.min = {std::min(bounds.min.x, v.x), std::min(bounds.min.y, v.y),
                  std::min(bounds.min.z, v.z)};
    bounds.max = {std::max(bounds.max.x, v.x), std::max(bounds.max.y, v.y),
                  std::max(bounds.max.z, v.z)};
  }
  if (bounds.empty) return bounds;
  const double cx = bounds.min.x / 2.0 + bounds.max.x / 2.0;
  const double cy = bounds.min.y / 2.0 + bounds.max.y / 2.0;
  const double cz = bounds.min.z / 2.0 + bounds.max.z / 2.0;
  double farthest = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Vertex& v = store.vertices[i];
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) continue;
    const double dx = v.x - cx, dy = v.y - cy, dz = v.z - cz;
    farthest = std::max(farthest, dx * dx + dy * dy + dz * dz);
  }
  bounds.radius = static_cast<float>(std::sqrt(farthest));
  return bounds;
}

float framingDistance(float radius, float fieldOfViewDegrees, float aspect) {
  const float halfVertical = radians(fieldOfViewDegrees) / 2;
  const float halfHorizontal = std::atan(std::tan(halfVertical) * std::max(aspect, 1e-3f));
  const float half = std::min(halfVertical, halfHorizontal);
  return 1.05f * radius / std::sin(half);
}

void frameBounds(OrbitCamera& camera, const SceneBounds& bounds, float aspect) {
  float radius = 1.0f;
  camera.target = {};
  if (!bounds.empty) {
    // Halves first, so coordinates near the float limit do not overflow.
    camera.target = {bounds.min.x / 2 + bounds.max.x / 2, bounds.min.y / 2 + bounds.max.y / 2,
                     bounds.min.z / 2 + bounds.max.z / 2};
    const Vector3 half{bounds.max.x / 2 - bounds.min.x / 2, bounds.max.y / 2 - bounds.min.y / 2,
                       bounds.max.z / 2 - bounds.min.z / 2};
    // In double: the squares of far-out coordinates overflow a float.
    radius = bounds.radius > 0
                 ? bounds.radius
                 : static_cast<float>(std::sqrt(static_cast<double>(half.x) * half.x +
                                                static_cast<double>(half.y) * half.y +
                                                static_cast<double>(half.z) * half.z));
    // A single point or an overflowing box still gets a usable view.
    if (!(radius > 0) || !std::isfinite(radius)) radius = 1.0f;
  }
  camera.radius = radius;
  camera.distance = framingDistance(radius, camera.fieldOfViewDegrees, aspect);
}

void orbit(OrbitCamera& camera, float dxPixels, float dyPixels) {
  camera.yawDegrees = std::fmod(camera.yawDegrees - dxPixels * 0.5f, 360.0f);
  camera.pitchDegrees = std::clamp(camera.pitchDegrees + dyPixels * 0.5f, -89.0f, 89.0f);
}

void zoom(OrbitCamera& camera, float steps) {
  camera.distance = std::clamp(camera.distance * std::pow(0.9f, steps), camera.radius * 0.01f,
                               camera.radius * 100.0f);
}

void pan(OrbitCamera& camera, float dxPixels, float dyPixels, int viewHeight) {
  const float worldPerPixel = 2 * camera.distance *
                              std::tan(radians(camera.fieldOfViewDegrees) / 2) /
                              static_cast<float>(std::max(viewHeight, 1));
  const Axes axes = axesOf(camera);
  const float right = -dxPixels * worldPerPixel;
  const float up = dyPixels * worldPerPixel;
  camera.target = {camera.target.x + axes.right.x * right + axes.up.x * up,
                   camera.target.y + axes.right.y * right + axes.up.y * up,
                   camera.target.z + axes.right.z * right + axes.up.z * up};
}

Vector3 eyePosition(const OrbitCamera& camera) {
  const Vector3 back = axesOf(camera).back;
  return {camera.target.x + back.x * camera.distance, camera.target.y + back.y * camera.distance,
          camera.target.z + back.z * camera.distance};
}

Matrix4 viewMatrix(const OrbitCamera& camera) {
  const Axes a = axesOf(camera);
  const Vector3 eye = eyePosition(camera);
  return {
      a.right.x, a.up.x, a.back.x, 0, a.right.y,          a.up.y,          a.back.y,          0,
      a.right.z, a.up.z, a.back.z, 0, -dot(a.right, eye), -dot(a.up, eye), -dot(a.back, eye), 1};
}

Matrix4 projectionMatrix(const OrbitCamera& camera, float aspect) {
  const float span = std::max(camera.radius, 1e-6f);
  // Inside the bounding sphere the near plane comes close to the eye.
  const float nearPlane = std::max(camera.distance - 1.5f * span, camera.distance * 0.01f);
  const float farPlane = camera.distance + 1.5f * span;
  const float f = 1.0f / std::tan(radians(camera.fieldOfViewDegrees) / 2);
  const float a = std::max(aspect, 1e-3f);
  Matrix4 m{};
  m[0] = f / a;
  m[5] = f;
  m[10] = (farPlane + nearPlane) / (nearPlane - farPlane);
  m[11] = -1;
  m[14] = 2 * farPlane * nearPlane / (nearPlane - farPlane);
  return m;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 m{};
  for (int column = 0; column < 4; ++column)
    for (int row = 0; row < 4; ++row) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
      m[column * 4 + row] = sum;
    }
  return m;
}

}  // namespace corvina::preview
