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

namespace {

constexpr const char* kVertexSelectionActive = "not while a selection made by vertex is active";

}  // namespace

std::string disabledReason(bool (*rule)(const ApplicationState&), const ApplicationState& app) {
  if (rule == nullptr || rule(app)) return {};
  if (rule == undoAllowed) return "nothing to undo";
  if (rule == redoAllowed) return "nothing to redo";
  if (!modelLoaded(app)) return "Please load an OBJ file first";
  if (rule == modelHasTextureCoordinates) return "needs a model with texture coordinates";
  if (rule == modelHasGroups) return "needs a model with groups";
  if (rule == modelHasMaterials) return "needs a model with materials";
  if (rule == modelHasRegions) return "needs a model with regions";
  if (rule == selectionAssignable) {
    return app.document.selection().selectionActive ? "needs a selection made by facet"
                                                    : "needs an active selection";
  }
  if (rule == lastProjectionAllowed && app.document.projectionKind() == ProjectionKind::None) {
    return "needs a projection to repeat";
  }
  if (rule == projectionAllowed || rule == lastProjectionAllowed) return kVertexSelectionActive;
  return "not available now";
}

}  // namespace corvina
