#pragma once
// The layers that the parts of one composition drawn on other threads draw
// into. The view's lines are cut into consecutive parts in drawing order;
// the first part draws straight into the picture, part k (k >= 1) into layer
// k, and the layers are then laid over the picture in part order wherever
// they were drawn on, which gives the pixels of one thread drawing every
// line in turn. A layer holds a colour per pixel (0, never an opaque colour,
// where nothing was drawn) and, for a numbered composition, the number of
// the line that set it.
//
// Memory: per layer W x H x 4 bytes, twice when numbered; allocated when the
// size or the number of parts grows, kept between compositions and cleared
// after each merge only over the rows that were drawn on.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvina::painter {

// Where one part draws: its pixels and line numbers, and the rows it reached.
struct PartTarget {
  std::uint32_t* pixels = nullptr;
  std::ptrdiff_t pixelsPerRow = 0;
  std::uint32_t* lines = nullptr;  // per pixel, width per row; nullptr: not numbered
  int top = INT_MAX, bottom = -1;  // the rows drawn on
  void reached(int y) {
    if (y < top) top = y;
    if (y > bottom) bottom = y;
  }
};

class PartLayers {
 public:
  // Layers for parts 1 .. parts - 1 of a width x height picture, all clear.
  // False when there is no memory for them (then draw with one part).
  bool prepare(std::size_t parts, int width, int height, bool numbered);

  // Part k's target, k in 1 .. parts - 1 of the last prepare().
  PartTarget& target(std::size_t k) { return targets_[k - 1]; }

  // Lays layers 1 .. count - 1 over `pixels` (and their numbers over
  // `lines`, when numbered) in order, then clears every layer (those from
  // `count` on are dropped: their parts lie after the end of the list).
  // With `onlyLater`, a layer's pixel is laid only where its line comes
  // after the line in `lines` there.
  void mergeInto(std::uint32_t* pixels, std::ptrdiff_t pixelsPerRow, std::uint32_t* lines,
                 std::size_t count, bool onlyLater = false);

  // Lays numbered layers 1 .. count - 1 over `pixels` in order, each pixel
  // only where its line comes after the line `lines` holds there, which stay
  // as they are; then clears every layer.
  void layOver(std::uint32_t* pixels, std::ptrdiff_t pixelsPerRow, const std::uint32_t* lines,
               std::size_t count);

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::vector<std::uint32_t>> colors_, numbers_;
  std::vector<PartTarget> targets_;
};

// The threads a composition is cut among: every core, at most four (each
// takes a layer or two of the picture's size).
std::size_t compositionParts();

}  // namespace corvina::painter
