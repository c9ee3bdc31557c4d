// The selection frame as drawn must be the tracker's rectangle: its outline
// runs along the rectangle's outermost pixels, the handles sit on it, and
// every pixel of the drawing is one the tracker's hit test answers to.

#include "editor/painter/selection_frame_drawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "editor/tracker.h"

namespace corvina::painter {
namespace {

bool insidePixels(const PixelRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The pixels the frame must cover: the outermost ring of the normal
// rectangle's pixels, and the handles.
bool expectedBlack(const PixelRect& frame, int x, int y) {
  const PixelRect r = normalized(frame);
  for (const TrackerHandle& handle : trackerHandles(frame))
    if (insidePixels(handle.rect, x, y)) return true;
  if (!insidePixels(r, x, y)) return false;
  return x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
}

TEST(SelectionFrameDrawing, OutlineLiesOnTheTrackerRectangleAndEveryDrawnPixelHits) {
  const PixelRect frames[] = {
      {10, 40, 10, 30},  // left, right, top, bottom
      {40, 10, 30, 10},  // inside out both ways
      {5, 60, 50, 7},    // inside out vertically
      {20, 26, 20, 26},  // too small for edge handles
      {0, 64, 0, 48},    // the whole picture
  };
  for (const PixelRect& frame : frames) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      drawSelectionFrame(painter, frame);
    }
    int mismatches = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const bool black = (image.pixel(x, y) & 0xFFFFFFu) == 0;
        if (black != expectedBlack(frame, x, y)) ++mismatches;
        if (black) {
          EXPECT_NE(hitTest(frame, x, y), TrackerHit::Nothing) << x << "," << y;
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "frame " << frame.left << " " << frame.right << " " << frame.top
                             << " " << frame.bottom;
  }
}

}  // namespace
}  // namespace corvina::painter
