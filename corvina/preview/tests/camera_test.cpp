// The preview camera: bounds, framing, orbit, zoom, pan and the matrices,
// checked by projecting known points.

#include "preview/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testing/model_builder.h"

namespace corvina::preview {
namespace {

struct Clip {
  float x, y, z, w;
};

Clip transform(const Matrix4& m, Vector3 p) {
  return {
      m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
      m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14], m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15]};
}

// Normalised device coordinates of p through the camera.
Vector3 project(const OrbitCamera& camera, float aspect, Vector3 p) {
  const Clip c = transform(multiply(projectionMatrix(camera, aspect), viewMatrix(camera)), p);
  return {c.x / c.w, c.y / c.w, c.z / c.w};
}

ModelStore pointsModel(const std::vector<Vertex>& points) {
  return testing::buildModel(points, {}, {});
}

TEST(PreviewCameraTest, BoundsHoldEveryFiniteVertex) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    std::vector<Vertex> points;
    bool empty;
    Vector3 min, max;
    float radius;
  };
  const Case cases[] = {
      {{}, true, {}, {}, 0},
      {{{1, 2, 3}}, false, {1, 2, 3}, {1, 2, 3}, 0},
      // Centre (-1, 1.5, -1.5): the farthest vertex is (1, -2, 3).
      {{{1, -2, 3}, {-4, 5, 0}, {2, 0, -6}}, false, {-4, -2, -6}, {2, 5, 3}, std::sqrt(36.5f)},
      {{{nan, 0, 0}, {0, inf, 0}, {1, 1, 1}}, false, {1, 1, 1}, {1, 1, 1}, 0},
      {{{nan, nan, nan}}, true, {}, {}, 0},
      // A ring's sphere is its own radius, not the box's half diagonal.
      {{{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}}, false, {-1, -1, 0}, {1, 1, 0}, 1},
  };
  for (const Case& c : cases) {
    const SceneBounds b = modelBounds(pointsModel(c.points));
    EXPECT_EQ(b.empty, c.empty);
    if (c.empty) continue;
    EXPECT_EQ(b.min.x, c.min.x);
    EXPECT_EQ(b.min.y, c.min.y);
    EXPECT_EQ(b.min.z, c.min.z);
    EXPECT_EQ(b.max.x, c.max.x);
    EXPECT_EQ(b.max.y, c.max.y);
    EXPECT_EQ(b.max.z, c.max.z);
    EXPECT_FLOAT_EQ(b.radius, c.radius);
  }
}

TEST(PreviewCameraTest, FramingCentresTheBoxAndFitsItsSphere) {
  struct Case {
    SceneBounds bounds;
    float aspect;
    Vector3 target;
    float radius;
  };
  const Case cases[] = {
      {{{-1, -1, -1}, {1, 1, 1}, false}, 1.0f, {0, 0, 0}, std::sqrt(3.0f)},
      {{{10, 0, 0}, {14, 6, 0}, false}, 2.0f, {12, 3, 0}, std::sqrt(13.0f)},
      {{{5, 5, 5}, {5, 5, 5}, false}, 0.5f, {5, 5, 5}, 1.0f},  // a point: unit radius
      {{{}, {}, true}, 1.0f, {0, 0, 0}, 1.0f},
      {{{-3e38f, 0, 0}, {3e38f, 0, 0}, false}, 1.0f, {0, 0, 0}, 3e38f},
      {{{-1, -1, 0}, {1, 1, 0}, false, 1.0f},
       1.0f,
       {0, 0, 0},
       1.0f},  // a measured radius  // no overflow
  };
  for (const Case& c : cases) {
    OrbitCamera camera;
    camera.yawDegrees = 75;
    frameBounds(camera, c.bounds, c.aspect);
    EXPECT_EQ(camera.yawDegrees, 75);
    EXPECT_FLOAT_EQ(camera.target.x, c.target.x);
    EXPECT_FLOAT_EQ(camera.target.y, c.target.y);
    EXPECT_FLOAT_EQ(camera.target.z, c.target.z);
    EXPECT_FLOAT_EQ(camera.radius, c.radius);
    EXPECT_FLOAT_EQ(camera.distance, framingDistance(c.radius, 40.0f, c.aspect));
  }
}

