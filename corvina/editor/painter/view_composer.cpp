#include "editor/painter/view_composer.h"

#include <QPainter>
#include <algorithm>
#include <optional>
#include <vector>

#include "editor/painter/empty_view.h"
#include "editor/painter/map_field.h"
#include "editor/painter/no_uv_hint.h"
#include "editor/painter/outline_batch.h"
#include "editor/painter/outline_pens.h"
#include "editor/painter/outline_walk.h"
#include "editor/painter/selection_frame_drawing.h"
#include "editor/painter/stretch_fill.h"
#include "editor/painter/view_colors.h"
#include "editor/painter/view_point.h"
#include "model/parallel_parts.h"
#include "model/stream_ranges.h"

namespace corvina::painter {

namespace {

constexpr int kNoPen = -1;
constexpr int kSelectionPen = -2;

// The palette index of a corner's pen, or kSelectionPen for the dotted
// selection pen.
int penOf(const OutlinePens& pens, const CornerRecord& record, bool byVertex) {
  if ((record.group & kSelectedBit) != 0 && !byVertex) return kSelectionPen;
  return pens.index(record);
}

OutlineStyle styleOf(int pen) {
  if (pen == kSelectionPen) return {selectionColor().rgb(), true};
  return {setPaletteColor(pen).rgb(), false};
}

// Draws every line of the walk into the picture, each corner's point
// computed once.
class OutlineDrawing {
 public:
  OutlineDrawing(const ViewScene& scene, const OutlineSource& source, PartTarget& target)
      : pens_(scene.store.colorMode, scene.selection.selectMethod == SelectMethod::ByVertex),
        source_(source),
        width_(scene.width),
        height_(scene.height),
        square_(squareOf(scene, scene.width, scene.height)),
        mark_(markSize(scene.pixelRatio)),
        byVertex_(scene.selection.selectMethod == SelectMethod::ByVertex),
        frame_(frameTransform(scene.selection)),
        batch_(target, scene.width, scene.height) {}

  void corner(std::size_t j) {
    previous_ = current_;
    const CornerRecord& record = source_.record(j);
    const bool selected = (record.group & kSelectedBit) != 0;
    current_ = viewPoint(source_.uvOf(record), selected, frame_, square_);
    if (j == 1 || source_.record(j - 1).vertex == kSeparator) first_ = current_;
    if (selected && byVertex_ && onCanvas(current_))
      squares_.emplace_back(static_cast<int>(current_.x) - mark_ / 2,
                            static_cast<int>(current_.y) - mark_ / 2, mark_, mark_);
  }

  void line(std::size_t from, std::size_t to, std::size_t pen) {
    const int penIndex = penOf(pens_, source_.record(pen), byVertex_);
    if (penIndex != currentPen_) {
      currentPen_ = penIndex;
      batch_.setStyle(styleOf(penIndex));
    }
    if (to > from)
      batch_.line(previous_, current_);
    else
      batch_.line(current_, to == from ? current_ : first_);
  }

  std::vector<QRect>& vertexSquares() { return squares_; }
  const OutlineBatch& batch() const { return batch_; }

 private:
  bool onCanvas(ViewPoint p) const {
    const int reach = mark_ / 2;
    return p.x >= -reach && p.y >= -reach && p.x <= width_ + reach && p.y <= height_ + reach;
  }

