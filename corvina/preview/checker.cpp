#include "preview/checker.h"

#include <algorithm>

namespace corvina::preview {

TexturePixels checkerPixels(int side) {
  side = std::max(side, kCheckerSquares);
  TexturePixels picture{side, side, {}};
  picture.rgba.resize(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 4);
  std::size_t at = 0;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int square = x * kCheckerSquares / side + y * kCheckerSquares / side;
      const Rgb& c = square % 2 == 0 ? kCheckerLight : kCheckerDark;
      picture.rgba[at++] = c.red;
      picture.rgba[at++] = c.green;
      picture.rgba[at++] = c.blue;
      picture.rgba[at++] = 255;
    }
  return picture;
}

}  // namespace corvina::preview
