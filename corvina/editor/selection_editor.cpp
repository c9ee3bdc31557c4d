#include "editor/selection_editor.h"

#include <algorithm>
#include <utility>

#include "editor/selection_keys.h"
#include "editor/selection_picking.h"

namespace corvina {

namespace {

// Pointer positions far outside any screen are held to a range whose
// differences still fit an int.
constexpr int kPointerLimit = 1 << 24;

int clampPointer(int coordinate) {
  return std::clamp(coordinate, -kPointerLimit, kPointerLimit);
}

// Pixel to view coordinate over the view's last pixel (width - 1); a view
// one pixel wide has nothing to divide by and counts as two pixels wide.
float toView(int pixel, int side) {
  return static_cast<float>(pixel) / static_cast<float>(std::max(side - 1, 1));
}

FrameRect toViewRect(const PixelRect& rect, ViewSize view) {
  return {toView(rect.left, view.width), toView(rect.right, view.width),
          toView(rect.top, view.height), toView(rect.bottom, view.height)};
}

bool sameRect(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

EditorResponse response(ViewRedraw redraw, std::optional<ViewCursor> cursor = std::nullopt) {
  EditorResponse r;
  r.handled = true;
  r.redraw = redraw;
  r.cursor = cursor;
  return r;
}

EditorResponse frameResponse(ViewRedraw redraw, std::optional<ViewCursor> cursor = std::nullopt) {
  EditorResponse r = response(redraw, cursor);
  r.frameOnly = redraw == ViewRedraw::Full;
  return r;
}

// The keys that move or size the frame and touch nothing else.
bool movesFrameOnly(KeyAction action) {
  switch (action) {
    case KeyAction::Center:
    case KeyAction::MoveToTopLeft:
    case KeyAction::MoveToTopRight:
    case KeyAction::MoveToBottomLeft:
    case KeyAction::MoveToBottomRight:
    case KeyAction::StepLeft:
    case KeyAction::StepRight:
    case KeyAction::StepUp:
    case KeyAction::StepDown:
    case KeyAction::Grow:
    case KeyAction::Shrink:
    case KeyAction::DoubleSize:
    case KeyAction::HalveSize:
    case KeyAction::ResizeFineHorizontal:
    case KeyAction::ResizeFineVertical:
    case KeyAction::ResizeCoarseHorizontal:
    case KeyAction::ResizeCoarseVertical:
    case KeyAction::Maximize:
      return true;
    default:
      return false;
  }
}

}  // namespace

ViewCursor SelectionEditor::hoverCursor(int x, int y) const {
  if (!selection_.selectionActive) return ViewCursor::Arrow;
  return cursorFor(hitTest(selection_.framePixels, x, y));
}

EditorResponse SelectionEditor::mousePress(ViewSize, ViewButton button, int x, int y) {
  x = clampPointer(x);
  y = clampPointer(y);
  if (button == ViewButton::Right) {
    if (dragging()) return cancelDrag();
    commitSelection(store_, selection_);
    return response(ViewRedraw::Full, hoverCursor(x, y));
  }
  if (dragging() || store_.modelLoaded == 0) return {};

  drag_ = Drag{};
  drag_.startX = drag_.x = x;
  drag_.startY = drag_.y = y;
  const TrackerHit hit =
      selection_.selectionActive ? hitTest(selection_.framePixels, x, y) : TrackerHit::Nothing;
  if (hit != TrackerHit::Nothing) {
    drag_.kind = DragKind::Frame;
    drag_.hit = hit;
    drag_.source = selection_.source;
    drag_.target = selection_.target;
    drag_.pixels = selection_.framePixels;
    return response(ViewRedraw::None, cursorFor(hit));
  }
  commitSelection(store_, selection_);
  drag_.kind = DragKind::RubberBand;
  return response(ViewRedraw::Full, ViewCursor::Arrow);
}

bool SelectionEditor::followFrameDrag(ViewSize view) {
  const PixelRect dragged =
      draggedRect(drag_.pixels, drag_.hit, drag_.x - drag_.startX, drag_.y - drag_.startY);
  if (sameRect(dragged, drag_.pixels)) {
    selection_.source = drag_.source;
    selection_.target = drag_.target;
    selection_.framePixels = drag_.pixels;
    return false;
  }
  const PixelRect normal = normalized(dragged);
  selection_.target = toViewRect(normal, view);
  selection_.source = drag_.source;
  if (dragged.right < dragged.left) std::swap(selection_.source.left, selection_.source.right);
  if (dragged.bottom < dragged.top) std::swap(selection_.source.top, selection_.source.bottom);
  selection_.framePixels = normal;
  return true;
}

EditorResponse SelectionEditor::mouseMove(ViewSize view, int x, int y) {
  x = clampPointer(x);
  y = clampPointer(y);
  switch (drag_.kind) {
    case DragKind::None:
      return response(ViewRedraw::None, hoverCursor(x, y));
    case DragKind::RubberBand:
      drag_.x = x;
      drag_.y = y;
      return response(ViewRedraw::Overlay, ViewCursor::Arrow);
    case DragKind::Frame:
      drag_.x = x;
      drag_.y = y;
      followFrameDrag(view);
      return frameResponse(ViewRedraw::Full, cursorFor(drag_.hit));
  }
  return {};
}

EditorResponse SelectionEditor::mouseRelease(ViewSize view, ViewButton button, int x, int y) {
  x = clampPointer(x);
  y = clampPointer(y);
  if (button != ViewButton::Left || !dragging()) return {};
  drag_.x = x;
  drag_.y = y;
  const Drag drag = std::exchange(drag_, Drag{});
  if (drag.kind == DragKind::Frame) {
    drag_ = drag;
    const bool changed = followFrameDrag(view);
    drag_ = Drag{};
    return frameResponse(changed ? ViewRedraw::Full : ViewRedraw::None, hoverCursor(x, y));
  }

  // A rubber band: a release where the press was is a click, which picks
  // nothing.
  if (drag.x == drag.startX && drag.y == drag.startY) {
    return response(ViewRedraw::Overlay, hoverCursor(x, y));
  }
  const PixelRect band = normalized({drag.startX, drag.x, drag.startY, drag.y});
  selection_.framePixels = band;
  selection_.selectionActive = true;
  selection_.source = toViewRect(band, view);
  selection_.target = selection_.source;
  if (!pickCornersInside(store_, selection_.source, selection_.selectMethod)) {
    selection_.selectionActive = false;
    return response(ViewRedraw::Overlay, hoverCursor(x, y));
  }
  return response(ViewRedraw::Full, hoverCursor(x, y));
}

EditorResponse SelectionEditor::cancelDrag() {
  if (!dragging()) return {};
  const bool frame = drag_.kind == DragKind::Frame;
  if (frame) {
    selection_.source = drag_.source;
    selection_.target = drag_.target;
    selection_.framePixels = drag_.pixels;
  }
  drag_ = Drag{};
  return frameResponse(frame ? ViewRedraw::Full : ViewRedraw::Overlay, ViewCursor::Arrow);
}

EditorResponse SelectionEditor::keyPress(ViewSize view, const ViewKeyPress& press) {
  const KeyAction action = keyActionOf(press);
  if (dragging()) {
    // Esc ends a drag the way it began; other keys wait for the drag's end.
    if (action == KeyAction::Drop) return cancelDrag();
    return action == KeyAction::None ? EditorResponse{} : response(ViewRedraw::None);
  }
  if (!applyKeyAction(store_, selection_, action, press.shift, view)) return {};
  selection_.framePixels = framePixelsOf(selection_.target, view.width, view.height);
  EditorResponse r = response(ViewRedraw::Full);
  r.frameOnly = movesFrameOnly(action);
  if (action == KeyAction::Triangulate) r.command = ViewCommand::Triangulate;
  if (action == KeyAction::Degenerates) r.command = ViewCommand::Degenerates;
  return r;
}

void SelectionEditor::viewResized(ViewSize view) {
  selection_.framePixels = framePixelsOf(selection_.target, view.width, view.height);
}

EditorResponse SelectionEditor::invertHorizontally() {
  std::swap(selection_.source.left, selection_.source.right);
  return frameResponse(ViewRedraw::Full);
}

EditorResponse SelectionEditor::invertVertically() {
  std::swap(selection_.source.top, selection_.source.bottom);
  return frameResponse(ViewRedraw::Full);
}

std::optional<PixelRect> SelectionEditor::rubberBand() const {
  if (drag_.kind != DragKind::RubberBand) return std::nullopt;
  return normalized({drag_.startX, drag_.x, drag_.startY, drag_.y});
}

std::optional<PixelRect> SelectionEditor::frameRect() const {
  if (!selection_.selectionActive) return std::nullopt;
  return normalized(selection_.framePixels);
}

std::vector<TrackerHandle> SelectionEditor::frameHandles() const {
  if (!selection_.selectionActive) return {};
  return trackerHandles(selection_.framePixels);
}

}  // namespace corvina
