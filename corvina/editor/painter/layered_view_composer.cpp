#include "editor/painter/layered_view_composer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/painter/layer_tracer.h"
#include "editor/painter/map_field.h"
#include "editor/painter/view_colors.h"
#include "model/parallel_parts.h"

namespace corvina::painter {

PartTarget LayeredViewComposer::pictureTarget(QImage& image, std::uint32_t* lines) {
  PartTarget target;
  target.pixels = reinterpret_cast<std::uint32_t*>(image.bits());
  target.pixelsPerRow = image.bytesPerLine() / 4;
  target.lines = lines;
  return target;
}

bool MapBlock::outOfSight(const SquarePlacement& square, int width, int height) const {
  if (anySelected || unordered) return false;
  if (least.u > greatest.u) return true;  // no visible corner
  // A corner's place grows with u and shrinks with v, so every corner lies
  // between these two; when both lie beyond one edge, so does every line.
  const FrameTransform unused;
  const ViewPoint topLeft = viewPoint({least.u, greatest.v, 0}, false, unused, square);
  const ViewPoint bottomRight = viewPoint({greatest.u, least.v, 0}, false, unused, square);
  return bottomRight.x < 0 || topLeft.x >= width || bottomRight.y < 0 || topLeft.y >= height;
}

void LayeredViewComposer::PartLists::prepare(std::size_t parts) {
  if (lines.size() < parts) lines.resize(parts);
  if (corners.size() < parts) corners.resize(parts);
  for (std::size_t k = 0; k < parts; ++k) {
    lines[k].clear();
    corners[k].clear();
  }
}

bool MapBlock::mayTouch(const SquarePlacement& square, int left, int top, int right,
                        int bottom) const {
  if (unordered) return true;
  if (least.u > greatest.u) return false;  // no visible corner
  const FrameTransform unused;
  const ViewPoint topLeft = viewPoint({least.u, greatest.v, 0}, false, unused, square);
  const ViewPoint bottomRight = viewPoint({greatest.u, least.v, 0}, false, unused, square);
  // A line's pixels lie within a pixel of the box of its ends.
  return bottomRight.x >= left - 1 && topLeft.x <= right + 1 && bottomRight.y >= top - 1 &&
         topLeft.y <= bottom + 1;
}

void LayeredViewComposer::cutBlocks(const OutlineSource& source) {
  blocks_.clear();
  std::size_t start = 0;
  const std::size_t length = source.length();
  while (start < length) {
    std::size_t border = start + blockRecords_;
    while (border < length && source.record(border).vertex != kSeparator) ++border;
    border = std::min(border, length);
    MapBlock block;
    block.begin = start;
    block.end = border;
    blocks_.push_back(block);
    start = border;
  }
}

std::vector<PartRange> LayeredViewComposer::blockParts(std::size_t count) const {
  return splitRange(count, parallelMinimum(std::max<std::size_t>(1, kPartRecords / blockRecords_)),
                    compositionParts());
}

bool LayeredViewComposer::drawStillLayer(const ViewScene& scene, bool sameModel,
                                         std::size_t movingAtLeast) {
  if (scene.store.modelLoaded == 0) return false;
  const OutlineSource source(scene.store);
  // Line numbers are twice a stream position.
  if (source.length() >= (std::size_t{1} << 31)) return false;
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

  // The same model as the blocks were noted from, seen from elsewhere: the
  // blocks that lie wholly out of sight are not walked.
  const bool known = sameModel && blocksKnown_;
  if (!known) {
    cutBlocks(source);
    ownCornersChecked_ = false;
  }
  const SquarePlacement square = squareOf(scene, width, height);
  std::vector<std::uint32_t> walked;
  walked.reserve(blocks_.size());
  for (std::size_t b = 0; b < blocks_.size(); ++b)
    if (!known || !blocks_[b].outOfSight(square, width, height))
      walked.push_back(static_cast<std::uint32_t>(b));

  walkedBlocks_ = walked.size();
  std::vector<PartRange> ranges = blockParts(walked.size());
  if (ranges.size() > 1 && !layers_.prepare(ranges.size(), width, height, true))
    ranges = {PartRange{0, walked.size()}};
  const std::size_t parts = ranges.size();
  const std::size_t limit = movingLineLimit_ != 0 ? movingLineLimit_ : lineAt_.size();
  // A list bound to overflow costs a write of as many lines as the view has
  // pixels before it is dropped: with the same selection as a layer whose
  // list overflowed, or one that moves more lines than that, it is not
  // started.
  const bool listing = movingAtLeast <= limit && !(sameModel && overflowed_);
  const OutlinePens pens(scene.store.colorMode,
                         scene.selection.selectMethod == SelectMethod::ByVertex);
  partLists_.prepare(parts);
  std::vector<std::vector<MovingLine>>& moving = partLists_.lines;
  std::vector<std::vector<std::uint32_t>>& corners = partLists_.corners;
  std::vector<char> listed(parts, 1), ended(parts, 0);
  moving[0].swap(moving_);
  moving[0].clear();
  corners[0].swap(squareCorners_);
  corners[0].clear();
  // The moving lines are drawn in the same walk, each part's into a numbered
  // layer of its own, laid over the layer afterwards where they come later:
  // the frame's picture needs no second walk of the model.
  const bool drawMoving = movingLayers_.prepare(parts + 1, width, height, true);
  std::vector<std::vector<QRect>> squares(parts);
  PartTarget first = pictureTarget(still_, lineAt_.data());
  runParts(parts, [&](std::size_t k) {
    PartTarget& target = k == 0 ? first : layers_.target(k);
    StillLayer layer{target, width, moving[k], corners[k], limit};
    layer.listed = listing;
    if (drawMoving) layer.movingTarget = &movingLayers_.target(k + 1);
    LayerTracer<StillLayer> tracer(scene, source, pens, layer);
    for (std::size_t i = ranges[k].begin; i < ranges[k].end; ++i) {
      MapBlock& block = blocks_[walked[i]];
      MapBlock noted;
      noted.begin = block.begin;
      noted.end = block.end;
      tracer.setBlock(&noted);
      const OutlineSource::RangeEnd end = source.walkRange(tracer, block.begin, block.end);
      noted.anyCoordinates = end.anyCoordinates;
      noted.listEnded = end.listEnded;
      block = noted;
      if (end.listEnded) {
        ended[k] = 1;
        break;
      }
    }
    listed[k] = layer.listed ? 1 : 0;
    squares[k].swap(tracer.squares);
  });
  // The parts after the one where the list ended draw nothing, and the
  // blocks after it are forgotten.
  std::size_t drawn = 0;
  bool listedAll = true;
  std::size_t listedCount = 0;
  while (drawn < parts) {
    listedAll = listedAll && listed[drawn] != 0;
    listedCount += moving[drawn].size();
    if (ended[drawn++] != 0) break;
  }
  for (std::size_t b = 0; b < blocks_.size(); ++b)
    if (blocks_[b].listEnded) {
      blocks_.resize(b + 1);
      break;
    }
  bool anyCoordinates = false;
  for (const MapBlock& block : blocks_) anyCoordinates = anyCoordinates || block.anyCoordinates;
  blocksKnown_ = true;
  if (parts > 1) layers_.mergeInto(first.pixels, first.pixelsPerRow, lineAt_.data(), drawn);
  if (drawMoving) {
    for (int y = 0; y < height; ++y)
      std::memcpy(picture_.scanLine(y), still_.constScanLine(y),
                  static_cast<std::size_t>(width) * 4);
    movingLayers_.layOver(reinterpret_cast<std::uint32_t*>(picture_.bits()),
                          picture_.bytesPerLine() / 4, lineAt_.data(), drawn + 1);
    QPainter painter(&picture_);
    for (std::size_t k = 0; k < drawn; ++k)
      for (const QRect& square : squares[k]) painter.fillRect(square, selectionColor());
    pictureDrawn_ = true;
  }
  moving_.swap(moving[0]);
  squareCorners_.swap(corners[0]);
  listed_ = listedAll && listedCount <= limit;
  overflowed_ = !listed_;
  if (listed_) {
    moving_.reserve(listedCount);
    for (std::size_t k = 1; k < drawn; ++k) {
      moving_.insert(moving_.end(), moving[k].begin(), moving[k].end());
      squareCorners_.insert(squareCorners_.end(), corners[k].begin(), corners[k].end());
    }
  } else {
    moving_.clear();
    squareCorners_.clear();
  }
  // A model whose corners all lack coordinates shows the hint, which the
  // full composition draws.
  return anyCoordinates;
}

void LayeredViewComposer::drawListedLines(const ViewScene& scene) {
  const OutlineSource source(scene.store);
  const FrameTransform frame = frameTransform(scene.selection);
  const bool byVertex = scene.selection.selectMethod == SelectMethod::ByVertex;
  const OutlinePens pens(scene.store.colorMode, byVertex);
  const int width = scene.width, height = scene.height;
  const SquarePlacement square = squareOf(scene, width, height);
  const int mark = markSize(scene.pixelRatio), reach = mark / 2;
  auto pointOf = [&](std::uint32_t j) {
    const CornerRecord& record = source.record(j);
    return outlinePoint(source.uvOf(record), selectedCorner(record), frame, square);
  };
  std::vector<PartRange> ranges =
      splitRange(moving_.size(), parallelMinimum(kPartLines), compositionParts());
  if (ranges.size() > 1 && !layers_.prepare(ranges.size(), width, height, false))
    ranges = {PartRange{0, moving_.size()}};
  PartTarget first = pictureTarget(picture_, nullptr);
  runParts(ranges.size(), [&](std::size_t k) {
    MovingLayer layer{k == 0 ? first : layers_.target(k), lineAt_.data(), width};
    // A facet's lines share corners: the last few points computed are kept.
    constexpr int kKept = 4;
    std::uint32_t keptIndex[kKept] = {0, 0, 0, 0};
    OutlinePoint keptPoint[kKept];
    int next = 0;
    auto keptPointOf = [&](std::uint32_t j) {
      for (int i = 0; i < kKept; ++i)
        if (keptIndex[i] == j) return keptPoint[i];
      const OutlinePoint p = pointOf(j);
      keptIndex[next] = j;
      keptPoint[next] = p;
      next = (next + 1) % kKept;
      return p;
    };
    for (std::size_t i = ranges[k].begin; i < ranges[k].end; ++i) {
      const MovingLine& line = moving_[i];
      bool dotted = false;
      const std::uint32_t color = pens.color(source.record(line.pen), dotted);
      forEachOutlinePixel(keptPointOf(line.from), keptPointOf(line.to), dotted, width, height,
                          [&](int x, int y) { layer.plot(x, y, line.number, color); });
    }
  });
  if (ranges.size() > 1)
    layers_.mergeInto(first.pixels, first.pixelsPerRow, nullptr, ranges.size());
  if (squareCorners_.empty()) return;
  QPainter painter(&picture_);
  for (const std::uint32_t j : squareCorners_) {
    const ViewPoint p = pointOf(j).view;
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
  // Only the blocks with a selected corner hold lines that move.
  const OutlineSource source(scene.store);
  const OutlinePens pens(scene.store.colorMode,
                         scene.selection.selectMethod == SelectMethod::ByVertex);
  std::vector<std::uint32_t> walked;
  for (std::size_t b = 0; b < blocks_.size(); ++b)
    if (blocks_[b].anySelected || blocks_[b].unordered)
      walked.push_back(static_cast<std::uint32_t>(b));
  std::vector<PartRange> ranges = blockParts(walked.size());
  if (ranges.size() > 1 && !layers_.prepare(ranges.size(), still_.width(), still_.height(), false))
    ranges = {PartRange{0, walked.size()}};
  const std::size_t parts = ranges.size();
  PartTarget first = pictureTarget(picture_, nullptr);
  std::vector<std::vector<QRect>> squares(parts);
  runParts(parts, [&](std::size_t k) {
    MovingLayer layer{k == 0 ? first : layers_.target(k), lineAt_.data(), still_.width()};
    LayerTracer<MovingLayer> tracer(scene, source, pens, layer);
    for (std::size_t i = ranges[k].begin; i < ranges[k].end; ++i)
      source.walkRange(tracer, blocks_[walked[i]].begin, blocks_[walked[i]].end);
    squares[k].swap(tracer.squares);
  });
  if (parts > 1) layers_.mergeInto(first.pixels, first.pixelsPerRow, nullptr, parts);
  QPainter painter(&picture_);
  for (const std::vector<QRect>& part : squares)
    for (const QRect& square : part) painter.fillRect(square, selectionColor());
}

const QImage& LayeredViewComposer::compose(const ViewScene& input, bool frameOnly, bool sameModel,
                                           bool selectionShrank,
                                           std::optional<PickChange> reselected) {
  ViewScene scene = input;
  scene.width = std::max(1, scene.width);
  scene.height = std::max(1, scene.height);
  const bool sameSize = still_.width() == scene.width && still_.height() == scene.height;
  // The layer holds the square where it was and the marks' size as drawn.
  const SquarePlacement square = squareOf(scene, scene.width, scene.height);
  const int mark = markSize(scene.pixelRatio);
  const bool samePlace = layered_ && sameSize && square == layerSquare_ && mark == layerMark_;
  reused_ = frameOnly && samePlace;
  pictureDrawn_ = false;
  shrunk_ = false;
  reselectedRedrawn_ = false;
  layerSquare_ = square;
  layerMark_ = mark;
  // The stretch fill changes with every move of the selection (the moved
  // facets' areas, and so every facet's share): composed whole while shown.
  if (scene.stretch != nullptr) {
    layered_ = false;
  } else if (!reused_) {
    shrunk_ =
        selectionShrank && samePlace && listed_ && blocksKnown_ && redrawShrunkSelection(scene);
    reselectedRedrawn_ = !shrunk_ && reselected && samePlace && blocksKnown_ &&
                         (reselected->everyVisibleSelected
                              ? clearLayerOfMovingLines(scene)
                              : listed_ && redrawReselected(scene, reselected->records));
    // A guess from the pick: a moving line has at most two selected ends,
    // and a visible selected corner ends a line (unless a hidden corner of
    // its facet cuts its outline short).
    const std::size_t movingAtLeast = reselected ? (reselected->visibleSelected + 1) / 2 : 0;
    if (!shrunk_ && !reselectedRedrawn_)
      layered_ = drawStillLayer(scene, frameOnly || sameModel, movingAtLeast);
  }
  if (!layered_) {
    blocksKnown_ = false;
    reused_ = false;
    picture_ = composeView(scene, nullptr, layers_);
    still_ = QImage();
    return picture_;
  }
  if (!pictureDrawn_) drawMovingLines(scene);
  return picture_;
}

}  // namespace corvina::painter
