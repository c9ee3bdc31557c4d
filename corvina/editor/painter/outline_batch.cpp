#include "editor/painter/outline_batch.h"

#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace corvina::painter {

namespace {

// Integer coordinates up to this size pass straight to the painter; its line
// drawing works in fixed point and must not see much more.
constexpr double kSafeReach = 1 << 20;
// Lines gathered before a draw call even when the pen stays: bounds memory.
constexpr std::size_t kBatchLimit = 16384;

bool withinReach(ViewPoint p) {
  return std::fabs(p.x) <= kSafeReach && std::fabs(p.y) <= kSafeReach;
}

// Liang-Barsky clip of a segment to the square of half-size kSafeReach.
// Returns false when nothing of the segment is inside.
bool clipToReach(ViewPoint& a, ViewPoint& b) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x + kSafeReach, kSafeReach - a.x, a.y + kSafeReach, kSafeReach - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      if (r > t1) return false;
      if (r > t0) t0 = r;
    } else {
      if (r < t0) return false;
      if (r < t1) t1 = r;
    }
  }
  const ViewPoint start{a.x + t0 * dx, a.y + t0 * dy};
  const ViewPoint end{a.x + t1 * dx, a.y + t1 * dy};
  a = {std::round(start.x), std::round(start.y)};
  b = {std::round(end.x), std::round(end.y)};
  return true;
}

QPen penFor(const OutlineStyle& style) {
  QPen pen(QColor::fromRgb(style.color));
  pen.setWidth(1);
  pen.setCosmetic(true);
  if (style.dotted) pen.setDashPattern({3.0, 3.0});
  return pen;
}

bool inside(const QLine& line, int width, int height) {
  return static_cast<unsigned>(line.x1()) < static_cast<unsigned>(width) &&
         static_cast<unsigned>(line.x2()) < static_cast<unsigned>(width) &&
         static_cast<unsigned>(line.y1()) < static_cast<unsigned>(height) &&
         static_cast<unsigned>(line.y2()) < static_cast<unsigned>(height);
}

// Bresenham's line with both end points set; every pixel must lie inside.
void setLinePixels(std::uint32_t* pixels, qsizetype pixelsPerRow, const QLine& line,
                   std::uint32_t color) {
  int x = line.x1(), y = line.y1();
  const int dx = std::abs(line.x2() - x), dy = -std::abs(line.y2() - y);
  const int stepX = x < line.x2() ? 1 : -1;
  const qsizetype stepY = y < line.y2() ? pixelsPerRow : -pixelsPerRow;
  std::uint32_t* at = pixels + y * pixelsPerRow + x;
  int error = dx + dy;
  int remaining = std::max(dx, -dy);
  for (;;) {
    *at = color;
    if (remaining-- == 0) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      at += stepX;
    }
    if (twice <= dx) {
      error += dx;
      at += stepY;
    }
  }
}

}  // namespace

OutlineBatch::OutlineBatch(QPainter& painter, QImage& image)
    : painter_(painter),
      pixels_(reinterpret_cast<std::uint32_t*>(image.bits())),
      pixelsPerRow_(image.bytesPerLine() / 4),
      width_(image.width()),
      height_(image.height()) {}

void OutlineBatch::setStyle(const OutlineStyle& style) {
  if (hasStyle_ && style == style_) return;
  flush();
  style_ = style;
  hasStyle_ = true;
  painter_.setPen(penFor(style));
  ++penChanges_;
}

void OutlineBatch::line(ViewPoint from, ViewPoint to) {
  if (!withinReach(from) || !withinReach(to)) {
    if (!clipToReach(from, to)) return;
  }
  const QLine line(static_cast<int>(from.x), static_cast<int>(from.y), static_cast<int>(to.x),
                   static_cast<int>(to.y));
  // A solid line inside the picture needs no painter: its pixels are set now,
  // which is the same as setting them at the flush, the colour being one.
  if (!style_.dotted && pixels_ != nullptr && inside(line, width_, height_)) {
    setLinePixels(pixels_, pixelsPerRow_, line, 0xFF000000u | style_.color);
    return;
  }
  lines_.push_back(line);
  if (lines_.size() >= kBatchLimit) flush();
}

void OutlineBatch::flush() {
  if (lines_.empty()) return;
  painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  lines_.clear();
}

}  // namespace corvina::painter
