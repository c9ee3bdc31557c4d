#include "editor/selection_editor.h"

#include <algorithm>
#include <cmath>
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

// The box (view coordinates) of the visible corners with texture
// coordinates where the view shows them: with `pending` only the selected
// ones, passed through its frame (source to target). Nothing when there is
// none.
std::optional<FrameRect> shownCornersBox(const ModelStore& store, const SelectionState* pending) {
  const std::size_t length =
      store.numCornerRecords > 0
          ? std::min(store.facetStream.size(), static_cast<std::size_t>(store.numCornerRecords))
          : 0;
  const std::size_t texCount =
      store.numTVerts > 0
          ? std::min(store.texVertices.size(), static_cast<std::size_t>(store.numTVerts))
          : 0;
  float scaleX = 1, scaleY = 1;
  if (pending != nullptr) {
    const FrameRect& s = pending->source;
    const FrameRect& t = pending->target;
    scaleX = spanScale(t.right - t.left, s.right - s.left);
    scaleY = spanScale(t.bottom - t.top, s.bottom - s.top);
  }
  bool any = false;
  FrameRect box;
  for (std::size_t j = 0; j < length; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (record.vertex == kSeparator || (record.flags & kHiddenBit) != 0) continue;
    if (pending != nullptr && (record.group & kSelectedBit) == 0) continue;
    if (record.texVertex < 1 || static_cast<std::size_t>(record.texVertex) > texCount) continue;
    const TexVertex& uv = store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
    if (uv.u == kNoUvU && uv.v == kNoUvV) continue;
    float x = uv.u, y = 1.0f - uv.v;
    if (pending != nullptr) {
      x = (x - pending->source.left) * scaleX + pending->target.left;
      y = (y - pending->source.top) * scaleY + pending->target.top;
    }
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (!any) {
      box = {x, x, y, y};
      any = true;
    }
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x);
    box.top = std::min(box.top, y);
    box.bottom = std::max(box.bottom, y);
  }
  if (!any) return std::nullopt;
  return box;
}

}  // namespace

// (x, y) in square pixels.
ViewCursor SelectionEditor::hoverCursor(int x, int y) const {
  if (spaceHeld_) return ViewCursor::OpenHand;
  if (!selection_.selectionActive) return ViewCursor::Arrow;
  return cursorFor(hitTest(selection_.framePixels, x, y, handleSize_));
}

SquarePlacement SelectionEditor::square(ViewSize view) const {
  return transform_.placement(view, mapShape());
}

SquarePlacement SelectionEditor::syncSquare(ViewSize view) {
  const SquarePlacement now = square(view);
  if (squareKnown_ &&
      (now.size.width != square_.size.width || now.size.height != square_.size.height))
    selection_.framePixels = framePixelsOf(selection_.target, now.size.width, now.size.height);
  square_ = now;
  squareKnown_ = true;
  return now;
}

PixelRect SelectionEditor::onScreen(const PixelRect& rect) const {
  return toScreen(rect, square_);
}

EditorResponse SelectionEditor::navigated(ViewSize view, bool changed) {
  syncSquare(view);
  EditorResponse r = response(changed ? ViewRedraw::Full : ViewRedraw::None);
  r.viewOnly = changed;
  return r;
}

EditorResponse SelectionEditor::beginPan(ViewSize view, ViewButton button, int x, int y) {
  drag_ = Drag{};
  drag_.kind = DragKind::Pan;
  drag_.button = button;
  drag_.startX = drag_.x = x;
  drag_.startY = drag_.y = y;
  drag_.view = view;
  drag_.square = syncSquare(view);
  return response(ViewRedraw::None, ViewCursor::ClosedHand);
}

