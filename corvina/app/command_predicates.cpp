#include "app/command_predicates.h"

#include "model/model_walk.h"

namespace corvina {

bool always(const ApplicationState&) {
  return true;
}

bool modelLoaded(const ApplicationState& app) {
  return app.store.modelLoaded != kModelNone;
}

bool modelHasTextureCoordinates(const ApplicationState& app) {
  if (!modelLoaded(app)) return false;
  const ModelStore& store = app.store;
  bool found = false;
  forEachCorner(store, [&](const CornerRecord& corner) {
    const TexVertex* t = texVertexOf(store, corner);
    found = t != nullptr && !isNoUvMarker(*t);
    return !found;
  });
  return found;
}

bool modelHasGroups(const ApplicationState& app) {
  return modelLoaded(app) && app.store.numGroups != 0;
}

bool modelHasMaterials(const ApplicationState& app) {
  return modelLoaded(app) && app.store.numMaterials != 0;
}

bool modelHasRegions(const ApplicationState& app) {
  return modelLoaded(app) && app.store.numRegions != 0;
}

bool selectionAssignable(const ApplicationState& app) {
  const SelectionState& selection = app.document.selection();
  return modelLoaded(app) && selection.selectionActive &&
         selection.selectMethod == SelectMethod::ByFacet;
}

bool projectionAllowed(const ApplicationState& app) {
  const SelectionState& selection = app.document.selection();
  return modelLoaded(app) &&
         !(selection.selectionActive && selection.selectMethod == SelectMethod::ByVertex);
}

bool lastProjectionAllowed(const ApplicationState& app) {
  return projectionAllowed(app) && app.document.projectionKind() != ProjectionKind::None;
}

bool undoAllowed(const ApplicationState& app) {
  return app.document.undoHistory().canUndo();
}

bool redoAllowed(const ApplicationState& app) {
  return app.document.undoHistory().canRedo();
}

bool selectMethodIsFacet(const ApplicationState& app) {
  return app.document.selection().selectMethod == SelectMethod::ByFacet;
}

bool selectMethodIsVertex(const ApplicationState& app) {
  return app.document.selection().selectMethod == SelectMethod::ByVertex;
}

}  // namespace corvina
