#pragma once
// The view canvas over the background picture and the painter, shared by the
// window (whose view draws the same picture) and corvina-cli, which has no
// window and renders off screen.

#include "app/view_canvas.h"
#include "editor/background/background_picture.h"

namespace corvina::canvas {

class PictureCanvas : public ViewCanvas {
 public:
  background::BackgroundPicture& background() { return background_; }

  bool backgroundLoaded() const override { return background_.hasPicture(); }
  bool backgroundDisplayed() const override { return background_.displayOn(); }
  bool loadBackground(const std::string& path) override { return background_.load(path); }
  void clearBackground() override { background_.clear(); }
  Flip flipBackground(bool horizontally) override;
  void toggleBackgroundDisplay() override { background_.toggleDisplay(); }
  bool renderView(const ApplicationState& app, const std::string& path) override;
  PreviewRender renderPreview(const ApplicationState& app,
                              const preview::RenderPreviewOptions& options, const std::string& path,
                              std::string& problem) override;

 private:
  background::BackgroundPicture background_;
};

// Makes sure a GUI application object exists for text drawing; a program
// without a window gets one on Qt's off-screen platform.
void ensureGuiApplication();

}  // namespace corvina::canvas
