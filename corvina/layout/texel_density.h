#pragma once
// Equal texel density: every island gets the same number of texels per unit
// of model surface, the model's average (its total texture area in texels
// over its total surface area).

#include <vector>

#include "layout/island_measures.h"
#include "model/model_store.h"

namespace corvina {

// The factor each island's texture coordinates are scaled by so its density
// becomes the average of all movable islands. With `selectedOnly` only the
// islands with a selected corner get a factor; an island of zero texture or
// surface area, or one left out, keeps factor 1.
std::vector<double> densityFactors(const IslandMeasures& measures, bool selectedOnly);

enum class DensityOutcome { Equalized, NothingToScale, InsufficientMemory };

// Scales each movable island (with `selectedOnly`, each movable island with a
// selected corner) about the centre of its bounds to the average density.
// u and v are scaled alike, so each island keeps its shape on any map size.
// Expands the texture vertices first.
DensityOutcome equalizeTexelDensity(ModelStore& store, bool selectedOnly);

}  // namespace corvina
