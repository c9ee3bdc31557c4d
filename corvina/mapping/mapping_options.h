#pragma once
// The option records of the mapping, tiling and rotation dialogs, with the
// values they start the run with. Each lives for the whole run and changes
// only when its dialog is confirmed. Choices are kept as their numbers, the
// way the dialogs' radio groups number them.

#include "mapping/degree_tables.h"

namespace corvina {

// alignment: 0 X axis, 1 Y axis, 2 Z axis.
constexpr int kAxisX = 0;
constexpr int kAxisY = 1;
constexpr int kAxisZ = 2;

struct PlanarMappingOptions {
  int mapSize = 1024;  // 1 to 8192
  int alignment = kAxisZ;
  int orientation = 0;  // 0 horizontal, 1 vertical
  bool gaps = true;
  float offset = 0.0f;  // split by position cuts at centre - offset
  int split = 1;        // 0 don't split, 1 by orientation, 2 by position
  bool scaleResult = false;
};

struct BoxMappingOptions {
  bool split = true;  // six panels in a cross instead of three
  bool gaps = true;
  int mapSize = 1024;  // 1 to 8192
  bool scaleResult = false;
};

// Shared by cylindrical, cylindrical-cap and spherical mapping; each keeps
// its own record.
struct RadialMappingOptions {
  bool gaps = true;
  int alignment = kAxisY;
  int mapSize = 1024;  // 1 to 8192
  float offsetX = 0.0f, offsetY = 0.0f, offsetZ = 0.0f;
  bool scaleResult = false;
  int rotation = 0;  // degrees, 0 to 359
  bool spreadAtPoles = true;
};

struct PerFacetMappingOptions {
  // Shown and remembered; the facets are always placed in model order on one
  // map.
  bool multipleMaps = false;
  int arrangeBy = 0;   // 0 model order, 1 group, 2 material, 3 region
  int mapSize = 1024;  // 1 to 8192
  float gap = 0.08f;   // fraction of a cell, 0 to 1
};

struct TileOptions {
  bool gaps = true;
  bool rescale = false;
};

struct RotateModelOptions {
  int x = 0, y = 0, z = 0;  // degrees, -360 to 360
};

// Every record of the mapping, tiling and rotation dialogs, for the run; the
// degree tables that rotation reads are filled with them at start-up.
struct MappingRecords {
  PlanarMappingOptions planar;
  BoxMappingOptions box;
  RadialMappingOptions cylindrical;
  RadialMappingOptions cylindricalCap;
  RadialMappingOptions spherical;
  PerFacetMappingOptions perFacet;
  TileOptions tile;
  RotateModelOptions rotate;
  DegreeTables degreeTables = makeDegreeTables();
};

}  // namespace corvina
