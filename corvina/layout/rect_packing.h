#pragma once
// Placing rectangles of whole pixels into a bin without overlap: a fast shelf
// packer and a tighter skyline packer. Both are deterministic: the same boxes
// in the same order give the same places.

#include <cstdint>
#include <span>
#include <vector>

namespace corvina {

struct PackBox {
  int width = 1, height = 1;  // at least 1 each
};

struct PackPlace {
  int x = 0, y = 0;      // the lower left corner in the bin
  bool rotated = false;  // turned by 90 degrees: width and height swapped
};

// Shelves filled from left to right, each as high as its first box, in the
// given order (best: by falling height). With `rotate`, a box lies on its long
// side. False when some box does not fit into width x height.
bool packShelves(std::span<const PackBox> boxes, std::span<const std::int32_t> order, int width,
                 int height, bool rotate, std::vector<PackPlace>& places);

// Each box, in the given order (best: largest first), goes where its top
// edge comes lowest on the skyline of the boxes placed so far, leftmost on a
// tie; with `rotate` both ways up are tried. False when some box does not fit.
bool packSkyline(std::span<const PackBox> boxes, std::span<const std::int32_t> order, int width,
                 int height, bool rotate, std::vector<PackPlace>& places);

}  // namespace corvina
