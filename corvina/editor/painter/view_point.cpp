#include "editor/painter/view_point.h"

namespace corvina::painter {

namespace {

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

}  // namespace corvina::painter
