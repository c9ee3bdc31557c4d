#pragma once
// Everything one composition of the texture-map view reads. The painter
// changes none of it; the window and corvina-cli's render step fill it from
// the same application state, so both produce the same pixels.

#include <QImage>
#include <optional>

#include "editor/view_transform.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina::painter {

struct StretchFill;  // stretch_fill.h

struct ViewScene {
  const ModelStore& store;
  const SelectionState& selection;
  // The background picture while one is loaded and its display is on;
  // nullptr otherwise.
  const QImage* background = nullptr;
  int width = 1;   // W, device pixels
  int height = 1;  // H, device pixels
  // Device pixels per logical pixel: the hint's 10-point text grows with it
  // so it stays readable on a high-density screen.
  double pixelRatio = 1.0;
  // The stretch view's fill under the outlines; nullptr while it is off.
  const StretchFill* stretch = nullptr;
  // Where the 0..1 square lies when the view is zoomed or panned; nothing:
  // it fills the view, as at the original view.
  std::optional<SquarePlacement> square = std::nullopt;
};

// The square's placement in a scene of width x height pixels.
inline SquarePlacement squareOf(const ViewScene& scene, int width, int height) {
  return scene.square.value_or(SquarePlacement{0, 0, {width, height}});
}

// The side of the squares marking selected corners (and of the frame's
// handles): 4 logical pixels.
int markSize(double pixelRatio);

}  // namespace corvina::painter
