#pragma once
// The four lines a model without texture coordinates shows in the middle of
// the view.

#include <QFont>
#include <QPainter>
#include <QStringList>

namespace corvina::painter {

// The hint's lines, top to bottom.
QStringList noUvHintLines();

// The first of `faces` the font system really has (letter case aside), or ""
// when it has none of them.
QString firstAvailableFace(const QStringList& faces);

// The hint's 10-point font: "verdana", else "arial", else the default font;
// `pixelRatio` device pixels per logical pixel.
QFont noUvHintFont(double pixelRatio);

// Writes the hint, black on white like plain text on a fresh drawing
// surface, each line centred, the four lines around the middle of the view.
void drawNoUvHint(QPainter& painter, int width, int height, double pixelRatio);

}  // namespace corvina::painter
