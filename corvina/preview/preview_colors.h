#pragma once
// The colours of the 3D preview, shared by the window's dock and corvina-cli's
// render-3d step so both draw the same picture.

#include <cstdint>

namespace corvina::preview {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// Behind the model: a dark blue-grey that neither checker colour comes near.
inline constexpr Rgb kBackgroundColor{56, 72, 96};
// The checker's squares: near-white and a saturated orange.
inline constexpr Rgb kCheckerLight{240, 240, 240};
inline constexpr Rgb kCheckerDark{224, 96, 16};
// Corners without texture coordinates: the missing-texture magenta.
inline constexpr Rgb kNoUvColor{255, 0, 255};
// Selected facets are blended most of the way towards the selection red.
inline constexpr Rgb kHighlightColor{192, 0, 0};
inline constexpr float kHighlightWeight = 0.7f;
// Hidden facets keep this share of their colour over the background.
inline constexpr float kHiddenWeight = 0.25f;

}  // namespace corvina::preview
