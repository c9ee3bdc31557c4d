#pragma once
// Per-facet mapping gives every triangle its own piece of the texture map: the
// unit square is divided into c x c square cells, filled row by row from the
// top, each cell holding two consecutive facets, one in its upper-left half
// and one in its lower-right half, with margins between them.

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"

namespace corvina {

// True when some facet has more than three corners; the mapping needs a
// triangulated model and the command refuses such a model.
bool hasFacetsBeyondTriangles(const ModelStore& store);

// The grid's cells per side for `facets` facets: trunc(sqrt(trunc((F + 1) /
// 2))), one more when F exceeds its square. 0 for no facets.
int perFacetGridSize(int facets);

// Maps every facet in model order, selected or not, without normalising, and
// sets mapWidth = mapHeight = S. Facets are found by walking the stream, so a
// facet with fewer than three corners takes its slot with the first one or
// two positions of its triangle and the facets after it keep theirs; a facet
// with more than three corners places its first three.
MappingOutcome perFacetMapping(ModelStore& store, const PerFacetMappingOptions& options);

}  // namespace corvina
