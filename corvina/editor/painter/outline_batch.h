#pragma once
// Facet outlines set pixel by pixel straight into the picture in the
// current style (see outline_pixels.h for which pixels a line takes). The
// style changes are counted: a model ordered by set draws with a handful.

#include <QImage>
#include <QRgb>
#include <cstdint>

#include "editor/painter/part_layers.h"
#include "editor/painter/view_point.h"

namespace corvina::painter {

struct OutlineStyle {
  QRgb color = 0;
  bool dotted = false;
  bool operator==(const OutlineStyle&) const = default;
};

class OutlineBatch {
 public:
  // Draws on `image`, 32 bits per pixel, which must outlive the batch.
  explicit OutlineBatch(QImage& image);
  // Draws into one part's layer of a width x height picture, noting the
  // rows it reaches; `target` must outlive the batch.
  OutlineBatch(PartTarget& target, int width, int height);
  OutlineBatch(const OutlineBatch&) = delete;
  OutlineBatch& operator=(const OutlineBatch&) = delete;

  // Lines from now on use `style`.
  void setStyle(const OutlineStyle& style);

  // A line of the current style from `from` to `to`; the ends may lie
  // anywhere a truncated float can.
  void line(ViewPoint from, ViewPoint to);

  int penChanges() const { return penChanges_; }
  // The first and the last style set (meaningful once penChanges() > 0).
  const OutlineStyle& firstStyle() const { return first_; }
  const OutlineStyle& style() const { return style_; }

 private:
  std::uint32_t* pixels_;
  qsizetype pixelsPerRow_;
  int width_, height_;
  PartTarget* target_ = nullptr;
  OutlineStyle style_, first_;
  bool hasStyle_ = false;
  int penChanges_ = 0;
};

}  // namespace corvina::painter
