#include "app/model_required.h"

namespace corvina {

bool requireModel(const ModelStore& store, UserInterface& ui) {
  if (store.modelLoaded != kModelNone) return true;
  ui.showMessage("Error", "Please load an OBJ file first", MessageIcon::Error);
  return false;
}

}  // namespace corvina
