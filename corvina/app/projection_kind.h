#pragma once
// Which projection made the current texture map, so Last Projection can run it
// again. The numbers are the ones the mapping commands record.

namespace corvina {

enum class ProjectionKind {
  None = 0,
  Planar = 1,
  Box = 2,
  Cylindrical = 3,
  CylindricalCap = 4,
  Spherical = 5,
  PerFacet = 6,
};

}  // namespace corvina
