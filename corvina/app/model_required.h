#pragma once
// The refusal every model command gives when there is no model to work on.

#include "app/user_interface.h"
#include "model/model_store.h"

namespace corvina {

// True when a model is loaded; otherwise shows "Please load an OBJ file first"
// (caption "Error", error icon) and returns false.
bool requireModel(const ModelStore& store, UserInterface& ui);

}  // namespace corvina
