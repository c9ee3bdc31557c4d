#pragma once
// Triangulate: every facet of more than three corners becomes a fan of
// triangles around its first corner, in place in the facet stream.

#include "model/model_store.h"

namespace corvina {

struct TriangulationCount {
  int facetsOverThree = 0;       // facets with more than three corners
  long long extraTriangles = 0;  // a facet of n corners adds n - 3 triangles
};

TriangulationCount countTriangulation(const ModelStore& store);

enum class TriangulateOutcome { Done, AlreadyTriangulated, InsufficientMemory };

// Corners c1..cn become (c1, c2, c3), (c1, c3, c4), ..., (c1, cn-1, cn); every
// record is copied whole (selected and hidden bits travel along), each new
// triangle opened by a copy of record 0. numFacets grows by the extra
// triangles and the texture vertices are expanded afresh. On
// InsufficientMemory (also when the stream would outgrow the record count's
// range) and AlreadyTriangulated the model is unchanged.
TriangulateOutcome triangulate(ModelStore& store);

}  // namespace corvina