  OutlinePens pens_;
  const OutlineSource& source_;
  int width_, height_;
  SquarePlacement square_;
  int mark_;
  bool byVertex_;
  FrameTransform frame_;
  OutlineBatch batch_;
  ViewPoint previous_, current_, first_;
  int currentPen_ = kNoPen;
  std::vector<QRect> squares_;
};

// Records per part below which another thread does not pay for its layer.
constexpr std::size_t kPartRecords = std::size_t{1} << 16;
// The most the parts' layers may take together.
constexpr std::size_t kLayerBudget = std::size_t{256} << 20;

// What the outlines drew: the vertex squares in order, the style changes as
// one walk would count them, and whether the hint is due.
struct Outlines {
  std::vector<QRect> squares;
  int penChanges = 0;
  bool hintDue = false;
};

// Every line of the walk drawn into `image`, in order: the stream is cut
// into parts in drawing order, the first drawn straight into the picture,
// each other into a layer of its own laid over it in part order.
Outlines drawOutlines(const ViewScene& scene, QImage& image, PartLayers& layers) {
  const OutlineSource source(scene.store);
  // A large picture (a render many times the screen's size) takes fewer
  // parts, so the layers stay within kLayerBudget bytes.
  const std::size_t layerBytes =
      static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()) * 4;
  const std::size_t parts = std::min(compositionParts(), 1 + kLayerBudget / layerBytes);
  std::vector<PartRange> ranges = facetRanges(scene.store.facetStream.data(), source.length(),
                                              parts, parallelMinimum(kPartRecords));
  if (ranges.size() > 1 && !layers.prepare(ranges.size(), image.width(), image.height(), false))
    ranges = {PartRange{0, source.length()}};
  PartTarget first;
  first.pixels = reinterpret_cast<std::uint32_t*>(image.bits());
  first.pixelsPerRow = image.bytesPerLine() / 4;
  std::vector<OutlineSource::RangeEnd> ends(ranges.size());
  std::vector<std::optional<OutlineDrawing>> drawings(ranges.size());
  runParts(ranges.size(), [&](std::size_t k) {
    OutlineDrawing& drawing = drawings[k].emplace(scene, source, k == 0 ? first : layers.target(k));
    ends[k] = source.walkRange(drawing, ranges[k].begin, ranges[k].end);
  });
  // The parts after the one where the list ended draw nothing.
  Outlines outlines;
  std::size_t drawn = 0;
  bool anyCoordinates = false;
  const OutlineStyle* last = nullptr;
  while (drawn < ranges.size()) {
    OutlineDrawing& drawing = *drawings[drawn];
    anyCoordinates = anyCoordinates || ends[drawn].anyCoordinates;
    std::vector<QRect>& partSquares = drawing.vertexSquares();
    outlines.squares.insert(outlines.squares.end(), partSquares.begin(), partSquares.end());
    const OutlineBatch& batch = drawing.batch();
    if (batch.penChanges() > 0) {
      // A part that starts in the style the one before ended with did not
      // change it there.
      outlines.penChanges +=
          batch.penChanges() - (last != nullptr && *last == batch.firstStyle() ? 1 : 0);
      last = &batch.style();
    }
    if (ends[drawn++].listEnded) break;
  }
  if (ranges.size() > 1) layers.mergeInto(first.pixels, first.pixelsPerRow, nullptr, drawn);
  outlines.hintDue = !anyCoordinates;
  return outlines;
}

void drawBackground(QPainter& painter, const QImage& background, int width, int height) {
  // Every source pixel copied to its stretched place, no filtering.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, width, height), background);
}

}  // namespace

QImage composeView(const ViewScene& scene, CompositionReport* report) {
  PartLayers layers;
  return composeView(scene, report, layers);
}

QImage composeView(const ViewScene& scene, CompositionReport* report, PartLayers& layers) {
  const int width = std::max(1, scene.width);
  const int height = std::max(1, scene.height);
  CompositionReport result;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return image;  // no memory for the picture: nothing to show
  const bool showBackground = scene.background != nullptr && !scene.background->isNull();

  if (scene.store.modelLoaded == 0) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (showBackground) {
      drawBackground(painter, *scene.background, width, height);
    } else {
      image.fill(emptyViewColor());
      drawEmblem(painter, width, height);
      result.emblemShown = true;
    }
  } else {
    drawMapField(image, showBackground ? scene.background : nullptr,
                 squareOf(scene, width, height));
    ViewScene sized = scene;
    sized.width = width;
    sized.height = height;
    if (scene.stretch != nullptr) drawStretchFill(image, sized);
    const Outlines outlines = drawOutlines(sized, image, layers);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& square : outlines.squares) painter.fillRect(square, selectionColor());
    result.penChanges = outlines.penChanges;
    if (outlines.hintDue) {
      drawNoUvHint(painter, width, height, scene.pixelRatio);
      result.hintShown = true;
    }
  }
  if (report != nullptr) *report = result;
  return image;
}

QImage composeViewWithFrame(const ViewScene& scene, CompositionReport* report) {
  QImage image = composeView(scene, report);
  if (!image.isNull() && scene.store.modelLoaded != 0 && scene.selection.selectionActive) {
    QPainter painter(&image);
    const SquarePlacement square = squareOf(scene, image.width(), image.height());
    drawSelectionFrame(painter, toScreen(scene.selection.framePixels, square),
                       markSize(scene.pixelRatio));
  }
  return image;
}

}  // namespace corvina::painter