EditorResponse SelectionEditor::mousePress(ViewSize view, ViewButton button, int x, int y) {
  x = clampPointer(x);
  y = clampPointer(y);
  if (button == ViewButton::Middle || (button == ViewButton::Left && spaceHeld_)) {
    if (dragging() || store_.modelLoaded == 0) return response(ViewRedraw::None);
    return beginPan(view, button, x, y);
  }
  const SquarePlacement at = syncSquare(view);
  x = clampPointer(x - at.left);
  y = clampPointer(y - at.top);
  if (button == ViewButton::Right) {
    if (dragging()) return cancelDrag();
    commitSelection(store_, selection_, &blocks_);
    EditorResponse r = response(ViewRedraw::Full, hoverCursor(x, y));
    r.selectionShrank = true;
    return r;
  }
  if (dragging() || store_.modelLoaded == 0) return {};

  drag_ = Drag{};
  drag_.startX = drag_.x = x;
  drag_.startY = drag_.y = y;
  const TrackerHit hit = selection_.selectionActive
                             ? hitTest(selection_.framePixels, x, y, handleSize_)
                             : TrackerHit::Nothing;
  if (hit != TrackerHit::Nothing) {
    drag_.kind = DragKind::Frame;
    drag_.hit = hit;
    drag_.source = selection_.source;
    drag_.target = selection_.target;
    drag_.pixels = selection_.framePixels;
    return response(ViewRedraw::None, cursorFor(hit));
  }
  commitSelection(store_, selection_, &blocks_);
  drag_.kind = DragKind::RubberBand;
  EditorResponse r = response(ViewRedraw::Full, ViewCursor::Arrow);
  r.selectionShrank = true;
  return r;
}

// `view` is the square's size.
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

