#pragma once
// Where a corner lands in the view: texture space (u right, v up over the unit
// square) stretched over W x H pixels, a selected corner passed through the
// selection frame first. Results are truncated toward zero like the view's
// integer drawing coordinates, but kept as doubles so a coordinate far outside
// the view can be clipped instead of overflowing an int.

#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina::painter {

struct ViewPoint {
  double x = 0, y = 0;
};

// The frame's scales, computed once per composition. A source of zero width
// or height (a frame squeezed flat) scales by 1 so nothing divides by zero.
struct FrameTransform {
  FrameRect source, target;
  float scaleX = 1, scaleY = 1;
};

FrameTransform frameTransform(const SelectionState& selection);

// The pixel of (u, v) in a view of width x height pixels; through `frame`
// when `selected`. NaN coordinates land far outside the view.
ViewPoint viewPoint(const TexVertex& uv, bool selected, const FrameTransform& frame, int width,
                    int height);

}  // namespace corvina::painter
