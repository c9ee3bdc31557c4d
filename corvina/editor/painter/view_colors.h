#pragma once
// The colours the texture-map view draws with. The set palette is shared with
// the bitmap template, which repeats it byte for byte.

#include <QColor>
#include <array>

namespace corvina::painter {

constexpr int kSetPaletteSize = 14;

// Index i of the palette colours sets whose index is i modulo 14.
inline QColor setPaletteColor(int index) {
  static constexpr std::array<std::array<int, 3>, kSetPaletteSize> kPalette{{
      {0, 0, 0},
      {255, 0, 0},
      {0, 255, 0},
      {0, 0, 255},
      {255, 255, 0},
      {255, 0, 255},
      {0, 255, 255},
      {127, 0, 0},
      {0, 127, 0},
      {0, 0, 127},
      {127, 127, 0},
      {127, 0, 127},
      {0, 127, 127},
      {127, 127, 127},
  }};
  const auto& rgb = kPalette[static_cast<std::size_t>(index % kSetPaletteSize)];
  return QColor(rgb[0], rgb[1], rgb[2]);
}

inline QColor selectionColor() {
  return QColor(192, 0, 0);
}

inline QColor emptyViewColor() {
  return QColor(109, 109, 109);
}

}  // namespace corvina::painter
