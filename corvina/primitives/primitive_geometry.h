#pragma once
// The shapes of the primitive models: how many records each needs, and the
// vertices and facets that fill them. Vertices are numbered from 1 in
// generation order; each facet is a separator and its corners in corner
// order, and the stream ends with the end-of-list record.

#include <cstdint>

#include "model/model_store.h"
#include "primitives/primitive_options.h"

namespace corvina {

// The element counts of a primitive, computed wide so that sizes beyond the
// store's int counts are seen before anything is allocated.
struct PrimitiveCounts {
  std::int64_t vertices = 0;
  std::int64_t normals = 0;
  std::int64_t texVertices = 0;
  std::int64_t cornerRecords = 0;
  std::int64_t facets = 0;
};

PrimitiveCounts boxCounts();
PrimitiveCounts coneCounts(const ConeOptions& options);
PrimitiveCounts cylinderCounts(const CylinderOptions& options);
PrimitiveCounts sphereCounts(const SphereOptions& options);
PrimitiveCounts torusCounts(const TorusOptions& options);

// Each fill expects a store whose arrays were allocated from the matching
// counts (at least that large) and writes vertices and the facet stream.
// The box also writes its six face normals and texture indices 1 to 24; the
// torus writes its texture grid; the others leave texture and normal indices
// 0 for the mapping and smoothing that follow.
void fillBox(ModelStore& store, const BoxOptions& options);
void fillCone(ModelStore& store, const ConeOptions& options);
void fillCylinder(ModelStore& store, const CylinderOptions& options);
void fillSphere(ModelStore& store, const SphereOptions& options);
void fillTorus(ModelStore& store, const TorusOptions& options);

}  // namespace corvina
