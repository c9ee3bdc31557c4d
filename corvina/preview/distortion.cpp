#include "preview/distortion.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "model/model_walk.h"
#include "preview/facet_shape.h"

namespace corvina {

bool measureDistortion(const ModelStore& store, const SelectionState* pendingMove,
                       FacetDistortion& result) {
  // Model and map areas are kept per facet until the totals are known.
  std::vector<double> mapArea, modelArea;
  try {
    result.area.clear();
    result.angle.clear();
    result.measured.clear();
    const std::size_t facets = store.numFacets > 0 ? static_cast<std::size_t>(store.numFacets) : 0;
    for (auto* array : {&mapArea, &modelArea}) array->reserve(facets);
    result.area.reserve(facets);
    result.angle.reserve(facets);
    result.measured.reserve(facets);
    double totalMap = 0, totalModel = 0;
    forEachFacetSpan(store, [&](std::size_t first, std::size_t end) {
      const FacetShape shape = measureFacetShape(store, first, end, pendingMove);
      mapArea.push_back(shape.mapArea);
      modelArea.push_back(shape.modelArea);
      result.angle.push_back(static_cast<float>(shape.angleError));
      result.measured.push_back(shape.measured ? 1 : 0);
      if (shape.measured) {
        totalMap += shape.mapArea;
        totalModel += shape.modelArea;
      }
    });
    result.area.assign(mapArea.size(), 1.0f);
    for (std::size_t f = 0; f < mapArea.size(); ++f) {
      if (result.measured[f] == 0) continue;
      // A measured facet has a model area above zero, so totalModel is too.
      // Without any texture area every facet's share is 0.
      const double mapShare = totalMap > 0 ? mapArea[f] / totalMap : 0.0;
      const double modelShare = modelArea[f] / totalModel;
      double ratio = modelShare > 0 ? mapShare / modelShare : kMaxAreaRatio;
      if (!(ratio <= kMaxAreaRatio)) ratio = kMaxAreaRatio;
      result.area[f] = static_cast<float>(ratio);
    }
    return true;
  } catch (const std::bad_alloc&) {
    result = FacetDistortion{};
    return false;
  }
}

double medianOf(std::vector<float>& values) {
  if (values.empty()) return 0;
  const std::size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                   values.end());
  const double upper = values[middle];
  if (values.size() % 2 != 0) return upper;
  const double lower =
      *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
  return (lower + upper) * 0.5;
}

DistortionSummary summarizeDistortion(const FacetDistortion& distortion) {
  DistortionSummary summary;
  std::vector<float> areas, angles;
  for (std::size_t f = 0; f < distortion.measured.size(); ++f) {
    if (distortion.measured[f] == 0) continue;
    areas.push_back(distortion.area[f]);
    angles.push_back(distortion.angle[f]);
  }
  if (areas.empty()) return summary;
  summary.measured = static_cast<int>(areas.size());
  int beyond = 0;
  for (const float ratio : areas)
    if (ratio > 2.0f || ratio < 0.5f) ++beyond;
  summary.beyond2xPercent = 100.0 * beyond / static_cast<double>(areas.size());
  const auto [areaLow, areaHigh] = std::minmax_element(areas.begin(), areas.end());
  summary.areaMin = *areaLow;
  summary.areaMax = *areaHigh;
  const auto [angleLow, angleHigh] = std::minmax_element(angles.begin(), angles.end());
  summary.angleMin = *angleLow;
  summary.angleMax = *angleHigh;
  summary.areaMedian = medianOf(areas);
  summary.angleMedian = medianOf(angles);
  return summary;
}

}  // namespace corvina
