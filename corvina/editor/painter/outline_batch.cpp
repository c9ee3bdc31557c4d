#include "editor/painter/outline_batch.h"

#include <QPen>
#include <cmath>

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

}  // namespace

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
  lines_.emplace_back(static_cast<int>(from.x), static_cast<int>(from.y), static_cast<int>(to.x),
                      static_cast<int>(to.y));
  if (lines_.size() >= kBatchLimit) flush();
}

void OutlineBatch::flush() {
  if (lines_.empty()) return;
  painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  lines_.clear();
}

}  // namespace corvina::painter
