#include "editor/painter/part_layers.h"

#include <algorithm>
#include <new>

#include "model/parallel_parts.h"

namespace corvina::painter {

bool PartLayers::prepare(std::size_t parts, int width, int height, bool numbered) {
  const std::size_t layers = parts > 1 ? parts - 1 : 0;
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (width != width_ || height != height_) {
    colors_.clear();
    numbers_.clear();
    width_ = width;
    height_ = height;
  }
  try {
    // A layer is clear between compositions, so one made before is reused
    // as it stands.
    while (colors_.size() < layers) colors_.emplace_back(pixels, 0u);
    if (numbered)
      while (numbers_.size() < layers) numbers_.emplace_back(pixels, 0u);
  } catch (const std::bad_alloc&) {
    return false;
  }
  targets_.assign(layers, PartTarget{});
  for (std::size_t k = 0; k < layers; ++k) {
    targets_[k].pixels = colors_[k].data();
    targets_[k].pixelsPerRow = width;
    targets_[k].lines = numbered ? numbers_[k].data() : nullptr;
  }
  return true;
}

void PartLayers::mergeInto(std::uint32_t* pixels, std::ptrdiff_t pixelsPerRow, std::uint32_t* lines,
                           std::size_t count, bool onlyLater) {
  for (std::size_t k = 1; k <= targets_.size(); ++k) {
    PartTarget& part = targets_[k - 1];
    const bool laid = k < count;
    const bool compare = onlyLater && part.lines != nullptr && lines != nullptr;
    for (int y = std::max(part.top, 0); y <= part.bottom && y < height_; ++y) {
      std::uint32_t* color = part.pixels + static_cast<std::ptrdiff_t>(y) * width_;
      std::uint32_t* number =
          part.lines != nullptr ? part.lines + static_cast<std::ptrdiff_t>(y) * width_ : nullptr;
      std::uint32_t* out = pixels + y * pixelsPerRow;
      std::uint32_t* outLines =
          lines != nullptr ? lines + static_cast<std::ptrdiff_t>(y) * width_ : nullptr;
      for (int x = 0; x < width_; ++x) {
        if (color[x] == 0) continue;
        if (compare && number[x] <= outLines[x]) {
          color[x] = 0;
          number[x] = 0;
          continue;
        }
        if (laid) out[x] = color[x];
        color[x] = 0;
        if (number != nullptr) {
          if (laid && outLines != nullptr) outLines[x] = number[x];
          number[x] = 0;
        }
      }
    }
    part.top = INT_MAX;
    part.bottom = -1;
  }
}

void PartLayers::layOver(std::uint32_t* pixels, std::ptrdiff_t pixelsPerRow,
                         const std::uint32_t* lines, std::size_t count) {
  for (std::size_t k = 1; k <= targets_.size(); ++k) {
    PartTarget& part = targets_[k - 1];
    const bool laid = k < count;
    for (int y = std::max(part.top, 0); y <= part.bottom && y < height_; ++y) {
      const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * width_;
      std::uint32_t* color = part.pixels + row;
      std::uint32_t* number = part.lines + row;
      std::uint32_t* out = pixels + y * pixelsPerRow;
      for (int x = 0; x < width_; ++x) {
        if (color[x] == 0) continue;
        if (laid && number[x] > lines[row + x]) out[x] = color[x];
        color[x] = 0;
        number[x] = 0;
      }
    }
    part.top = INT_MAX;
    part.bottom = -1;
  }
}

std::size_t compositionParts() {
  return std::clamp<std::size_t>(parallelThreads(), 1, 4);
}

}  // namespace corvina::painter
