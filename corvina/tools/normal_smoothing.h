#pragma once
// Normal smoothing: every corner gets a normal of its own, the normalised sum
// of the normals of the facets around its vertex that lie within a smoothing
// angle of its own facet and, by scope, share its group, material or region.

#include "model/model_store.h"
#include "tools/stream_walk.h"

namespace corvina {

enum class SmoothingScope { AllFacets = 0, ByGroup = 1, ByMaterial = 2, ByRegion = 3 };

// The "Smooth Model" dialog's record; kept for the whole run.
struct SmoothingOptions {
  float angle = 89.0f;  // degrees, 0 to 180
  int scope = static_cast<int>(SmoothingScope::ByMaterial);
};

// The progress range of smoothNormals: one step per 128 records.
int smoothingProgressSteps(const ModelStore& store);

// Recounts numFacets, then replaces the normals by one per corner in stream
// order (each corner's normal index becomes its position among the corners).
// Angles below about 1.99 degrees act as 1.99 degrees. A facet's normal is
// taken from its first three corners; a facet of fewer corners, or of zero
// area, has a zero normal. While a selection is active only selected corners
// get new normals, from selected facets only; the others keep their old
// normal (a zero normal when they had none). Returns false, with the model
// unchanged, when the memory cannot be had.
bool smoothNormals(ModelStore& store, float angleDegrees, SmoothingScope scope,
                   bool selectionActive, const ProgressStep& step = {});

}  // namespace corvina
