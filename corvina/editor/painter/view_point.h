#pragma once
// Where a corner lands in the view: texture space (u right, v up over the unit
// square) stretched over W x H pixels, a selected corner passed through the
// selection frame first. Results are truncated toward zero like the view's
// integer drawing coordinates, but kept exactly in doubles however far
// outside the view they lie, so a line towards them keeps its direction.

#include <limits>

#include "editor/texture_map_raster_line.h"
#include "editor/view_transform.h"
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

// A view coordinate truncated toward zero (an infinity held at the largest
// float); NaN goes to the far top or left, out of sight.
inline double truncatedCoordinate(float value) {
  return truncatedPixel(value, -static_cast<double>(std::numeric_limits<float>::max()));
}

// The view coordinates of (u, v) in a view of width x height pixels, before
// truncation; through `frame` when `selected`.
struct FloatPoint {
  float x = 0, y = 0;
};
inline FloatPoint viewCoordinates(const TexVertex& uv, bool selected, const FrameTransform& frame,
                                  int width, int height) {
  // Float arithmetic throughout, as the view's coordinates are 32-bit floats.
  const float spanX = static_cast<float>(width - 1);
  const float spanY = static_cast<float>(height - 1);
  if (selected)
    return {spanX * ((uv.u - frame.source.left) * frame.scaleX + frame.target.left),
            spanY * ((1.0f - uv.v - frame.source.top) * frame.scaleY + frame.target.top)};
  return {spanX * uv.u, spanY * (1.0f - uv.v)};
}

// The pixel of (u, v) in a view of width x height pixels; through `frame`
// when `selected`. Inline: it runs for every corner of every redraw.
inline ViewPoint viewPoint(const TexVertex& uv, bool selected, const FrameTransform& frame,
                           int width, int height) {
  const FloatPoint p = viewCoordinates(uv, selected, frame, width, height);
  return {truncatedCoordinate(p.x), truncatedCoordinate(p.y)};
}

// The same in a zoomed or panned view: the pixel in a view of the square's
// size, moved to where the square's top-left pixel lies.
inline ViewPoint viewPoint(const TexVertex& uv, bool selected, const FrameTransform& frame,
                           const SquarePlacement& square) {
  const ViewPoint p = viewPoint(uv, selected, frame, square.size.width, square.size.height);
  return {p.x + square.left, p.y + square.top};
}

}  // namespace corvina::painter
