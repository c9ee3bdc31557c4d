#include "app/canvas/picture_canvas.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdlib>
#include <memory>
#include <optional>

#include "app/application_state.h"
#include "app/canvas/stretch_shading.h"
#include "editor/painter/view_composer.h"
#include "files/atomic_file.h"
#include "preview/gl/image_pixels.h"
#include "preview/gl/preview_picture.h"

namespace corvina::canvas {

void ensureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  // Lives until the program ends, like the application object of a window.
  static int argc = 1;
  static char name[] = "corvina-cli";
  static char* argv[] = {name, nullptr};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Setting up reports details of the desktop session (a missing runtime
  // folder and the like) that mean nothing to a batch run and would mix with
  // its messages on standard error.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static std::unique_ptr<QGuiApplication> application =
      std::make_unique<QGuiApplication>(argc, argv);
  qInstallMessageHandler(previous);
}

ViewCanvas::Flip PictureCanvas::flipBackground(bool horizontally) {
  const background::FlipOutcome outcome =
      horizontally ? background_.flipHorizontally() : background_.flipVertically();
  switch (outcome) {
    case background::FlipOutcome::Flipped:
      return Flip::Done;
    case background::FlipOutcome::TooFewColours:
      return Flip::TooFewColours;
    case background::FlipOutcome::Failed:
      break;
  }
  return Flip::Failed;
}

bool PictureCanvas::renderView(const ApplicationState& app, const std::string& path) {
  ensureGuiApplication();
  painter::ViewScene scene{app.store, app.document.selection(), background_.shown(), app.view.width,
                           app.view.height};
  StretchShading stretch;
  scene.stretch = stretch.measure(app);
  const SquarePlacement square = app.editor.square(app.view);
  if (!fillsView(square, app.view)) scene.square = square;
  const QImage picture = painter::composeViewWithFrame(scene);
  if (picture.isNull()) return false;
  // Encoded in memory, then saved like every other file the program writes:
  // a failed render never leaves half a picture over an older one.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(picture)) return false;
  AtomicFile file;
  if (!file.open(path)) return false;
  if (!file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()))) {
    file.abandon();
    return false;
  }
  return file.commit();
}

ViewCanvas::PreviewRender PictureCanvas::renderPreview(const ApplicationState& app,
                                                       const preview::RenderPreviewOptions& options,
                                                       const std::string& path,
                                                       std::string& problem) {
  // The Background mode samples the picture whether or not the texture-map
  // view shows it at the moment.
  std::optional<preview::TexturePixels> picture;
  if (options.texture == static_cast<int>(preview::TextureMode::Background) &&
      background_.hasPicture())
    picture = preview::texturePixelsOf(background_.picture());
  switch (preview::writePreviewPng(path, app.store, app.document.selection(),
                                   picture ? &*picture : nullptr, options, problem)) {
    case preview::PreviewPngOutcome::Written:
      return PreviewRender::Written;
    case preview::PreviewPngOutcome::NoOpenGl:
      return PreviewRender::NoOpenGl;
    case preview::PreviewPngOutcome::WriteFailed:
      break;
  }
  return PreviewRender::WriteFailed;
}

}  // namespace corvina::canvas
