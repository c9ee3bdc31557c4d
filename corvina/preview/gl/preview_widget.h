#pragma once
// PreviewWidget: the 3D preview in a window, drawn with Qt's OpenGL widget.
// The left button orbits, the middle button pans, the wheel zooms and F (or
// Home) frames the model. It reads the store and selection only while it
// paints, so a burst of changes costs one rebuild; what it uploads is
// limited to the buffers that changed.
//
// A change is drawn with the texture map's next frame while the preview's
// frames are quick. When a frame takes longer (a model of millions of
// triangles on a software renderer), changes wait until the edits pause
// for a moment, so the texture map keeps its own pace while dragging.

#include <QImage>
#include <QOpenGLWidget>
#include <QPoint>
#include <QTimer>
#include <functional>

#include "model/model_store.h"
#include "preview/camera.h"
#include "preview/gl/preview_renderer.h"
#include "preview/preview_options.h"
#include "tools/selection_state.h"

namespace corvina::preview {

// The surface format the preview asks for: OpenGL 3.3 core with depth.
QSurfaceFormat previewSurfaceFormat();

// Whether a context of that format can be made here; `reason` says why not.
// CORVINA_NO_OPENGL in the environment makes it fail.
bool previewOpenGlAvailable(QString& reason);

class PreviewWidget : public QOpenGLWidget {
 public:
  // Draws `store` with `selection`; `picture` gives the background picture
  // (nullptr when none is loaded). All must outlive the widget.
  PreviewWidget(const ModelStore& store, const SelectionState& selection,
                std::function<const QImage*()> picture, QWidget* parent = nullptr);
  ~PreviewWidget() override;

  // Something the preview shows may have changed: draw again at the next
  // frame.
  void modelChanged();
  void setTextureMode(TextureMode mode);
  TextureMode textureMode() const { return mode_; }
  // Centres the model and fits it to the view.
  void frameModel();

  OrbitCamera& camera() { return camera_; }
  // What the latest paint uploaded, and why the renderer could not start
  // ("" while it works).
  const UploadReport& lastUpload() const { return lastUpload_; }
  const QString& failure() const { return failure_; }

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void releaseRenderer();
  float aspect() const;

  const ModelStore& store_;
  const SelectionState& selection_;
  std::function<const QImage*()> picture_;
  PreviewRenderer renderer_;
  OrbitCamera camera_;
  TextureMode mode_ = TextureMode::Checker;
  UploadReport lastUpload_;
  QString failure_;
  bool stale_ = true;
  bool pictureStale_ = true;
  qint64 pictureKey_ = 0;  // the cache key of the uploaded background picture
  // The model last framed: a new one (another file, another size) is framed
  // as it first shows.
  std::string framedName_;
  int framedVerts_ = -1, framedFacets_ = -1, framedLoaded_ = -1;
  QMetaObject::Connection contextGoing_;  // releases the renderer before its context goes
  QTimer pause_;                          // draws a change once edits pause, for slow frames
  double lastFrameMs_ = 0;                // how long the latest paint took
  // Until the user moves the camera, a new size frames the model again.
  bool framedByProgram_ = false;
  QPoint lastMouse_;
  Qt::MouseButton dragButton_ = Qt::NoButton;
};

}  // namespace corvina::preview