TEST(PreviewCameraTest, AFramedSphereTouchesTheNarrowerSideWithAMargin) {
  for (const float aspect : {0.5f, 1.0f, 2.0f}) {
    OrbitCamera camera;
    camera.yawDegrees = 0;
    camera.pitchDegrees = 0;
    frameBounds(camera, {{-1, -1, -1}, {1, 1, 1}, false}, aspect);
    const float r = camera.radius;
    // Looking down -z: the sphere's silhouette is near r across at the target.
    const Vector3 right = project(camera, aspect, {r, 0, 0});
    const Vector3 top = project(camera, aspect, {0, r, 0});
    const float widest = std::max(right.x, top.y);
    EXPECT_LT(widest, 1.0f) << aspect;
    EXPECT_GT(widest, 0.85f) << aspect;
  }
}

TEST(PreviewCameraTest, TheTargetProjectsToTheCentreInsideTheDepthRange) {
  const float angles[][2] = {{0, 0}, {30, 20}, {-120, 60}, {200, -89}};
  for (const auto& [yaw, pitch] : angles) {
    OrbitCamera camera;
    camera.yawDegrees = yaw;
    camera.pitchDegrees = pitch;
    frameBounds(camera, {{0, 0, 0}, {2, 4, 6}, false}, 1.5f);
    const Vector3 centre = project(camera, 1.5f, camera.target);
    EXPECT_NEAR(centre.x, 0, 1e-5);
    EXPECT_NEAR(centre.y, 0, 1e-5);
    EXPECT_GT(centre.z, -1);
    EXPECT_LT(centre.z, 1);
    // Every corner of the box lies between the clip planes.
    for (const float x : {0.f, 2.f})
      for (const float y : {0.f, 4.f})
        for (const float z : {0.f, 6.f}) {
          const Vector3 p = project(camera, 1.5f, {x, y, z});
          EXPECT_GT(p.z, -1);
          EXPECT_LT(p.z, 1);
        }
  }
}

TEST(PreviewCameraTest, YawAndPitchPlaceTheEye) {
  struct Case {
    float yaw, pitch;
    Vector3 eye;
  };
  const Case cases[] = {{0, 0, {0, 0, 2}},
                        {90, 0, {2, 0, 0}},
                        {180, 0, {0, 0, -2}},
                        {0, 30, {0, 1, std::sqrt(3.0f)}}};
  for (const Case& c : cases) {
    OrbitCamera camera;
    camera.yawDegrees = c.yaw;
    camera.pitchDegrees = c.pitch;
    camera.distance = 2;
    const Vector3 eye = eyePosition(camera);
    EXPECT_NEAR(eye.x, c.eye.x, 1e-5);
    EXPECT_NEAR(eye.y, c.eye.y, 1e-5);
    EXPECT_NEAR(eye.z, c.eye.z, 1e-5);
  }
}

TEST(PreviewCameraTest, DragsOrbitZoomAndPan) {
  OrbitCamera camera;
  camera.yawDegrees = 30;
  camera.pitchDegrees = 20;
  camera.radius = 1;
  camera.distance = 4;
  orbit(camera, 20, -10);
  EXPECT_FLOAT_EQ(camera.yawDegrees, 20);
  EXPECT_FLOAT_EQ(camera.pitchDegrees, 15);
  orbit(camera, 0, 1000);
  EXPECT_FLOAT_EQ(camera.pitchDegrees, 89);  // stops short of the pole
  orbit(camera, 0, -5000);
  EXPECT_FLOAT_EQ(camera.pitchDegrees, -89);

  zoom(camera, 1);
  EXPECT_FLOAT_EQ(camera.distance, 3.6f);
  zoom(camera, -2);
  EXPECT_NEAR(camera.distance, 3.6f / 0.81f, 1e-5);
  zoom(camera, 1000);
  EXPECT_FLOAT_EQ(camera.distance, 0.01f);
  zoom(camera, -100000);
  EXPECT_FLOAT_EQ(camera.distance, 100.0f);

  // Looking down -z: a drag right by a quarter of the view height moves the
  // target left by a quarter of the visible height.
  OrbitCamera flat;
  flat.yawDegrees = 0;
  flat.pitchDegrees = 0;
  flat.distance = 10;
  pan(flat, 100, 0, 400);
  const float visible = 2 * 10 * std::tan(20.0f * 3.14159265f / 180);
  EXPECT_NEAR(flat.target.x, -visible / 4, 1e-4);
  EXPECT_NEAR(flat.target.y, 0, 1e-6);
  pan(flat, 0, 100, 400);  // down the screen: the target goes up
  EXPECT_NEAR(flat.target.y, visible / 4, 1e-4);
  EXPECT_NEAR(flat.target.z, 0, 1e-6);
}

}  // namespace
}  // namespace corvina::preview
