#pragma once
// The view with no model loaded: the grey field with our emblem, a 160 x 213
// picture shipped inside the program.

#include <QImage>
#include <QPainter>

namespace corvina::painter {

constexpr int kEmblemWidth = 160;
constexpr int kEmblemHeight = 213;

// The emblem as shipped (a null image if the resource is missing).
QImage emblemPicture();

// Where the emblem's top-left corner goes in a width x height view: centred,
// but never left of or above the view's own corner.
QPoint emblemOrigin(int width, int height);

// Copies the emblem unscaled to its place.
void drawEmblem(QPainter& painter, int width, int height);

}  // namespace corvina::painter
