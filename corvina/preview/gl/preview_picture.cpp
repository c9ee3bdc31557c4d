#include "preview/gl/preview_picture.h"

#include <algorithm>
#include <cstring>

#include "files/png_writer.h"
#include "preview/gl/headless_context.h"
#include "preview/gl/preview_renderer.h"

namespace corvina::preview {

namespace {

class PictureRows : public PngRowSource {
 public:
  explicit PictureRows(const PreviewPicture& picture) : picture_(picture) {}
  bool row(int row, std::uint8_t* rgba) override {
    const std::size_t bytes = static_cast<std::size_t>(picture_.width) * 4;
    std::memcpy(rgba, picture_.rgba.data() + static_cast<std::size_t>(row) * bytes, bytes);
    return true;
  }

 private:
  const PreviewPicture& picture_;
};

}  // namespace

OrbitCamera pictureCamera(const ModelStore& store, const RenderPreviewOptions& options) {
  OrbitCamera camera;
  camera.yawDegrees = options.yaw;
  camera.pitchDegrees = std::clamp(options.pitch, -89.0f, 89.0f);
  const float aspect =
      static_cast<float>(options.width) / static_cast<float>(std::max(options.height, 1));
  frameBounds(camera, store.modelLoaded != kModelNone ? modelBounds(store) : SceneBounds{}, aspect);
  const float distance = requestedDistance(options);
  if (distance > 0) camera.distance = distance;
  return camera;
}

bool renderPreviewPicture(const ModelStore& store, const SelectionState& selection,
                          const TexturePixels* picture, const RenderPreviewOptions& options,
                          PreviewPicture& result, std::string& error) {
  HeadlessContext context;
  if (!context.create(error)) return false;
  {
    OffscreenTarget target;
    if (!target.create(options.width, options.height, error)) return false;
    PreviewRenderer renderer;
    if (!renderer.initialize(error)) return false;
    const TextureMode mode = static_cast<TextureMode>(options.texture);
    if (mode == TextureMode::Background)
      renderer.setPicture(picture != nullptr ? *picture : TexturePixels{});
    else
      renderer.setPicture(checkerPixels());
    if (store.modelLoaded != kModelNone) renderer.update(store, selection);
    renderer.draw(target.framebuffer(), options.width, options.height,
                  pictureCamera(store, options), mode);
    result.width = options.width;
    result.height = options.height;
    result.rgba.assign(
        static_cast<std::size_t>(options.width) * static_cast<std::size_t>(options.height) * 4, 0);
    const bool read = target.readRgba(result.rgba.data());
    renderer.release();
    if (!read) {
      error = "the picture cannot be read back";
      return false;
    }
  }
  return true;
}

PreviewPngOutcome writePreviewPng(const std::string& path, const ModelStore& store,
                                  const SelectionState& selection, const TexturePixels* picture,
                                  const RenderPreviewOptions& options, std::string& error) {
  PreviewPicture result;
  if (!renderPreviewPicture(store, selection, picture, options, result, error))
    return PreviewPngOutcome::NoOpenGl;
  PictureRows rows(result);
  return writePngFile(path, result.width, result.height, rows) == PngWriteOutcome::Written
             ? PreviewPngOutcome::Written
             : PreviewPngOutcome::WriteFailed;
}

}  // namespace corvina::preview
