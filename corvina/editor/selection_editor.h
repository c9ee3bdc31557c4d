#pragma once
// SelectionEditor: everything the texture-map view does with the mouse and
// the keys, without a toolkit, so the window and corvina-cli run the same
// code. The window forwards its events in device pixels and acts on the
// response; it keeps no editing logic of its own.
//
//   Window event                         Call
//   button press at (x, y)               mousePress(view, button, x, y)
//   pointer move (buttons up or down)    mouseMove(view, x, y)
//   button release                       mouseRelease(view, button, x, y)
//   key press / release in the view      keyPress(view, ViewKeyPress{...}), keyRelease(...)
//   wheel turned over (x, y)             wheel(view, x, y, notches)
//   focus lost / mouse grab lost         cancelDrag()
//   resize to w x h                      viewResized(ViewSize{w, h})
//   Ctrl+X, Ctrl+Y                       invertHorizontally(), invertVertically()
//
// Zoom and pan (see view_transform.h): the wheel zooms about the pointer,
// the middle button or a left drag while Space is held pans. The editor
// hands every pointer position to the selection logic relative to the 0..1
// square's top-left pixel and measures with the square's size, so picking,
// drags and keys behave at any zoom as at the original view. The frame's
// pixel rectangle (SelectionState::framePixels) is kept in those square
// pixels; frameRect(), frameHandles() and rubberBand() give device pixels.
//
// Each call returns an EditorResponse: whether the event was the view's
// (keys that are not go on to default handling), what to redraw (Full:
// compose the texture map again; Overlay: only the rubber band or frame
// drawn on top changed), the cursor to show when the call concerns the
// pointer, and a command to run next (the T and Insert keys run the
// triangulate and degenerate-facet commands through the command table).
//
// What to draw on top of the composed map: rubberBand() while a band is
// dragged (a solid outline), and, while a selection is active, frameRect()
// with frameHandles() (a solid one-pixel outline and eight 4 x 4 handles).
// Both are in device pixels, right and bottom being the far edges; the
// handles are 4 logical pixels (setPixelRatio).
//
// A left press while a model is loaded commits any pending move and starts a
// rubber band, unless a selection is active and the press hits the frame or
// a handle: then it moves or stretches the frame. While a frame drag lasts
// the target rectangle follows the pointer, so the map previews the move;
// a drag that ends where it began changes nothing. A right press commits;
// during a drag it cancels the drag instead, as Esc does.

#include <optional>
#include <vector>

#include "editor/selection_picking.h"
#include "editor/tracker.h"
#include "editor/view_keys.h"
#include "editor/view_size.h"
#include "editor/view_transform.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

enum class ViewButton { Left, Right, Middle };

enum class ViewRedraw { None, Overlay, Full };

enum class ViewCommand { None, Triangulate, Degenerates };

struct EditorResponse {
  bool handled = false;
  ViewRedraw redraw = ViewRedraw::None;
  std::optional<ViewCursor> cursor;  // set by the pointer calls
  ViewCommand command = ViewCommand::None;
  // With a Full redraw: only the selection frame's source or target changed
  // (a frame drag, a key that moves or sizes the frame, a mirror), so a view
  // may keep what it drew of the corners that do not move.
  bool frameOnly = false;
  // With a Full redraw: only the square's place (zoom or pan) changed; the
  // model, the selection and its frame are as they were.
  bool viewOnly = false;
  // With a Full redraw: the selection shrank, facets among the selected ones
  // were hidden, and the selected corners' coordinates may have moved with
  // the frame's commit; nothing else changed.
  bool selectionShrank = false;
  // With a Full redraw: a rubber band's pick changed only the selected bits
  // of these records, and the frame; nothing else.
  std::optional<PickChange> reselected;
};

class SelectionEditor {
 public:
  // Edits `store` and `selection`, which must outlive the editor.
  SelectionEditor(ModelStore& store, SelectionState& selection)
      : store_(store), selection_(selection) {}
  SelectionEditor(const SelectionEditor&) = delete;
  SelectionEditor& operator=(const SelectionEditor&) = delete;

