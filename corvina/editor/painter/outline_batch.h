#pragma once
// Facet outlines gathered into runs of one pen: lines pile up while the pen
// stays the same and are drawn together when it changes or at the end, so a
// model ordered by set draws with a handful of pen changes. Solid lines that
// lie wholly inside the picture are set pixel by pixel straight into it (the
// general line code costs more per line than the few pixels a facet edge of
// a large model has), dotted ones go to the painter; of a line that leaves
// the picture exactly the pixels the whole line would set inside it are set.

#include <QImage>
#include <QPainter>
#include <QRgb>
#include <cstdint>
#include <vector>

#include "editor/painter/view_point.h"

namespace corvina::painter {

struct OutlineStyle {
  QRgb color = 0;
  bool dotted = false;
  bool operator==(const OutlineStyle&) const = default;
};

class OutlineBatch {
 public:
  // Draws on `image` through `painter`, which is active on it with
  // antialiasing off; both must outlive the batch. The image is 32 bits per
  // pixel.
  OutlineBatch(QPainter& painter, QImage& image);
  ~OutlineBatch() { flush(); }
  OutlineBatch(const OutlineBatch&) = delete;
  OutlineBatch& operator=(const OutlineBatch&) = delete;

  // Lines from now on use `style`; the pen itself changes only when it differs.
  void setStyle(const OutlineStyle& style);

  // A line of the current style from `from` to `to`; the ends may lie
  // anywhere a truncated float can.
  void line(ViewPoint from, ViewPoint to);

  // Draws what is gathered.
  void flush();

  int penChanges() const { return penChanges_; }

 private:
  QPainter& painter_;
  std::uint32_t* pixels_;
  qsizetype pixelsPerRow_;
  int width_, height_;
  std::vector<QLine> lines_;
  OutlineStyle style_;
  bool hasStyle_ = false;
  int penChanges_ = 0;
};

}  // namespace corvina::painter
