#include "app/canvas/stretch_shading.h"

namespace corvina::canvas {

const painter::StretchFill* StretchShading::measure(const ApplicationState& app) {
  if (app.stretchView == StretchView::Off || app.store.modelLoaded == kModelNone) return nullptr;
  if (!measureDistortion(app.store, &app.document.selection(), distortion_)) return nullptr;
  const bool angle = app.stretchView == StretchView::Angle;
  fill_.kind = angle ? painter::StretchKind::Angle : painter::StretchKind::Area;
  fill_.values = angle ? distortion_.angle.data() : distortion_.area.data();
  fill_.measured = distortion_.measured.data();
  fill_.count = distortion_.measured.size();
  return &fill_;
}

}  // namespace corvina::canvas
