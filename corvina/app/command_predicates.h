#pragma once
// The enablement and check-mark rules of the command table, one function per
// rule, so every row that shares a rule names the same function.

#include <string>

#include "app/application_state.h"

namespace corvina {

bool always(const ApplicationState& app);
bool modelLoaded(const ApplicationState& app);

// A model is loaded and at least one corner record of the facet stream refers
// to a texture vertex other than the no-UV marker.
bool modelHasTextureCoordinates(const ApplicationState& app);

bool modelHasGroups(const ApplicationState& app);
bool modelHasMaterials(const ApplicationState& app);
bool modelHasRegions(const ApplicationState& app);

// A model is loaded, a selection is active and the select method is by facet.
bool selectionAssignable(const ApplicationState& app);

// A model is loaded, unless a selection is active with the select method by
// vertex.
bool projectionAllowed(const ApplicationState& app);

// As projectionAllowed, and a projection has made the current texture map.
bool lastProjectionAllowed(const ApplicationState& app);

bool undoAllowed(const ApplicationState& app);
bool redoAllowed(const ApplicationState& app);

bool selectMethodIsFacet(const ApplicationState& app);
bool selectMethodIsVertex(const ApplicationState& app);

// Why `rule` does not hold for `app`, as one line ("needs a model with
// texture coordinates"); empty while it holds. Without a model the reason is
// the program's own "Please load an OBJ file first".
std::string disabledReason(bool (*rule)(const ApplicationState&), const ApplicationState& app);

template <int Mode>
bool colorModeIs(const ApplicationState& app) {
  return app.store.colorMode == Mode;
}

}  // namespace corvina
