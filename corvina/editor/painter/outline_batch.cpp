#include "editor/painter/outline_batch.h"

#include <QPen>
#include <algorithm>
#include <cstdlib>

#include "editor/texture_map_raster_line.h"

namespace corvina::painter {

namespace {

// Integer coordinates up to this size pass straight to the painter; its line
// drawing works in fixed point and must not see much more.
constexpr double kSafeReach = 1 << 20;
// Lines gathered before a draw call even when the pen stays: bounds memory.
constexpr std::size_t kBatchLimit = 16384;
// The selection pen's dots: 3 pixels on, 3 off.
constexpr int kDashLength = 3;

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
  const LinePoint start{from.x, from.y}, end{to.x, to.y};
  if (withinReach(start, kSafeReach) && withinReach(end, kSafeReach)) {
    const QLine line(static_cast<int>(from.x), static_cast<int>(from.y), static_cast<int>(to.x),
                     static_cast<int>(to.y));
    if (inside(line, width_, height_)) {
      // A solid line inside the picture needs no painter: its pixels are set
      // now, which is the same as setting them at the flush, the colour
      // being one.
      if (!style_.dotted && pixels_ != nullptr) {
        setLinePixels(pixels_, pixelsPerRow_, line, 0xFF000000u | style_.color);
        return;
      }
      lines_.push_back(line);
      if (lines_.size() >= kBatchLimit) flush();
      return;
    }
  }
  // A line that leaves the picture: the pixels of the whole line from `from`
  // that fall inside, however far away its ends are, so what shows of it
  // lies exactly where the whole line runs (solid lines inside the picture
  // take the same pixels above). Dots count from `from`.
  if (pixels_ == nullptr) return;
  const std::uint32_t color = 0xFF000000u | style_.color;
  std::uint32_t* pixels = pixels_;
  const qsizetype perRow = pixelsPerRow_;
  forEachVisibleLinePixel(start, end, width_, height_, style_.dotted ? 2 * kDashLength : 1,
                          [pixels, perRow, color](int x, int y, int phase) {
                            if (phase < kDashLength) pixels[y * perRow + x] = color;
                          });
}

void OutlineBatch::flush() {
  if (lines_.empty()) return;
  painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  lines_.clear();
}

}  // namespace corvina::painter
