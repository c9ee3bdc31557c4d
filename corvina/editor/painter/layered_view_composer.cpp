#include "editor/painter/layered_view_composer.h"

#include <QPainter>
#include <cstring>

#include "editor/painter/map_field.h"
#include "editor/painter/outline_pixels.h"
#include "editor/painter/outline_walk.h"
#include "editor/painter/view_colors.h"
#include "editor/painter/view_composer.h"

namespace corvina::painter {

namespace {

bool selectedCorner(const CornerRecord& record) {
  return (record.group & kSelectedBit) != 0;
}

std::uint32_t outlineColor(const ModelStore& store, const CornerRecord& pen, bool byVertex,
                           bool& dotted) {
  dotted = selectedCorner(pen) && !byVertex;
  if (dotted) return 0xFF000000u | selectionColor().rgb();
  int index = 0;
  switch (store.colorMode) {
    case 1:
      index = (pen.group & kSetIndexMask) % kSetPaletteSize;
      break;
    case 2:
      index = (pen.material & kSetIndexMask) % kSetPaletteSize;
      break;
    case 3:
      index = (pen.region & kSetIndexMask) % kSetPaletteSize;
      break;
    default:
      break;
  }
  return 0xFF000000u | setPaletteColor(index).rgb();
}

// Walks the outlines and hands the lines that `Layer` wants, numbered in
// drawing order from 1, to its plot. Corner points are computed only for the
// lines drawn.
template <class Layer>
class LayerTracer {
 public:
  LayerTracer(const ViewScene& scene, const OutlineSource& source, Layer& layer)
      : scene_(scene),
        source_(source),
        layer_(layer),
        byVertex_(scene.selection.selectMethod == SelectMethod::ByVertex),
        frame_(frameTransform(scene.selection)),
        square_(squareOf(scene, scene.width, scene.height)),
        mark_(markSize(scene.pixelRatio)) {}

  void corner(std::size_t j) {
    if (j == 1 || source_.record(j - 1).vertex == kSeparator) {
      firstIndex_ = j;
      firstKnown_ = false;
    }
    if constexpr (!Layer::kMoving) {
      if (byVertex_ && selectedCorner(source_.record(j))) layer_.noteSquare(j);
    } else {
      const CornerRecord& record = source_.record(j);
      if (byVertex_ && selectedCorner(record)) {
        const ViewPoint p = computePoint(j);
        const int reach = mark_ / 2;
        if (p.x >= -reach && p.y >= -reach && p.x <= scene_.width + reach &&
            p.y <= scene_.height + reach)
          squares.emplace_back(static_cast<int>(p.x) - reach, static_cast<int>(p.y) - reach, mark_,
                               mark_);
      }
    }
  }

  void line(std::size_t from, std::size_t to, std::size_t pen) {
    const std::uint32_t number = ++lines_;
    const bool moving = selectedCorner(source_.record(from)) || selectedCorner(source_.record(to));
    if constexpr (!Layer::kMoving) {
      if (moving) layer_.noteMoving(from, to, pen, number);
    }
    if (moving != Layer::kMoving) return;
    bool dotted = false;
    const std::uint32_t color = outlineColor(scene_.store, source_.record(pen), byVertex_, dotted);
    forEachOutlinePixel(pointOf(from), pointOf(to), dotted, scene_.width, scene_.height,
                        [&](int x, int y) { layer_.plot(x, y, number, color); });
  }

  std::vector<QRect> squares;

 private:
  // A facet's lines meet at their corners, so each corner's point is
  // computed once: the facet's first corner and the last one reached are
  // kept.
  ViewPoint pointOf(std::size_t j) {
    if (j == firstIndex_) {
      if (!firstKnown_) {
        firstPoint_ = computePoint(j);
        firstKnown_ = true;
      }
      return firstPoint_;
    }
    if (j != lastIndex_) {
      lastPoint_ = computePoint(j);
      lastIndex_ = j;
    }
    return lastPoint_;
  }

  ViewPoint computePoint(std::size_t j) const {
    const CornerRecord& record = source_.record(j);
    return viewPoint(source_.uvOf(record), selectedCorner(record), frame_, square_);
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  const ViewScene& scene_;
  const OutlineSource& source_;
  Layer& layer_;
  bool byVertex_;
  FrameTransform frame_;
  SquarePlacement square_;
  int mark_;
  std::uint32_t lines_ = 0;
  std::size_t lastIndex_ = kNone, firstIndex_ = kNone;
  bool firstKnown_ = false;
  ViewPoint lastPoint_, firstPoint_;
};

struct StillLayer {
  static constexpr bool kMoving = false;
  std::uint32_t* pixels;
  std::ptrdiff_t pixelsPerRow;
  std::uint32_t* lineAt;
  int width;
  std::vector<MovingLine>* moving;      // the lines to draw per frame, while they fit
  std::vector<std::uint32_t>* corners;  // the selected corners that get squares
  std::size_t movingLimit;
  bool listed = true;  // every moving line is in `moving`
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    pixels[y * pixelsPerRow + x] = color;
    lineAt[static_cast<std::ptrdiff_t>(y) * width + x] = number;
  }
  void noteMoving(std::size_t from, std::size_t to, std::size_t pen, std::uint32_t number) {
    if (!listed) return;
    if (moving->size() >= movingLimit) {
      listed = false;
      moving->clear();
      corners->clear();
      return;
    }
    moving->push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to),
                       static_cast<std::uint32_t>(pen), number});
  }
  void noteSquare(std::size_t j) {
    if (listed) corners->push_back(static_cast<std::uint32_t>(j));
  }
};

