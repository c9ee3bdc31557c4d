#pragma once
// The selection frame as a rectangle tracker: a rectangle in view pixels
// with eight square handles of 4 pixels drawn inside it (four corners, four
// edge midpoints). Hit testing looks at the handles first, then the inside;
// a drag moves the whole rectangle (inside) or the edges a handle carries,
// and may turn the rectangle inside out.

#include <vector>

#include "tools/selection_state.h"

namespace corvina {

constexpr int kTrackerHandleSize = 4;

enum class TrackerHit {
  Nothing,
  TopLeft,
  TopRight,
  BottomRight,
  BottomLeft,
  Top,
  Right,
  Bottom,
  Left,
  Inside,
};

// The pointer shapes the view shows; the window maps them to its toolkit's
// cursors (SizeNwSe: Qt::SizeFDiagCursor, SizeNeSw: Qt::SizeBDiagCursor,
// SizeNs: Qt::SizeVerCursor, SizeWe: Qt::SizeHorCursor, Move:
// Qt::SizeAllCursor, Arrow: Qt::ArrowCursor; OpenHand and ClosedHand, ready
// to pan and panning, Qt's hand cursors).
enum class ViewCursor { Arrow, SizeNwSe, SizeNeSw, SizeNs, SizeWe, Move, OpenHand, ClosedHand };

struct TrackerHandle {
  TrackerHit hit;
  PixelRect rect;  // right and bottom exclusive
};

// `rect` with left <= right and top <= bottom.
PixelRect normalized(const PixelRect& rect);

// The handles of a rectangle (made normal first), corners before edge
// midpoints, `size` pixels square (4 logical pixels: more on a dense
// screen). Edge midpoints are left out where the edge is too short to hold
// three handles apart. Each handle rect has right and bottom exclusive.
std::vector<TrackerHandle> trackerHandles(const PixelRect& rect, int size = kTrackerHandleSize);

// What the pixel (x, y) hits: a handle first, then the inside (left <= x <
// right, top <= y < bottom of the normal rectangle), else Nothing.
TrackerHit hitTest(const PixelRect& rect, int x, int y, int handleSize = kTrackerHandleSize);

// The handle size for `pixelRatio` device pixels per logical pixel: 4
// logical pixels, at least one device pixel.
int trackerHandleSize(double pixelRatio);

ViewCursor cursorFor(TrackerHit hit);

// The rectangle after a drag that started on `hit` and moved by (dx, dy):
// the inside moves all edges, a handle moves the edges it sits on where the
// rectangle is shown, as hitTest found it: on a rectangle already inside out
// the left handle carries its right edge. The result is not made normal: a
// handle dragged across the opposite edge leaves right < left (or bottom <
// top), and one dragged back across turns it normal again.
PixelRect draggedRect(const PixelRect& start, TrackerHit hit, int dx, int dy);

}  // namespace corvina
