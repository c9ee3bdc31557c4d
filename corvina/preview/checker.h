#pragma once
// The checker the preview textures the model with: 8 x 8 squares over the
// 0-1 square of texture space, so every square stands for an eighth of the
// map and stretching shows as squares that are no longer square.

#include <cstdint>
#include <vector>

#include "preview/preview_colors.h"

namespace corvina::preview {

constexpr int kCheckerSquares = 8;

// An RGBA picture, rows from the top (v = 1) down, 4 bytes a pixel.
struct TexturePixels {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

// The checker at `side` x `side` pixels (a multiple of 8 keeps every square
// the same size); the top-left square is light.
TexturePixels checkerPixels(int side = 256);

}  // namespace corvina::preview
