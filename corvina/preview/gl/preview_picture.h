#pragma once
// The 3D preview drawn into a picture without a window: corvina-cli's
// render-3d step. The camera takes the record's yaw and pitch, targets the
// centre of the model's bounds and stands at the record's distance, or at
// the framing distance when it gives none.

#include <cstdint>
#include <string>
#include <vector>

#include "preview/camera.h"
#include "preview/checker.h"
#include "preview/preview_options.h"
#include "tools/selection_state.h"

namespace corvina::preview {

struct PreviewPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;  // rows from the top, 4 bytes a pixel
};

// The camera render-3d uses for `options` on `store` (distance already
// checked by requestedDistance).
OrbitCamera pictureCamera(const ModelStore& store, const RenderPreviewOptions& options);

// Draws the preview; `picture` is what the Background mode samples (nullptr
// or empty: plain white). False with `error` when no OpenGL context or
// framebuffer of that size can be made.
bool renderPreviewPicture(const ModelStore& store, const SelectionState& selection,
                          const TexturePixels* picture, const RenderPreviewOptions& options,
                          PreviewPicture& result, std::string& error);

enum class PreviewPngOutcome { Written, NoOpenGl, WriteFailed };

// renderPreviewPicture, then the picture as a PNG file at `path` (replacing
// an older file only when complete).
PreviewPngOutcome writePreviewPng(const std::string& path, const ModelStore& store,
                                  const SelectionState& selection, const TexturePixels* picture,
                                  const RenderPreviewOptions& options, std::string& error);

}  // namespace corvina::preview
