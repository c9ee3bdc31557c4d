#include "preview/gl/preview_widget.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWheelEvent>
#include <cmath>
#include <cstring>

#include "preview/checker.h"
#include "preview/gl/headless_context.h"
#include "preview/gl/image_pixels.h"

namespace corvina::preview {

QSurfaceFormat previewSurfaceFormat() {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  format.setDepthBufferSize(24);
  return format;
}

bool previewOpenGlAvailable(QString& reason) {
  if (openGlTurnedOff()) {
    reason = QStringLiteral("OpenGL is turned off (CORVINA_NO_OPENGL).");
    return false;
  }
  // These window systems draw widgets into memory only and cannot host an
  // OpenGL widget, whatever contexts they can make.
  const QString platform = QGuiApplication::platformName();
  for (const char* drawsInMemory : {"offscreen", "minimal", "linuxfb", "vnc", "vkkhrdisplay"})
    if (platform == QLatin1String(drawsInMemory)) {
      reason = QStringLiteral("The window system \"%1\" cannot show OpenGL widgets.").arg(platform);
      return false;
    }
  QOpenGLContext context;
  context.setFormat(previewSurfaceFormat());
  if (!context.create()) {
    reason = QStringLiteral("No OpenGL context can be made on this display.");
    return false;
  }
  const QSurfaceFormat made = context.format();
  if (context.isOpenGLES() || made.version() < qMakePair(3, 3)) {
    reason = QStringLiteral("The display offers OpenGL %1.%2; the preview needs 3.3.")
                 .arg(made.majorVersion())
                 .arg(made.minorVersion());
    return false;
  }
  QOffscreenSurface surface;
  surface.setFormat(made);
  surface.create();
  if (!context.makeCurrent(&surface)) {
    reason = QStringLiteral("The OpenGL context cannot be used.");
    return false;
  }
  context.doneCurrent();
  return true;
}

PreviewWidget::PreviewWidget(const ModelStore& store, const SelectionState& selection,
                             std::function<const QImage*()> picture, QWidget* parent)
    : QOpenGLWidget(parent), store_(store), selection_(selection), picture_(std::move(picture)) {
  setFormat(previewSurfaceFormat());
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(120, 90);
  setToolTip(QStringLiteral("Left drag: orbit  Middle drag: pan  Wheel: zoom  F: frame the model"));
  pause_.setSingleShot(true);
  connect(&pause_, &QTimer::timeout, this, [this] { update(); });
}

PreviewWidget::~PreviewWidget() {
  // The base class destroys the context after this object is gone: the
  // renderer is released here, while the context still exists.
  disconnect(contextGoing_);
  releaseRenderer();
}

void PreviewWidget::releaseRenderer() {
  if (context() == nullptr) return;
  makeCurrent();
  renderer_.release();
  doneCurrent();
}

namespace {

// A preview frame this quick keeps up with the texture map's frames.
constexpr double kKeepsUpMs = 40;
constexpr int kPauseMs = 150;

}  // namespace

void PreviewWidget::modelChanged() {
  stale_ = true;
  pictureStale_ = true;
  if (lastFrameMs_ <= kKeepsUpMs)
    update();
  else
    pause_.start(kPauseMs);
}

void PreviewWidget::setTextureMode(TextureMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  pictureStale_ = true;
  pictureKey_ = 0;
  update();
}

float PreviewWidget::aspect() const {
  return static_cast<float>(width()) / static_cast<float>(std::max(height(), 1));
}

void PreviewWidget::frameModel() {
  frameBounds(camera_, store_.modelLoaded != kModelNone ? modelBounds(store_) : SceneBounds{},
              aspect());
  framedByProgram_ = true;
  update();
}

void PreviewWidget::resizeGL(int, int) {
  if (framedByProgram_) frameModel();
}

void PreviewWidget::initializeGL() {
  std::string error;
  // The widget's context may be made anew when it moves to another window
  // (a dock floated): everything is uploaded again.
  if (!renderer_.initialize(error)) failure_ = QString::fromStdString(error);
  stale_ = true;
  pictureStale_ = true;
  pictureKey_ = 0;
  disconnect(contextGoing_);
  contextGoing_ =
      connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { releaseRenderer(); });
}

void PreviewWidget::paintGL() {
  QElapsedTimer clock;
  clock.start();
  pause_.stop();
  if (pictureStale_) {
    const QImage* picture = mode_ == TextureMode::Background && picture_ ? picture_() : nullptr;
    const qint64 key = picture != nullptr ? picture->cacheKey() : -1 - static_cast<int>(mode_);
    if (key != pictureKey_) {
      renderer_.setPicture(picture != nullptr                 ? texturePixelsOf(*picture)
                           : mode_ == TextureMode::Background ? TexturePixels{}
                                                              : checkerPixels());
      pictureKey_ = key;
    }
    pictureStale_ = false;
  }
  if (stale_) {
    lastUpload_ = renderer_.update(store_, selection_);
    stale_ = false;
    if (store_.modelBaseName != framedName_ || store_.numVerts != framedVerts_ ||
        store_.numFacets != framedFacets_ || store_.modelLoaded != framedLoaded_) {
      framedName_ = store_.modelBaseName;
      framedVerts_ = store_.numVerts;
      framedFacets_ = store_.numFacets;
      framedLoaded_ = store_.modelLoaded;
      frameBounds(camera_, store_.modelLoaded != kModelNone ? modelBounds(store_) : SceneBounds{},
                  aspect());
      framedByProgram_ = true;
    }
  }
  const qreal ratio = devicePixelRatioF();
  renderer_.draw(defaultFramebufferObject(), static_cast<int>(std::lround(width() * ratio)),
                 static_cast<int>(std::lround(height() * ratio)), camera_, mode_);
  // The frame is measured to its end, which a software renderer reaches
  // only here.
  context()->functions()->glFinish();
  lastFrameMs_ = static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void PreviewWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
    dragButton_ = event->button();
    lastMouse_ = event->position().toPoint();
    return;
  }
  QOpenGLWidget::mousePressEvent(event);
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (dragButton_ == Qt::NoButton) return;
  const QPoint at = event->position().toPoint();
  const QPoint delta = at - lastMouse_;
  lastMouse_ = at;
  framedByProgram_ = false;
  if (dragButton_ == Qt::LeftButton)
    orbit(camera_, static_cast<float>(delta.x()), static_cast<float>(delta.y()));
  else
    pan(camera_, static_cast<float>(delta.x()), static_cast<float>(delta.y()), height());
  update();
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == dragButton_) dragButton_ = Qt::NoButton;
}

void PreviewWidget::wheelEvent(QWheelEvent* event) {
  // One notch of a wheel is 120 eighths of a degree.
  zoom(camera_, static_cast<float>(event->angleDelta().y()) / 120.0f);
  framedByProgram_ = false;
  update();
  event->accept();
}

void PreviewWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F || event->key() == Qt::Key_Home) {
    frameModel();
    return;
  }
  QOpenGLWidget::keyPressEvent(event);
}

}  // namespace corvina::preview
