#pragma once
// The four colour-mode commands: how the texture map colours its facets.

#include "app/user_interface.h"
#include "model/model_store.h"

namespace corvina {

// Stores `mode` (0..3) as the model's colorMode and redraws the views. The
// mode belongs to the texture-map settings, so it needs no model and survives
// loading a file that does not name one.
void setColorMode(ModelStore& store, int mode, UserInterface& ui);

}  // namespace corvina
