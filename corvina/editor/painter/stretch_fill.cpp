#include "editor/painter/stretch_fill.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "editor/painter/view_point.h"
#include "model/model_walk.h"

namespace corvina::painter {

namespace {

struct Rgb {
  int red, green, blue;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLess{48, 96, 255};  // a facet given less of the map
constexpr Rgb kMore{255, 64, 48};  // more of the map, or angles changed
constexpr double kAngleForFull = 45.0;

// From white (at 0) to `end` (at 1).
QRgb towards(const Rgb& end, double t) {
  auto channel = [t](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * t));
  };
  return qRgb(channel(kWhite.red, end.red), channel(kWhite.green, end.green),
              channel(kWhite.blue, end.blue));
}

// Fills the polygon of `points` by rows: pixel (x, y) is filled when the
// point (x, y) is inside (even-odd), with the left side in and the right side
// out, so neighbours split their shared side. Rows and columns outside the
// picture are never visited, however far out the corners lie.
void fillPolygon(QImage& image, const std::vector<ViewPoint>& points, QRgb color,
                 std::vector<double>& crossings) {
  double top = points[0].y, bottom = points[0].y;
  for (const ViewPoint& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const int width = image.width(), height = image.height();
  const int firstRow = static_cast<int>(std::max(0.0, std::ceil(top)));
  const int lastRow =
      static_cast<int>(std::min(static_cast<double>(height - 1), std::ceil(bottom) - 1));
  auto* bits = reinterpret_cast<QRgb*>(image.bits());
  const std::ptrdiff_t stride = image.bytesPerLine() / 4;
  for (int row = firstRow; row <= lastRow; ++row) {
    const double y = row;
    crossings.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const ViewPoint& a = points[i];
      const ViewPoint& b = points[i + 1 == points.size() ? 0 : i + 1];
      if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y))
        crossings.push_back(a.x + (y - a.y) * ((b.x - a.x) / (b.y - a.y)));
    }
    std::sort(crossings.begin(), crossings.end());
    QRgb* line = bits + row * stride;
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const double from = std::max(0.0, std::ceil(crossings[k]));
      const double to = std::min(static_cast<double>(width), std::ceil(crossings[k + 1]));
      for (int x = static_cast<int>(from); x < static_cast<int>(to); ++x) line[x] = color;
    }
  }
}

}  // namespace

QRgb stretchColor(StretchKind kind, float value) {
  if (kind == StretchKind::Angle) {
    const double t = std::isfinite(value) ? std::clamp(value / kAngleForFull, 0.0, 1.0) : 1.0;
    return towards(kMore, t);
  }
  // Area ratio: log2 over 2, so a factor of 4 either way is the full colour.
  if (!(value > 0)) return towards(kLess, 1.0);
  const double t = std::clamp(std::log2(static_cast<double>(value)) / 2.0, -1.0, 1.0);
  return t < 0 ? towards(kLess, -t) : towards(kMore, t);
}

void drawStretchFill(QImage& image, const ViewScene& scene) {
  const StretchFill* fill = scene.stretch;
  if (fill == nullptr || image.format() != QImage::Format_RGB32) return;
  const ModelStore& store = scene.store;
  const FrameTransform frame = frameTransform(scene.selection);
  const SquarePlacement square = squareOf(scene, image.width(), image.height());
  std::vector<ViewPoint> points;
  std::vector<double> crossings;
  std::size_t facet = 0;
  forEachFacetSpan(store, [&](std::size_t first, std::size_t end) {
    const std::size_t f = facet++;
    if (f >= fill->count || fill->measured[f] == 0 || end < first + 3) return;
    if ((store.facetStream[first].flags & kHiddenBit) != 0) return;  // hidden: nothing drawn
    points.clear();
    for (std::size_t j = first; j < end; ++j) {
      const CornerRecord& corner = store.facetStream[j];
      const TexVertex* uv = texVertexOf(store, corner);
      if (uv == nullptr) return;
      points.push_back(viewPoint(*uv, isCornerSelected(corner), frame, square));
    }
    fillPolygon(image, points, stretchColor(fill->kind, fill->values[f]), crossings);
  });
}

}  // namespace corvina::painter
