#pragma once
// Texel density as the status bar and corvina-cli report it: texels per model
// unit at the map's width and height, the square root of the texture area in
// texels over the surface area, over the measured facets (see distortion.h).
// A facet squeezed flat on the map counts with its surface and no texels.

#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

struct TexelDensity {
  double model = 0;           // the whole model; 0 without measured surface
  bool hasSelection = false;  // a selection is active
  double selection = 0;       // the facets with a selected corner; 0 without
};

// With `selection` active, its facets are measured where the pending move
// shows them; without (or inactive) hasSelection stays false.
TexelDensity measureTexelDensity(const ModelStore& store, const SelectionState* selection);

}  // namespace corvina
