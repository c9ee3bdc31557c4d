#pragma once
// Where two pictures of the view first differ, for the message of a failed
// comparison.

#include <QImage>
#include <string>

namespace corvina::painter::testing {

inline std::string firstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return "none";
}

}  // namespace corvina::painter::testing
