#pragma once
// The benchmark's input: a large OBJ file of a wavy grid, the kind of file an
// exporter writes (positions, texture coordinates and normals on every corner,
// a few groups, materials, regions and smoothing lines).

#include <string>

namespace bench {

struct GeneratedFile {
  std::string path;
  long long triangles = 0;
  long long vertices = 0;
  long long bytes = 0;
};

// Writes a grid of about `triangles` triangles to `path`. False when the file
// cannot be written.
bool writeGridObj(const std::string& path, long long triangles, GeneratedFile& result);

}  // namespace bench
