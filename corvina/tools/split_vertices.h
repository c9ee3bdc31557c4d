#pragma once
// Split Vertices: every corner gets a vertex of its own.

#include "model/model_store.h"

namespace corvina {

// Gives every corner, in stream order, a new vertex with its current vertex's
// unrotated position (from baseVertices) and no mark; both vertex arrays
// become these copies and numVerts the number of corners. A corner whose
// vertex index names nothing gets a vertex at the origin. Returns false, with
// nothing changed, when the memory cannot be had.
bool splitVertices(ModelStore& store);

}  // namespace corvina
