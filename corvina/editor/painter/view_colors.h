#pragma once
// The colours the texture-map view draws with. The set palette is shared with
// the bitmap template, whose palette it reads.

#include <QColor>

#include "editor/texture_map_raster.h"

namespace corvina::painter {

constexpr int kSetPaletteSize = static_cast<int>(kSetPalette.size());

// Index i of the palette colours sets whose index is i modulo 14.
inline QColor setPaletteColor(int index) {
  const PaletteColor& rgb = kSetPalette[static_cast<std::size_t>(index % kSetPaletteSize)];
  return QColor(rgb.red, rgb.green, rgb.blue);
}

inline QColor selectionColor() {
  return QColor(192, 0, 0);
}

inline QColor emptyViewColor() {
  return QColor(109, 109, 109);
}

}  // namespace corvina::painter
