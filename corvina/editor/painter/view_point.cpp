#include "editor/painter/view_point.h"

#include <cmath>

namespace corvina::painter {

namespace {

// Far enough outside any view that a line towards it leaves the view at the
// right angle, yet small enough for the drawing code's integer arithmetic.
constexpr double kFarAway = 1 << 24;

double truncated(float value) {
  if (std::isnan(value)) return -kFarAway;
  return std::trunc(static_cast<double>(value));
}

float spanScale(float targetSpan, float sourceSpan) {
  return sourceSpan == 0.0f ? 1.0f : targetSpan / sourceSpan;
}

}  // namespace

FrameTransform frameTransform(const SelectionState& selection) {
  FrameTransform frame;
  frame.source = selection.source;
  frame.target = selection.target;
  frame.scaleX =
      spanScale(frame.target.right - frame.target.left, frame.source.right - frame.source.left);
  frame.scaleY =
      spanScale(frame.target.bottom - frame.target.top, frame.source.bottom - frame.source.top);
  return frame;
}

ViewPoint viewPoint(const TexVertex& uv, bool selected, const FrameTransform& frame, int width,
                    int height) {
  // Float arithmetic throughout, as the view's coordinates are 32-bit floats.
  const float spanX = static_cast<float>(width - 1);
  const float spanY = static_cast<float>(height - 1);
  float x, y;
  if (selected) {
    x = spanX * ((uv.u - frame.source.left) * frame.scaleX + frame.target.left);
    y = spanY * ((1.0f - uv.v - frame.source.top) * frame.scaleY + frame.target.top);
  } else {
    x = spanX * uv.u;
    y = spanY * (1.0f - uv.v);
  }
  return {truncated(x), truncated(y)};
}

}  // namespace corvina::painter
