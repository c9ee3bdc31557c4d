#include "editor/painter/outline_batch.h"

#include "editor/painter/outline_pixels.h"

namespace corvina::painter {

OutlineBatch::OutlineBatch(QImage& image)
    : pixels_(reinterpret_cast<std::uint32_t*>(image.bits())),
      pixelsPerRow_(image.bytesPerLine() / 4),
      width_(image.width()),
      height_(image.height()) {}

OutlineBatch::OutlineBatch(PartTarget& target, int width, int height)
    : pixels_(target.pixels),
      pixelsPerRow_(target.pixelsPerRow),
      width_(width),
      height_(height),
      target_(&target) {}

void OutlineBatch::setStyle(const OutlineStyle& style) {
  if (hasStyle_ && style == style_) return;
  if (!hasStyle_) first_ = style;
  style_ = style;
  hasStyle_ = true;
  ++penChanges_;
}

void OutlineBatch::line(ViewPoint from, ViewPoint to) {
  if (pixels_ == nullptr) return;
  const std::uint32_t color = 0xFF000000u | style_.color;
  std::uint32_t* pixels = pixels_;
  const qsizetype perRow = pixelsPerRow_;
  if (target_ != nullptr) {
    PartTarget* target = target_;
    forEachOutlinePixel(from, to, style_.dotted, width_, height_, [=](int x, int y) {
      pixels[y * perRow + x] = color;
      target->reached(y);
    });
    return;
  }
  forEachOutlinePixel(from, to, style_.dotted, width_, height_,
                      [pixels, perRow, color](int x, int y) { pixels[y * perRow + x] = color; });
}

}  // namespace corvina::painter
