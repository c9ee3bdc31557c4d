#include "mapping/model_rotation.h"

#include <algorithm>
#include <array>

namespace corvina {

namespace {

using Matrix = std::array<std::array<float, 3>, 3>;

constexpr Matrix kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

Matrix product(const Matrix& a, const Matrix& b) {
  Matrix m{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
  return m;
}

}  // namespace

int degreeTableIndex(int degrees) {
  if (degrees < -360 || degrees > 360) degrees %= 360;
  return degrees < 0 ? degrees + 360 : degrees;
}

void rotateModel(ModelStore& store, const RotateModelOptions& angles, const DegreeTables& tables) {
  const std::size_t count = std::min({store.vertices.size(), store.baseVertices.size(),
                                      static_cast<std::size_t>(std::max(store.numVerts, 0))});
  // Row-vector matrices: the vertex row times Rx, then Ry, then Rz.
  Matrix m = kIdentity;
  bool rotated = false;
  auto entry = [&](int degrees, float& c, float& s) {
    const auto index = static_cast<std::size_t>(degreeTableIndex(degrees));
    c = tables.cosine[index];
    s = tables.sine[index];
  };
  auto combine = [&](const Matrix& r) {
    m = rotated ? product(m, r) : r;
    rotated = true;
  };
  float c = 0, s = 0;
  if (angles.x != 0) {
    entry(angles.x, c, s);
    combine(Matrix{{{1, 0, 0}, {0, c, s}, {0, -s, c}}});
  }
  if (angles.y != 0) {
    entry(angles.y, c, s);
    combine(Matrix{{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}});
  }
  if (angles.z != 0) {
    entry(angles.z, c, s);
    combine(Matrix{{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}});
  }
  for (std::size_t k = 0; k < count; ++k) {
    const Vertex& base = store.baseVertices[k];
    Vertex& vertex = store.vertices[k];
    if (!rotated) {
      vertex.x = base.x;
      vertex.y = base.y;
      vertex.z = base.z;
      continue;
    }
    vertex.x = base.x * m[0][0] + base.y * m[1][0] + base.z * m[2][0];
    vertex.y = base.x * m[0][1] + base.y * m[1][1] + base.z * m[2][1];
    vertex.z = base.x * m[0][2] + base.y * m[1][2] + base.z * m[2][2];
  }
}

}  // namespace corvina
