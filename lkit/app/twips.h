#pragma once

#include <QRect>
#include <QSize>

namespace lkit {

// Form positions are given in twips; the screen has 15 twips per pixel.
inline constexpr int kTwipsPerPixel = 15;

inline QRect twips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
               height / kTwipsPerPixel);
}

inline QSize twipsSize(int width, int height) {
  return QSize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}

}  // namespace lkit
