#pragma once
// Box mapping: each facet is projected onto the side of the bounding box it
// faces most directly, and the sides are laid out in the unit square as three
// panels (opposite sides sharing one) or, split, as six panels unfolded in a
// cross: -X, +Z, +X, -Z from left to right in the middle row, +Y above +Z and
// -Y below it.

#include <array>

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"

namespace corvina {

// Box sides as the layout numbers them: 0 +X, 1 +Y, 2 +Z, 3 -X, 4 -Y, 5 -Z.
// X wins ties, then Y over Z; a zero normal goes to side 0.
int boxSideOf(Vector3 normal);

// u = lu * scaleU + offsetU, v = lv * scaleV + offsetV for a corner's local
// coordinates (lu, lv) on its side.
struct PanelPlacement {
  float scaleU = 0, offsetU = 0, scaleV = 0, offsetV = 0;
};

// The placement of each of the six sides (without split, opposite sides share
// their axis's placement) for a bounding box of the given extents.
std::array<PanelPlacement, 6> boxLayout(Vector3 extent, bool split, bool gaps);

LayoutExtents boxLayoutExtents(Vector3 extent, bool split);

// Maps every participating corner; map size and selection ending as planar
// mapping (see planarMapping).
MappingOutcome boxMapping(ModelStore& store, SelectionState& selection,
                          const BoxMappingOptions& options, ClientSize view);

}  // namespace corvina
