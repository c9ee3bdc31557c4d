#pragma once
// Facet outlines gathered into runs of one pen: lines pile up while the pen
// stays the same and go to the painter in one call when it changes or at the
// end, so a model ordered by set draws with a handful of pen changes.

#include <QPainter>
#include <QRgb>
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
  // Draws on `painter` (antialiasing off); the painter must outlive the batch.
  explicit OutlineBatch(QPainter& painter) : painter_(painter) {}
  ~OutlineBatch() { flush(); }
  OutlineBatch(const OutlineBatch&) = delete;
  OutlineBatch& operator=(const OutlineBatch&) = delete;

  // Lines from now on use `style`; the pen itself changes only when it differs.
  void setStyle(const OutlineStyle& style);

  // A line of the current style. Endpoints far outside the view are clipped
  // first so the drawing code never meets coordinates it cannot hold.
  void line(ViewPoint from, ViewPoint to);

  // Draws what is gathered.
  void flush();

  int penChanges() const { return penChanges_; }

 private:
  QPainter& painter_;
  std::vector<QLine> lines_;
  OutlineStyle style_;
  bool hasStyle_ = false;
  int penChanges_ = 0;
};

}  // namespace corvina::painter
