#pragma once
// The small model the command tests load: a unit square of two triangles in
// one group and material, with texture coordinates and one normal.
//   4---3
//   | / |
//   1---2

namespace corvina::testing {

inline constexpr const char* kSquare =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "g front\nusemtl paint\n"
    "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";

}  // namespace corvina::testing
