#pragma once
// CorvinaView: the main window's drawing area. It shows the composed texture
// map (recomposed only when a command asks for a redraw or the size changes,
// so a rubber band drag only repaints), owns the background picture, and
// hands mouse, wheel and keys to the texture-map editor in device pixels
// (the editor zooms and pans the view). Edits in
// the view ask for a repaint that Qt merges with the next ones, so a burst
// of mouse moves costs one composition; while only the selection frame moves
// the lines that stay are not drawn again.

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/application_state.h"
#include "app/canvas/stretch_shading.h"
#include "editor/background/background_picture.h"
#include "editor/painter/layered_view_composer.h"
#include "editor/selection_editor.h"

namespace corvina::window {

// What the view asks of the window around it when the user acts in it.
struct ViewHooks {
  std::function<void(ViewCommand command)> runCommand;  // T and Insert run commands
  std::function<void()> afterEdit;                      // refresh menus after an edit in the view
  std::function<void()> mapChanged;  // the map is composed again: what it shows may have moved
};

class CorvinaView : public QWidget {
 public:
  // Draws `app` over `background` and edits through `editor`; all three must
  // outlive the view.
  CorvinaView(ApplicationState& app, SelectionEditor& editor,
              const background::BackgroundPicture& background, ViewHooks hooks,
              QWidget* parent = nullptr);

  // Recomposes the picture and repaints now (the redraw request).
  void refresh();

  // The view's size in device pixels: W x H of the composed picture.
  QSize devicePixelSize() const;

  // The picture as composed for the current state; valid until the next
  // composition.
  const QImage& composedPicture();

  // What the view shows, composed as the painter composes it from scratch
  // for the current state and zoom (for tests).
  painter::ViewScene scene();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  QPoint devicePoint(const QPointF& logical) const;
  ViewSize viewSize() const;
  void updateViewSize();
  // Acts on what the editor asks for: cursor, redraw, a command to run.
  void respond(const EditorResponse& response);

  ApplicationState& app_;
  SelectionEditor& editor_;
  const background::BackgroundPicture& background_;
  ViewHooks hooks_;
  painter::LayeredViewComposer composer_;
  canvas::StretchShading stretch_;  // the fill while View > Show Stretch is on
  const QImage* composed_ = nullptr;
  bool stale_ = true;
  // What changed since the last composition, as the editor's responses told
  // it: the composer redraws no more than that.
  struct Changes {
    bool frameOnly = false;                // only the frame moved
    bool sameModel = false;                // only the frame, zoom or pan changed
    bool shrank = false;                   // only the selection shrank
    std::optional<PickChange> reselected;  // only a pick's selected bits changed
  };
  Changes changes_;
};

}  // namespace corvina::window
