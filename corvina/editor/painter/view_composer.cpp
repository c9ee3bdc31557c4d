#include "editor/painter/view_composer.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "editor/painter/empty_view.h"
#include "editor/painter/no_uv_hint.h"
#include "editor/painter/outline_batch.h"
#include "editor/painter/selection_frame_drawing.h"
#include "editor/painter/view_colors.h"
#include "editor/painter/view_point.h"

namespace corvina::painter {

namespace {

const TexVertex kNoUvMarker{kNoUvU, kNoUvV, 0.0f};
constexpr int kNoPen = -1;
constexpr int kSelectionPen = -2;

// Walks the facet stream once and draws every visible facet's outline.
class OutlineWalk {
 public:
  OutlineWalk(const ViewScene& scene, QPainter& painter, QImage& image)
      : store_(scene.store),
        width_(scene.width),
        height_(scene.height),
        byVertex_(scene.selection.selectMethod == SelectMethod::ByVertex),
        frame_(frameTransform(scene.selection)),
        batch_(painter, image) {
    const std::size_t records =
        store_.numCornerRecords > 0 ? static_cast<std::size_t>(store_.numCornerRecords) : 0;
    length_ = std::min(store_.facetStream.size(), records);
    const std::size_t texCount =
        store_.numTVerts > 0 ? static_cast<std::size_t>(store_.numTVerts) : 0;
    texCount_ = std::min(store_.texVertices.size(), texCount);
  }

  // Draws the outlines; returns whether every tested corner lacks
  // coordinates (the hint is then due).
  bool run() {
    const std::vector<CornerRecord>& stream = store_.facetStream;
    std::size_t first = 1;
    ViewPoint penAt, firstPoint;
    std::size_t j = 1;
    while (j < length_) {
      const CornerRecord& record = stream[j];
      if (record.vertex < 0) break;
      if (record.vertex == kSeparator) {
        ++j;
        continue;
      }
      if (record.flags & kHiddenBit) {
        // The rest of the facet is skipped; its corners still count for the
        // hint, so a model whose only coordinates are hidden shows none.
        while (j < length_ && stream[j].vertex > 0) noteTested(stream[j++]);
        if (j < length_ && stream[j].vertex == kSeparator) ++j;
        continue;
      }
      choosePen(record);
      const ViewPoint point = pointOf(record);
      if (stream[j - 1].vertex == kSeparator) {
        first = j;
        firstPoint = point;
      } else {
        batch_.line(penAt, point);
      }
      penAt = point;
      const bool facetEnds = j + 1 >= length_ || stream[j + 1].vertex <= 0;
      if (facetEnds) {
        batch_.line(penAt, first == j ? point : firstPoint);
        noteTested(stream[first]);
        j += (j + 1 < length_ && stream[j + 1].vertex == kSeparator) ? 2 : 1;
        continue;
      }
      ++j;
    }
    batch_.flush();
    return !anyCoordinates_;
  }

  const std::vector<QRect>& vertexSquares() const { return squares_; }
  int penChanges() const { return batch_.penChanges(); }

 private:
  // A texture index outside the texture vertices reads as the no-UV marker
  // rather than past the end of the array.
  const TexVertex& uvOf(const CornerRecord& record) const {
    if (record.texVertex < 1 || static_cast<std::size_t>(record.texVertex) > texCount_)
      return kNoUvMarker;
    return store_.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
  }

  void noteTested(const CornerRecord& record) {
    const TexVertex& uv = uvOf(record);
    if (uv.u != kNoUvU || uv.v != kNoUvV) anyCoordinates_ = true;
  }

  // The palette index of a record's pen, or kSelectionPen for the dotted
  // selection pen.
  int penOf(const CornerRecord& record) const {
    if ((record.group & kSelectedBit) != 0 && !byVertex_) return kSelectionPen;
    switch (store_.colorMode) {
      case 1:
        return (record.group & kSetIndexMask) % kSetPaletteSize;
      case 2:
        return (record.material & kSetIndexMask) % kSetPaletteSize;
      case 3:
        return (record.region & kSetIndexMask) % kSetPaletteSize;
      default:
        return 0;
    }
  }

  void choosePen(const CornerRecord& record) {
    const int pen = penOf(record);
    if (pen == currentPen_) return;
    currentPen_ = pen;
    if (pen == kSelectionPen)
      batch_.setStyle({selectionColor().rgb(), true});
    else
      batch_.setStyle({setPaletteColor(pen).rgb(), false});
  }

  ViewPoint pointOf(const CornerRecord& record) {
    const bool selected = (record.group & kSelectedBit) != 0;
    const ViewPoint point = viewPoint(uvOf(record), selected, frame_, width_, height_);
    if (selected && byVertex_ && onCanvas(point))
      squares_.emplace_back(static_cast<int>(point.x) - 2, static_cast<int>(point.y) - 2, 4, 4);
    return point;
  }

  bool onCanvas(ViewPoint p) const {
    return p.x >= -2 && p.y >= -2 && p.x <= width_ + 2 && p.y <= height_ + 2;
  }

  const ModelStore& store_;
  int width_, height_;
  bool byVertex_;
  FrameTransform frame_;
  OutlineBatch batch_;
  std::size_t length_ = 0, texCount_ = 0;
  bool anyCoordinates_ = false;
  int currentPen_ = kNoPen;
  std::vector<QRect> squares_;
};

void drawBackground(QPainter& painter, const QImage& background, int width, int height) {
  // Every source pixel copied to its stretched place, no filtering.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, width, height), background);
}

}  // namespace

QImage composeView(const ViewScene& scene, CompositionReport* report) {
  const int width = std::max(1, scene.width);
  const int height = std::max(1, scene.height);
  CompositionReport result;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return image;  // no memory for the picture: nothing to show
  const bool showBackground = scene.background != nullptr && !scene.background->isNull();

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (scene.store.modelLoaded == 0) {
    if (showBackground) {
      drawBackground(painter, *scene.background, width, height);
    } else {
      image.fill(emptyViewColor());
      drawEmblem(painter, width, height);
      result.emblemShown = true;
    }
  } else {
    if (showBackground)
      drawBackground(painter, *scene.background, width, height);
    else
      image.fill(Qt::white);
    ViewScene sized = scene;
    sized.width = width;
    sized.height = height;
    OutlineWalk walk(sized, painter, image);
    const bool hintDue = walk.run();
    for (const QRect& square : walk.vertexSquares()) painter.fillRect(square, selectionColor());
    result.penChanges = walk.penChanges();
    if (hintDue) {
      drawNoUvHint(painter, width, height, scene.pixelRatio);
      result.hintShown = true;
    }
  }
  painter.end();
  if (report != nullptr) *report = result;
  return image;
}

QImage composeViewWithFrame(const ViewScene& scene, CompositionReport* report) {
  QImage image = composeView(scene, report);
  if (!image.isNull() && scene.store.modelLoaded != 0 && scene.selection.selectionActive) {
    QPainter painter(&image);
    drawSelectionFrame(painter, scene.selection.framePixels);
  }
  return image;
}

}  // namespace corvina::painter
