#include "app/window/corvina_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "app/window/view_input.h"
#include "editor/painter/selection_frame_drawing.h"
#include "editor/painter/view_composer.h"

namespace corvina::window {

CorvinaView::CorvinaView(ApplicationState& app, SelectionEditor& editor,
                         const background::BackgroundPicture& background, ViewHooks hooks,
                         QWidget* parent)
    : QWidget(parent),
      app_(app),
      editor_(editor),
      background_(background),
      hooks_(std::move(hooks)) {
  // The whole area is painted from one picture: nothing to erase first, and
  // nothing flickers.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

QSize CorvinaView::devicePixelSize() const {
  const qreal ratio = devicePixelRatioF();
  return QSize(std::max(1, static_cast<int>(std::floor(width() * ratio))),
               std::max(1, static_cast<int>(std::floor(height() * ratio))));
}

ViewSize CorvinaView::viewSize() const {
  const QSize size = devicePixelSize();
  return ViewSize{size.width(), size.height()};
}

void CorvinaView::updateViewSize() {
  editor_.setPixelRatio(devicePixelRatioF());
  const ViewSize size = viewSize();
  if (size.width == app_.view.width && size.height == app_.view.height) return;
  app_.view.width = size.width;
  app_.view.height = size.height;
  editor_.viewResized(size);
}

void CorvinaView::refresh() {
  // Whatever asks for a full refresh may have changed the model.
  editor_.modelMayHaveChanged();
  stale_ = true;
  changes_ = {};
  repaint();
}

const QImage& CorvinaView::composedPicture() {
  if (stale_ || composed_ == nullptr || composed_->size() != devicePixelSize()) {
    updateViewSize();
    composed_ = &composer_.compose(scene(), changes_.frameOnly, changes_.sameModel, changes_.shrank,
                                   changes_.reselected);
    stale_ = false;
    changes_ = {};
  }
  return *composed_;
}

painter::ViewScene CorvinaView::scene() {
  const QSize size = devicePixelSize();
  painter::ViewScene scene{app_.store,          app_.document.selection(),
                           background_.shown(), size.width(),
                           size.height(),       devicePixelRatioF()};
  scene.stretch = stretch_.measure(app_);
  const SquarePlacement square = editor_.square(viewSize());
  if (!fillsView(square, viewSize())) scene.square = square;
  return scene;
}

void CorvinaView::paintEvent(QPaintEvent*) {
  const QImage& picture = composedPicture();
  const qreal ratio = devicePixelRatioF();
  QPainter painter(this);
  // Device-pixel drawing: one picture pixel per screen pixel, however dense
  // the screen.
  painter.scale(1.0 / ratio, 1.0 / ratio);
  painter.drawImage(QPoint(0, 0), picture);
  if (app_.store.modelLoaded != 0) {
    if (const std::optional<PixelRect> frame = editor_.frameRect())
      painter::drawSelectionFrame(painter, *frame, editor_.handleSize());
  }
  if (const std::optional<PixelRect> band = editor_.rubberBand())
    painter::drawRubberBand(
        painter, QRect(QPoint(band->left, band->top), QPoint(band->right - 1, band->bottom - 1)));
}

void CorvinaView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // A hidden window sends its pending resize again when it is grabbed: what
  // the editor told since the last picture holds while the size is the same.
  const ViewSize before = app_.view;
  updateViewSize();
  if (app_.view.width == before.width && app_.view.height == before.height) return;
  stale_ = true;
  changes_ = {};
}

QPoint CorvinaView::devicePoint(const QPointF& logical) const {
  const qreal ratio = devicePixelRatioF();
  return QPoint(static_cast<int>(std::floor(logical.x() * ratio)),
                static_cast<int>(std::floor(logical.y() * ratio)));
}

void CorvinaView::respond(const EditorResponse& response) {
  if (response.cursor) setCursor(cursorShape(*response.cursor));
  if (response.redraw == ViewRedraw::Full) {
    // A frame-only change keeps the layer unless something else is waiting
    // to be composed.
    changes_.frameOnly = response.frameOnly && (changes_.frameOnly || !stale_);
    // Zoom, pan and the frame leave the model as the last picture drew it.
    changes_.sameModel =
        (response.frameOnly || response.viewOnly) && (changes_.sameModel || !stale_);
    changes_.shrank = response.selectionShrank && (changes_.shrank || !stale_);
    // Picks one after another change the records of both; the last tells
    // what is selected.
    if (response.reselected && (changes_.reselected || !stale_)) {
      PickChange merged = *response.reselected;
      if (changes_.reselected) {
        const PartRange a = merged.records, b = changes_.reselected->records;
        if (a.begin >= a.end) merged.records = b;
        if (a.begin < a.end && b.begin < b.end)
          merged.records = {std::min(a.begin, b.begin), std::max(a.end, b.end)};
      }
      changes_.reselected = merged;
    } else {
      changes_.reselected.reset();
    }
    stale_ = true;
    if (hooks_.mapChanged) hooks_.mapChanged();
  }
  if (response.redraw != ViewRedraw::None) update();
  if (response.command != ViewCommand::None && hooks_.runCommand)
    hooks_.runCommand(response.command);
  if (response.handled && hooks_.afterEdit) hooks_.afterEdit();
}

void CorvinaView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint at = devicePoint(event->position());
  if (const std::optional<ViewButton> button = viewButton(event->button())) {
    updateViewSize();
    respond(editor_.mousePress(viewSize(), *button, at.x(), at.y()));
    return;
  }
  QWidget::mousePressEvent(event);
}

void CorvinaView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = devicePoint(event->position());
  respond(editor_.mouseMove(viewSize(), at.x(), at.y()));
}

void CorvinaView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = devicePoint(event->position());
  if (const std::optional<ViewButton> button = viewButton(event->button())) {
    respond(editor_.mouseRelease(viewSize(), *button, at.x(), at.y()));
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void CorvinaView::wheelEvent(QWheelEvent* event) {
  // Qt counts a wheel's notch as 120 eighths of a degree.
  const double notches = event->angleDelta().y() / 120.0;
  const QPoint at = devicePoint(event->position());
  updateViewSize();
  const EditorResponse response = editor_.wheel(viewSize(), at.x(), at.y(), notches);
  if (!response.handled) {
    QWidget::wheelEvent(event);
    return;
  }
  respond(response);
}

void CorvinaView::keyPressEvent(QKeyEvent* event) {
  updateViewSize();
  const EditorResponse response =
      editor_.keyPress(viewSize(), viewKeyPress(event->key(), event->modifiers(), event->text()));
  if (!response.handled) {
    QWidget::keyPressEvent(event);
    return;
  }
  respond(response);
}

void CorvinaView::keyReleaseEvent(QKeyEvent* event) {
  // A held key repeats as releases and presses; only the last release
  // counts.
  if (event->isAutoRepeat()) return;
  const EditorResponse response =
      editor_.keyRelease(viewSize(), viewKeyPress(event->key(), event->modifiers(), event->text()));
  if (!response.handled) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  respond(response);
}

void CorvinaView::focusOutEvent(QFocusEvent* event) {
  // A modal box that takes the focus ends any drag, as losing the mouse
  // capture does.
  if (editor_.dragging()) respond(editor_.cancelDrag());
  // Space's release goes elsewhere then.
  respond(editor_.keyRelease(viewSize(), ViewKeyPress{ViewKey::Space}));
  QWidget::focusOutEvent(event);
}

bool CorvinaView::focusNextPrevChild(bool) {
  // Tab belongs to the view (it switches the background picture), not to
  // focus changes.
  return false;
}

}  // namespace corvina::window