struct MovingLayer {
  static constexpr bool kMoving = true;
  std::uint32_t* pixels;
  std::ptrdiff_t pixelsPerRow;
  const std::uint32_t* lineAt;
  int width;
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    if (number > lineAt[static_cast<std::ptrdiff_t>(y) * width + x])
      pixels[y * pixelsPerRow + x] = color;
  }
};

}  // namespace

bool LayeredViewComposer::drawStillLayer(const ViewScene& scene) {
  if (scene.store.modelLoaded == 0) return false;
  const int width = scene.width, height = scene.height;
  if (still_.width() != width || still_.height() != height) {
    still_ = QImage(width, height, QImage::Format_RGB32);
    picture_ = QImage(width, height, QImage::Format_RGB32);
    if (still_.isNull() || picture_.isNull()) return false;
    lineAt_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  } else {
    std::fill(lineAt_.begin(), lineAt_.end(), 0u);
  }
  const bool showBackground = scene.background != nullptr && !scene.background->isNull();
  drawMapField(still_, showBackground ? scene.background : nullptr, squareOf(scene, width, height));
  const OutlineSource source(scene.store);
  moving_.clear();
  squareCorners_.clear();
  StillLayer layer{reinterpret_cast<std::uint32_t*>(still_.bits()),
                   still_.bytesPerLine() / 4,
                   lineAt_.data(),
                   width,
                   &moving_,
                   &squareCorners_,
                   movingLineLimit_ != 0 ? movingLineLimit_ : lineAt_.size()};
  LayerTracer<StillLayer> tracer(scene, source, layer);
  // A model whose corners all lack coordinates shows the hint, which the
  // full composition draws.
  const bool hintDue = source.walk(tracer);
  listed_ = layer.listed;
  return !hintDue;
}

void LayeredViewComposer::drawListedLines(const ViewScene& scene) {
  const OutlineSource source(scene.store);
  const FrameTransform frame = frameTransform(scene.selection);
  const bool byVertex = scene.selection.selectMethod == SelectMethod::ByVertex;
  const int width = scene.width, height = scene.height;
  const SquarePlacement square = squareOf(scene, width, height);
  const int mark = markSize(scene.pixelRatio), reach = mark / 2;
  // A facet's lines share corners: the last few points computed are kept.
  constexpr int kKept = 4;
  std::uint32_t keptIndex[kKept] = {0, 0, 0, 0};
  ViewPoint keptPoint[kKept];
  int next = 0;
  auto pointOf = [&](std::uint32_t j) {
    for (int k = 0; k < kKept; ++k)
      if (keptIndex[k] == j) return keptPoint[k];
    const CornerRecord& record = source.record(j);
    const ViewPoint p = viewPoint(source.uvOf(record), selectedCorner(record), frame, square);
    keptIndex[next] = j;
    keptPoint[next] = p;
    next = (next + 1) % kKept;
    return p;
  };
  MovingLayer layer{reinterpret_cast<std::uint32_t*>(picture_.bits()), picture_.bytesPerLine() / 4,
                    lineAt_.data(), width};
  for (const MovingLine& line : moving_) {
    bool dotted = false;
    const std::uint32_t color =
        outlineColor(scene.store, source.record(line.pen), byVertex, dotted);
    forEachOutlinePixel(pointOf(line.from), pointOf(line.to), dotted, width, height,
                        [&](int x, int y) { layer.plot(x, y, line.number, color); });
  }
  if (squareCorners_.empty()) return;
  QPainter painter(&picture_);
  for (const std::uint32_t j : squareCorners_) {
    const ViewPoint p = pointOf(j);
    if (p.x >= -reach && p.y >= -reach && p.x <= width + reach && p.y <= height + reach)
      painter.fillRect(
          QRect(static_cast<int>(p.x) - reach, static_cast<int>(p.y) - reach, mark, mark),
          selectionColor());
  }
}

void LayeredViewComposer::drawMovingLines(const ViewScene& scene) {
  // One copy into the picture allocated with the layer: no new page is
  // touched per frame.
  for (int y = 0; y < still_.height(); ++y)
    std::memcpy(picture_.scanLine(y), still_.constScanLine(y),
                static_cast<std::size_t>(still_.width()) * 4);
  if (listed_) {
    drawListedLines(scene);
    return;
  }
  const OutlineSource source(scene.store);
  MovingLayer layer{reinterpret_cast<std::uint32_t*>(picture_.bits()), picture_.bytesPerLine() / 4,
                    lineAt_.data(), still_.width()};
  LayerTracer<MovingLayer> tracer(scene, source, layer);
  source.walk(tracer);
  if (!tracer.squares.empty()) {
    QPainter painter(&picture_);
    for (const QRect& square : tracer.squares) painter.fillRect(square, selectionColor());
  }
}

const QImage& LayeredViewComposer::compose(const ViewScene& input, bool frameOnly) {
  ViewScene scene = input;
  scene.width = std::max(1, scene.width);
  scene.height = std::max(1, scene.height);
  const bool sameSize = still_.width() == scene.width && still_.height() == scene.height;
  // The layer holds the square where it was and the marks' size as drawn.
  const SquarePlacement square = squareOf(scene, scene.width, scene.height);
  const int mark = markSize(scene.pixelRatio);
  reused_ = frameOnly && layered_ && sameSize && square == layerSquare_ && mark == layerMark_;
  layerSquare_ = square;
  layerMark_ = mark;
  // The stretch fill changes with every move of the selection (the moved
  // facets' areas, and so every facet's share): composed whole while shown.
  if (scene.stretch != nullptr)
    layered_ = false;
  else if (!reused_)
    layered_ = drawStillLayer(scene);
  if (!layered_) {
    reused_ = false;
    picture_ = composeView(scene);
    still_ = QImage();
    return picture_;
  }
  drawMovingLines(scene);
  return picture_;
}

}  // namespace corvina::painter