  EditorResponse mousePress(ViewSize view, ViewButton button, int x, int y);
  EditorResponse mouseMove(ViewSize view, int x, int y);
  EditorResponse mouseRelease(ViewSize view, ViewButton button, int x, int y);
  EditorResponse keyPress(ViewSize view, const ViewKeyPress& press);
  // Only Space's release is the view's: left drags select again.
  EditorResponse keyRelease(ViewSize view, const ViewKeyPress& press);
  // Zooms about (x, y) by 1.25 per notch (negative notches zoom out); a
  // wheel turned during a drag does nothing.
  EditorResponse wheel(ViewSize view, int x, int y, double notches);

  // The view at its home (the original view, or with proportions kept the
  // map at its width : height); whether the proportions are kept.
  EditorResponse showHome(ViewSize view);
  EditorResponse setKeepProportions(ViewSize view, bool keep);
  bool keepsProportions() const { return transform_.keepsProportions(); }
  // Zooms to the selection frame and the selected facets where they are
  // shown, or with no selection to every visible facet with texture
  // coordinates (home when there is none).
  EditorResponse frameSelection(ViewSize view);

  // Where the 0..1 square lies in a view of `view` pixels; its size is the
  // one selection editing measures with.
  SquarePlacement square(ViewSize view) const;

  // Device pixels per logical pixel: the frame's handles are 4 logical
  // pixels.
  void setPixelRatio(double ratio) { handleSize_ = trackerHandleSize(ratio); }
  int handleSize() const { return handleSize_; }

  // Ends a drag without effect: a frame drag puts the frame back where it
  // was; a rubber band is dropped (the commit made at its start stays).
  EditorResponse cancelDrag();

  // The frame's pixel rectangle follows the target rectangle to the new
  // size of the square.
  void viewResized(ViewSize view);

  // Mirror the selection inside its frame: swap the source's left and right
  // (top and bottom); the frame itself stays.
  EditorResponse invertHorizontally();
  EditorResponse invertVertically();

  // The band being dragged, made normal; nothing when no band is dragged.
  std::optional<PixelRect> rubberBand() const;
  // The selection frame in view pixels while a selection is active.
  std::optional<PixelRect> frameRect() const;
  std::vector<TrackerHandle> frameHandles() const;
  bool dragging() const { return drag_.kind != DragKind::None; }

  // The model or the selection changed by other means than this editor (a
  // command, undo, a load): the notes that let a pick or a commit walk only
  // the runs of the stream it can change are dropped, and the next pick
  // walks the whole stream and notes it again.
  void modelMayHaveChanged() { blocks_.forget(); }
  // The notes, for tests and benchmarks (their run size).
  SelectionBlocks& selectionBlocks() { return blocks_; }

 private:
  enum class DragKind { None, RubberBand, Frame, Pan };
  struct Drag {
    DragKind kind = DragKind::None;
    // Square pixels; device pixels for a pan.
    int startX = 0, startY = 0, x = 0, y = 0;
    TrackerHit hit = TrackerHit::Nothing;
    // The frame as it was when a frame drag began.
    FrameRect source, target;
    PixelRect pixels;
    // A pan: the button that drags, the view and where the square was.
    ViewButton button = ViewButton::Left;
    ViewSize view;
    SquarePlacement square;
  };

  // Sets the frame as if a frame drag had ended at the current point;
  // returns whether the rectangle changed.
  bool followFrameDrag(ViewSize view);
  ViewCursor hoverCursor(int x, int y) const;
  MapShape mapShape() const { return {store_.mapWidth, store_.mapHeight}; }
  // The square's placement now; when its size changed since the last call
  // (proportions kept and the map resized), the frame follows T to it.
  SquarePlacement syncSquare(ViewSize view);
  EditorResponse beginPan(ViewSize view, ViewButton button, int x, int y);
  EditorResponse navigated(ViewSize view, bool changed);
  PixelRect onScreen(const PixelRect& rect) const;

  ModelStore& store_;
  SelectionState& selection_;
  SelectionBlocks blocks_;
  Drag drag_;
  ViewTransform transform_;
  SquarePlacement square_;  // as of the last event
  bool squareKnown_ = false;
  bool spaceHeld_ = false;
  int handleSize_ = kTrackerHandleSize;
};

}  // namespace corvina
