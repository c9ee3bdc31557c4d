#pragma once
// Spherical mapping: u is the longitude around the chosen axis, v the latitude
// from the lower pole (0) to the upper (1), both seen from the centre of the
// bounding box (moved by the offsets).

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"

namespace corvina {

// Maps the participating corners, repairs the seam, spreads the poles when
// asked, sets mapWidth = S and mapHeight = trunc(S * 0.5) without a selection
// (or ends in the selection with one), and normalises once into the unit
// square ([0.025, 0.975] with gaps).
MappingOutcome sphericalMapping(ModelStore& store, SelectionState& selection,
                                const RadialMappingOptions& options, ClientSize view);

}  // namespace corvina
