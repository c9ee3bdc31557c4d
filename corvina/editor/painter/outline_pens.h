#pragma once
// The colour each outline is drawn in, looked up from a table made once per
// composition rather than through the toolkit's colour type for every line.

#include <array>
#include <cstdint>

#include "editor/painter/view_colors.h"
#include "model/model_store.h"

namespace corvina::painter {

class OutlinePens {
 public:
  // Pens for `colorMode` (0 one colour, 1 by group, 2 by material, 3 by
  // region); with `byVertex` selected corners get squares instead of a
  // dotted pen.
  OutlinePens(int colorMode, bool byVertex)
      : selection_(0xFF000000u | selectionColor().rgb()),
        colorMode_(colorMode),
        byVertex_(byVertex) {
    for (int i = 0; i < kSetPaletteSize; ++i)
      palette_[static_cast<std::size_t>(i)] = 0xFF000000u | setPaletteColor(i).rgb();
  }

  // The opaque colour of a line in the pen of `pen`; `dotted` tells whether
  // it takes the selection's dotted pen.
  std::uint32_t color(const CornerRecord& pen, bool& dotted) const {
    dotted = (pen.group & kSelectedBit) != 0 && !byVertex_;
    if (dotted) return selection_;
    return palette_[static_cast<std::size_t>(index(pen))];
  }

  // The palette index of `pen`'s set in the colour mode.
  int index(const CornerRecord& pen) const {
    switch (colorMode_) {
      case 1:
        return (pen.group & kSetIndexMask) % kSetPaletteSize;
      case 2:
        return (pen.material & kSetIndexMask) % kSetPaletteSize;
      case 3:
        return (pen.region & kSetIndexMask) % kSetPaletteSize;
      default:
        return 0;
    }
  }

 private:
  std::array<std::uint32_t, kSetPaletteSize> palette_{};
  std::uint32_t selection_;
  int colorMode_;
  bool byVertex_;
};

}  // namespace corvina::painter
