#pragma once
// The field the facet outlines are drawn over: the texture square white, or
// covered by the background picture stretched to it. At the original view
// the square is the whole picture; zoomed out or panned, the picture around
// it is grey and a one-pixel outline just outside the square shows where
// the 0..1 square ends, so coordinates outside it are seen as such.

#include <QImage>

#include "editor/view_transform.h"

namespace corvina::painter {

QColor outsideSquareColor();
QColor squareOutlineColor();

// Fills `image` (32 bits per pixel) as described above; `background` may be
// nullptr.
void drawMapField(QImage& image, const QImage* background, const SquarePlacement& square);

}  // namespace corvina::painter
