#pragma once
// Planar mapping: projects the model along one coordinate axis onto the plane
// of the other two and lays the result into the unit square, optionally split
// into two halves side by side (or one above the other) by the direction each
// facet faces or by the side of a cutting plane its centre lies on.

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"

namespace corvina {

// Maps every participating corner (the selected ones while a selection is
// active). Without a selection it sets mapWidth and mapHeight from the layout;
// with one it leaves them and ends the run in the selection (source frame =
// unit square, "Scale Result" sizing the target). The pending move of the
// selection is the caller's next step.
MappingOutcome planarMapping(ModelStore& store, SelectionState& selection,
                             const PlanarMappingOptions& options, ClientSize view);

// The model extents the planar layout covers (split doubles one of them).
LayoutExtents planarLayout(const BoundingBox& box, const PlanarMappingOptions& options);

}  // namespace corvina
