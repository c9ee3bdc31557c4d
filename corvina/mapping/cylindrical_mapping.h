#pragma once
// Cylindrical mapping wraps the model around an axis through the centre of its
// bounding box (u the angle, v the height). Cylindrical-cap mapping does the
// same for the side facets and lays the facets that face along the axis (the
// caps) flat into bands below and above the side band.

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"

namespace corvina {

// Both map the participating corners, repair the seam, spread the poles when
// asked, set mapWidth = mapHeight = S without a selection (or end in the
// selection with one), and normalise the result into the unit square
// ([0.025, 0.975] with gaps).
MappingOutcome cylindricalMapping(ModelStore& store, SelectionState& selection,
                                  const RadialMappingOptions& options, ClientSize view);

// A model flat across the axis places its caps at the middle of their band
// (0.5) on the flat coordinate; a model without any extent along or across
// the axis gives its bands no height instead of dividing by zero.
MappingOutcome cylindricalCapMapping(ModelStore& store, SelectionState& selection,
                                     const RadialMappingOptions& options, ClientSize view);

// The band factors of cylindrical-cap mapping: total height T over the axis
// extent plus the caps, side band height s, cap width cu and cap height cv
// (the latter times 0.9 with gaps), each as a share of T.
struct CapLayout {
  float total = 0;
  float side = 0;
  float capU = 0;
  float capV = 0;
};
CapLayout capLayout(Vector3 extent, int axis, bool gaps);

}  // namespace corvina
