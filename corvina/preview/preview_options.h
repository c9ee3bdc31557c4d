#pragma once
// What the 3D preview textures the model with, and the record of corvina-cli's
// render-3d step.

#include <string>

namespace corvina::preview {

// The model's surface: the checker through the texture coordinates, the
// background picture through them, or flat in the colours of the colour
// mode's sets (groups in black and white).
enum class TextureMode { Checker = 0, Background = 1, Sets = 2 };

// The render-3d record: lives for the whole run, starts at these values.
struct RenderPreviewOptions {
  int width = 1024, height = 768;  // pixels, 1..kLargestPreviewSide
  float yaw = 30.0f;               // degrees about the vertical axis
  float pitch = 20.0f;             // degrees above the horizon, -89..89
  std::string distance;            // eye to model centre; empty: framed
  int texture = 0;                 // a TextureMode
};

constexpr int kLargestPreviewSide = 8192;

// The distance the record asks for: 0 when `distance` is empty (frame the
// model), the number when it is a positive finite one, -1 otherwise.
float requestedDistance(const RenderPreviewOptions& options);

}  // namespace corvina::preview