EditorResponse SelectionEditor::mouseMove(ViewSize device, int x, int y) {
  x = clampPointer(x);
  y = clampPointer(y);
  if (drag_.kind == DragKind::Pan) {
    drag_.x = x;
    drag_.y = y;
    const bool moved =
        transform_.moveSquareTo(drag_.view, mapShape(), drag_.square.left + (x - drag_.startX),
                                drag_.square.top + (y - drag_.startY));
    EditorResponse r = navigated(drag_.view, moved);
    r.cursor = ViewCursor::ClosedHand;
    return r;
  }
  const SquarePlacement at = syncSquare(device);
  const ViewSize view = at.size;
  x = clampPointer(x - at.left);
  y = clampPointer(y - at.top);
  switch (drag_.kind) {
    case DragKind::Pan:
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

EditorResponse SelectionEditor::mouseRelease(ViewSize device, ViewButton button, int x, int y) {
  x = clampPointer(x);
  y = clampPointer(y);
  if (drag_.kind == DragKind::Pan) {
    if (button != drag_.button) return {};
    EditorResponse r = mouseMove(device, x, y);
    drag_ = Drag{};
    const SquarePlacement at = syncSquare(device);
    r.cursor = hoverCursor(x - at.left, y - at.top);
    return r;
  }
  const SquarePlacement at = syncSquare(device);
  const ViewSize view = at.size;
  x = clampPointer(x - at.left);
  y = clampPointer(y - at.top);
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
  PickChange changed;
  if (!pickCornersInside(store_, selection_.source, selection_.selectMethod, &changed, &blocks_)) {
    selection_.selectionActive = false;
    return response(ViewRedraw::Overlay, hoverCursor(x, y));
  }
  EditorResponse picked = response(ViewRedraw::Full, hoverCursor(x, y));
  picked.reselected = changed;
  return picked;
}

EditorResponse SelectionEditor::cancelDrag() {
  if (!dragging()) return {};
  if (drag_.kind == DragKind::Pan) {
    const Drag pan = std::exchange(drag_, Drag{});
    const bool moved =
        transform_.moveSquareTo(pan.view, mapShape(), pan.square.left, pan.square.top);
    EditorResponse r = navigated(pan.view, moved);
    r.cursor = spaceHeld_ ? ViewCursor::OpenHand : ViewCursor::Arrow;
    return r;
  }
  const bool frame = drag_.kind == DragKind::Frame;
  if (frame) {
    selection_.source = drag_.source;
    selection_.target = drag_.target;
    selection_.framePixels = drag_.pixels;
  }
  drag_ = Drag{};
  return frameResponse(frame ? ViewRedraw::Full : ViewRedraw::Overlay, ViewCursor::Arrow);
}

EditorResponse SelectionEditor::keyPress(ViewSize device, const ViewKeyPress& press) {
  if (press.key == ViewKey::Space) {
    spaceHeld_ = true;
    return response(ViewRedraw::None,
                    dragging() ? std::nullopt : std::optional(ViewCursor::OpenHand));
  }
  const ViewSize view = syncSquare(device).size;
  const KeyAction action = keyActionOf(press);
  if (dragging()) {
    // Esc ends a drag the way it began; other keys wait for the drag's end.
    if (action == KeyAction::Drop) return cancelDrag();
    return action == KeyAction::None ? EditorResponse{} : response(ViewRedraw::None);
  }
  // Hiding the selected facets and dropping the selection only take from
  // what the frame holds (without a selection, the hide key hides all).
  const bool shrinks =
      action == KeyAction::Drop || (action == KeyAction::Hide && selection_.selectionActive);
  if (!applyKeyAction(store_, selection_, action, press.shift, view, &blocks_)) return {};
  selection_.framePixels = framePixelsOf(selection_.target, view.width, view.height);
  EditorResponse r = response(ViewRedraw::Full);
  r.frameOnly = movesFrameOnly(action);
  r.selectionShrank = shrinks;
  if (action == KeyAction::Triangulate) r.command = ViewCommand::Triangulate;
  if (action == KeyAction::Degenerates) r.command = ViewCommand::Degenerates;
  return r;
}

EditorResponse SelectionEditor::keyRelease(ViewSize, const ViewKeyPress& press) {
  if (press.key != ViewKey::Space || !spaceHeld_) return {};
  spaceHeld_ = false;
  return response(ViewRedraw::None, dragging() ? std::nullopt : std::optional(ViewCursor::Arrow));
}

EditorResponse SelectionEditor::wheel(ViewSize view, int x, int y, double notches) {
  // Without a model the view shows no map to zoom.
  if (dragging() || notches == 0.0 || store_.modelLoaded == 0) return {};
  constexpr double kNotchZoom = 1.25;
  const bool changed = transform_.zoomAt(view, mapShape(), clampPointer(x), clampPointer(y),
                                         std::pow(kNotchZoom, notches));
  return navigated(view, changed);
}

EditorResponse SelectionEditor::showHome(ViewSize view) {
  if (dragging()) return {};
  const SquarePlacement before = syncSquare(view);
  transform_.showHome();
  return navigated(view, !(square(view) == before));
}

EditorResponse SelectionEditor::setKeepProportions(ViewSize view, bool keep) {
  if (dragging()) return {};
  const SquarePlacement before = syncSquare(view);
  transform_.setKeepProportions(keep);
  return navigated(view, !(square(view) == before));
}

EditorResponse SelectionEditor::frameSelection(ViewSize view) {
  if (dragging()) return {};
  syncSquare(view);
  // The selection's frame and its facets where they are shown, or every
  // visible facet.
  std::optional<FrameRect> area =
      shownCornersBox(store_, selection_.selectionActive ? &selection_ : nullptr);
  if (selection_.selectionActive) {
    const FrameRect& t = selection_.target;
    const FrameRect frame{std::min(t.left, t.right), std::max(t.left, t.right),
                          std::min(t.top, t.bottom), std::max(t.top, t.bottom)};
    if (!area) area = frame;
    area->left = std::min(area->left, frame.left);
    area->right = std::max(area->right, frame.right);
    area->top = std::min(area->top, frame.top);
    area->bottom = std::max(area->bottom, frame.bottom);
  }
  if (!area) return showHome(view);
  return navigated(view, transform_.frame(view, mapShape(), *area));
}

void SelectionEditor::viewResized(ViewSize view) {
  const SquarePlacement now = square(view);
  square_ = now;
  squareKnown_ = true;
  selection_.framePixels = framePixelsOf(selection_.target, now.size.width, now.size.height);
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
  return onScreen(normalized({drag_.startX, drag_.x, drag_.startY, drag_.y}));
}

std::optional<PixelRect> SelectionEditor::frameRect() const {
  if (!selection_.selectionActive) return std::nullopt;
  return onScreen(normalized(selection_.framePixels));
}

std::vector<TrackerHandle> SelectionEditor::frameHandles() const {
  if (!selection_.selectionActive) return {};
  std::vector<TrackerHandle> handles = trackerHandles(selection_.framePixels, handleSize_);
  for (TrackerHandle& handle : handles) handle.rect = onScreen(handle.rect);
  return handles;
}

}  // namespace corvina
