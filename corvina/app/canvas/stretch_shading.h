#pragma once
// The stretch view's fill as the painter takes it, measured from the
// application state: the distortion of every facet where the view shows it
// (a pending move of the selection included), in the mode View > Show
// Stretch or Show Angle Stretch chose. Shared by the window and corvina-cli's
// render step so both show the same pixels.

#include "app/application_state.h"
#include "editor/painter/stretch_fill.h"
#include "preview/distortion.h"

namespace corvina::canvas {

class StretchShading {
 public:
  // The fill for `app` now, valid until the next call; nullptr while the
  // stretch view is off, without a model, or when the memory for the
  // measures cannot be had (the view is then drawn without fill).
  const painter::StretchFill* measure(const ApplicationState& app);

 private:
  FacetDistortion distortion_;
  painter::StretchFill fill_;
};

}  // namespace corvina::canvas
