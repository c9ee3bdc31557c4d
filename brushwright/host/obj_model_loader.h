#pragma once

// Builds a host model from a Wavefront OBJ file: one mesh per group (faces
// before the first group statement belong to the group "default"), the mesh's
// material from the usemtl in effect at the group's first face, and every
// polygon fanned into triangles around its first corner in file order. Only
// v, g, usemtl and f statements matter; everything else is skipped. A group
// named by a g statement but given no faces is a mesh without triangles (its
// material the one in effect at the g statement), so empty brushes and
// entities without a triangle can be exported from a file.

#include <string>
#include <string_view>

struct msModel;

struct ObjLoadResult {
  bool loaded = false;
  std::string message;  // why loading failed, with the line number where it applies
};

// Reads OBJ text into an empty model. On failure the model is left empty.
ObjLoadResult loadObjModel(std::string_view text, msModel& model);

// Reads the OBJ file at `path` into an empty model; fails with a message when
// the file cannot be read.
ObjLoadResult loadObjModelFile(const std::string& path, msModel& model);
