#pragma once
// The parts of the model a command may change, as a command row declares
// them, so the edit history copies only those before the command runs. The
// counters, the texture-map settings, the selection frame and the projection
// kind are always kept; they are small.

namespace corvina {

enum ModelPart : unsigned {
  kPartNone = 0,
  kPartPositions = 1u << 0,      // vertices (their marks included) and base vertices
  kPartTexVertices = 1u << 1,    // texture vertices
  kPartNormals = 1u << 2,        // normals
  kPartFacetStream = 1u << 3,    // every corner record, whole
  kPartSets = 1u << 4,           // group, material and region tables, shape lines
  kPartSelectionBits = 1u << 5,  // selected and hidden bits of the corners, vertex marks
  kPartAll = (1u << 6) - 1,
};

}  // namespace corvina
