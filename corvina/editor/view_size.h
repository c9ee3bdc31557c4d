#pragma once
// The size of the texture-map view in device pixels: the W x H the view
// composes in and the cw x ch that picking, dragging and key steps measure
// with.

namespace corvina {

struct ViewSize {
  int width = 512;
  int height = 512;
};

}  // namespace corvina
