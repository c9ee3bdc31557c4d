#include "preview/texel_density.h"

#include <algorithm>
#include <cmath>

#include "model/model_walk.h"
#include "preview/facet_shape.h"

namespace corvina {

namespace {

double density(double mapArea, double modelArea, double texelsPerUnitSquare) {
  if (modelArea <= 0) return 0;
  const double value = std::sqrt(mapArea * texelsPerUnitSquare / modelArea);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

TexelDensity measureTexelDensity(const ModelStore& store, const SelectionState* selection) {
  TexelDensity result;
  result.hasSelection = selection != nullptr && selection->selectionActive;
  double map = 0, model = 0, selectedMap = 0, selectedModel = 0;
  forEachFacetSpan(store, [&](std::size_t first, std::size_t end) {
    const FacetShape shape = measureFacetShape(store, first, end, selection, false);
    if (!shape.measured) return;
    map += shape.mapArea;
    model += shape.modelArea;
    if (result.hasSelection && shape.selected) {
      selectedMap += shape.mapArea;
      selectedModel += shape.modelArea;
    }
  });
  const double texels = static_cast<double>(std::max(0, store.mapWidth)) *
                        static_cast<double>(std::max(0, store.mapHeight));
  result.model = density(map, model, texels);
  result.selection = density(selectedMap, selectedModel, texels);
  return result;
}

}  // namespace corvina
