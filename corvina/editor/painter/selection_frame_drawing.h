#pragma once
// The selection frame as the view draws it (a solid one-pixel outline with
// eight 4 x 4 handles inside it) and the rubber band of a drag in progress.

#include <QPainter>
#include <QRect>

#include "editor/tracker.h"
#include "tools/selection_state.h"

namespace corvina::painter {

// The frame's rectangle made normal (left <= right, top <= bottom); its right
// and bottom edges are the pixels just inside right and bottom.
QRect frameRect(const PixelRect& frame);

// The outline on the frame rectangle's outermost pixels and the tracker's
// handles of `handleSize` pixels (the same squares the editor hit tests), in
// black.
void drawSelectionFrame(QPainter& painter, const PixelRect& frame,
                        int handleSize = kTrackerHandleSize);

// A dotted band that shows on light and dark pictures alike.
void drawRubberBand(QPainter& painter, const QRect& band);

}  // namespace corvina::painter
