#pragma once
// What the commands need of the texture-map view beyond a redraw: its
// background picture and a copy of what it shows. The command layer knows
// the view only through this, so it stays free of any drawing toolkit; the
// window and corvina-cli each provide one.

#include <string>

#include "preview/preview_options.h"

namespace corvina {

struct ApplicationState;

class ViewCanvas {
 public:
  enum class Flip { Done, TooFewColours, Failed };

  virtual ~ViewCanvas() = default;

  virtual bool backgroundLoaded() const = 0;
  virtual bool backgroundDisplayed() const = 0;

  // Reads a picture file (BMP, or any format Qt's image plugins read); false
  // (nothing changed) when it cannot be read. A loaded picture is displayed.
  virtual bool loadBackground(const std::string& path) = 0;
  virtual void clearBackground() = 0;
  virtual Flip flipBackground(bool horizontally) = 0;
  virtual void toggleBackgroundDisplay() = 0;

  // Writes the view of `app` at its view size, exactly as the window shows
  // it, as a PNG file; false when the file cannot be written.
  virtual bool renderView(const ApplicationState& app, const std::string& path) = 0;

  enum class PreviewRender { Written, NoOpenGl, WriteFailed };

  // Writes the 3D preview of `app` as `options` describe it as a PNG file;
  // `problem` says why no OpenGL context could be made.
  virtual PreviewRender renderPreview(const ApplicationState& app,
                                      const preview::RenderPreviewOptions& options,
                                      const std::string& path, std::string& problem) = 0;
};

}  // namespace corvina
