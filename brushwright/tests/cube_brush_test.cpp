// A cube loaded from OBJ must come out as a brush whose six planes are the
// cube's six faces, and whose point order faces the way map compilers expect.

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <sstream>

#include "host/obj_model_loader.h"
#include "plugin/map_exporter.h"
#include "tests/test_support.h"

namespace brushwright_test {
namespace {

using Point = std::array<double, 3>;

// x 8..40, y 0..32 (up), z -48..-16; every quad winds counter-clockwise seen
// from outside, as OBJ models do.
const char* const kCubeObj =
    "v 8 0 -16\nv 40 0 -16\nv 40 32 -16\nv 8 32 -16\n"
    "v 8 0 -48\nv 40 0 -48\nv 40 32 -48\nv 8 32 -48\n"
    "g crate\nusemtl wood\n"
    "f 1 2 3 4\nf 6 5 8 7\nf 2 6 7 3\nf 5 1 4 8\nf 4 3 7 8\nf 5 6 2 1\n";

Point minus(const Point& a, const Point& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Point cross(const Point& a, const Point& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const Point& a, const Point& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

std::vector<std::array<Point, 3>> planeLines(const std::string& file) {
  std::vector<std::array<Point, 3>> planes;
  std::istringstream lines(file);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("( ", 0) != 0) continue;
    std::istringstream words(line);
    std::array<Point, 3> plane{};
    std::string bracket;
    for (Point& point : plane) words >> bracket >> point[0] >> point[1] >> point[2] >> bracket;
    planes.push_back(plane);
  }
  return planes;
}

TEST(CubeBrush, SixPlanesAreTheSixFacesWindingClockwiseFromOutside) {
  msModel model;
  ASSERT_TRUE(loadObjModel(kCubeObj, model).loaded);
  ASSERT_EQ(model.meshes.at(0).triangles.size(), 12u);
  TempFolder folder;
  ScriptedDialogs dialogs(folder.path("cube.map"));
  ASSERT_EQ(exportMapFile(&model), 0);
  const auto planes = planeLines(readFile(folder.path("cube.map")).value_or(""));
  ASSERT_EQ(planes.size(), 6u);

  // In map axes (x, -z, y) the cube spans 8..40, 16..48 and 0..32.
  const std::set<std::pair<int, double>> faces = {{0, 8},  {0, 40}, {1, 16},
                                                  {1, 48}, {2, 0},  {2, 32}};
  const Point centre = {24, 32, 16};
  std::set<std::pair<int, double>> found;
  for (const auto& plane : planes) {
    int axis = 0;
    while (axis < 3 && !(plane[0][axis] == plane[1][axis] && plane[1][axis] == plane[2][axis])) {
      ++axis;
    }
    ASSERT_LT(axis, 3) << "plane is not a face of the cube";
    found.insert({axis, plane[0][axis]});
    // The right-hand normal of the written order, (p1 - p0) x (p2 - p0),
    // points into the brush: the points run clockwise seen from outside.
    const Point inward = cross(minus(plane[1], plane[0]), minus(plane[2], plane[0]));
    EXPECT_GT(dot(inward, minus(centre, plane[0])), 0.0) << "axis " << axis;
  }
  EXPECT_EQ(found, faces);
}

}  // namespace
}  // namespace brushwright_test
