#pragma once
// A Qt picture as the preview renderer samples it: RGBA, rows from the top.

#include <QImage>
#include <cstring>

#include "preview/checker.h"

namespace corvina::preview {

inline TexturePixels texturePixelsOf(const QImage& image) {
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  TexturePixels pixels{rgba.width(), rgba.height(), {}};
  const std::size_t rowBytes = static_cast<std::size_t>(rgba.width()) * 4;
  pixels.rgba.resize(rowBytes * static_cast<std::size_t>(rgba.height()));
  for (int y = 0; y < rgba.height(); ++y)
    std::memcpy(pixels.rgba.data() + static_cast<std::size_t>(y) * rowBytes, rgba.constScanLine(y),
                rowBytes);
  return pixels;
}

}  // namespace corvina::preview
