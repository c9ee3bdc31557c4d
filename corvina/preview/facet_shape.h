#pragma once
// One facet measured twice, on the model and on the texture map, for the
// distortion and density measures. A polygon is taken as the fan of
// triangles from its first corner: its area is half the length of the fan's
// summed cross products (exact for a planar facet, concave ones included).

#include <cstddef>

#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

struct FacetShape {
  // Every corner has a vertex and a real, finite texture coordinate, there
  // are three corners or more, and the model area is above zero and finite.
  bool measured = false;
  bool selected = false;  // a corner carries the selected bit
  double modelArea = 0;   // in model units squared
  double mapArea = 0;     // in texture units (the 0-1 square has area 1)
  // The largest difference, in degrees, between a corner's angle on the map
  // (taken in texels, at the map's width:height) and on the model; a side of
  // zero length makes its corner's angle 0.
  double angleError = 0;
};

// The facet whose corners are the stream records [first, end). With
// `pendingMove` set and its selection active, selected corners are taken
// where the selection frame shows them (source rectangle to target), as the
// view draws them before the move is committed. Without `withAngles` the
// angle error is left at 0 (the areas alone cost far less).
FacetShape measureFacetShape(const ModelStore& store, std::size_t first, std::size_t end,
                             const SelectionState* pendingMove, bool withAngles = true);

}  // namespace corvina
