#pragma once
// How the texture map distorts the model, facet by facet.
//
// Area: a facet's share of the texture area over its share of the model's
// surface area, both shares taken over the measured facets. 1 means the
// facet gets exactly its part of the map; 0.25 a quarter of it. Shares do
// not change when the map's width and height differ, so the texture area is
// taken in texture units.
//
// Angle: the largest difference, in degrees, between a corner's angle on the
// map (in texels, at the map's width:height) and on the model.
//
// A facet is measured when it has three corners or more, each with a vertex
// and a real, finite texture coordinate, and a model area above zero. Others
// (degenerate on the model, without texture coordinates) are left out of
// every total and summary and read area 1, angle 0. A measured facet of zero
// texture area reads area 0. Nothing is ever NaN or infinite: an area ratio
// is held at most kMaxAreaRatio.

#include <cstdint>
#include <vector>

#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

constexpr float kMaxAreaRatio = 1e30f;

struct FacetDistortion {
  // One entry per facet, in stream order (the order of forEachFacetSpan).
  std::vector<float> area;
  std::vector<float> angle;
  std::vector<std::uint8_t> measured;
};

// Measures every facet; the pending move as in measureFacetShape. False
// (the result emptied) when the memory cannot be had.
bool measureDistortion(const ModelStore& store, const SelectionState* pendingMove,
                       FacetDistortion& result);

struct DistortionSummary {
  int measured = 0;  // facets measured
  double areaMin = 0, areaMedian = 0, areaMax = 0;
  // Percent of the measured facets whose area ratio is above 2 or below 1/2.
  double beyond2xPercent = 0;
  double angleMin = 0, angleMedian = 0, angleMax = 0;
};

// Over the measured facets; every field 0 when there are none.
DistortionSummary summarizeDistortion(const FacetDistortion& distortion);

// The middle value, or the mean of the two middle values of an even count; 0
// for none. Reorders `values`.
double medianOf(std::vector<float>& values);

}  // namespace corvina
