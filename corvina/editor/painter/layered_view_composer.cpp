#include "editor/painter/layered_view_composer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/painter/map_field.h"
#include "editor/painter/outline_pens.h"
#include "editor/painter/outline_pixels.h"
#include "editor/painter/outline_walk.h"
#include "editor/painter/view_colors.h"
#include "editor/painter/view_composer.h"
#include "model/parallel_parts.h"

namespace corvina::painter {

namespace {

// Records per part, and moving lines per part, below which another thread
// does not pay for its layer's merge.
constexpr std::size_t kPartRecords = std::size_t{1} << 16;
constexpr std::size_t kPartLines = std::size_t{1} << 14;
// Facets of a shrunk selection per part.
constexpr std::size_t kPartFacets = std::size_t{1} << 12;
// Records per block of the map whose place is noted.
constexpr std::size_t kBlockRecords = std::size_t{1} << 12;

bool selectedCorner(const CornerRecord& record) {
  return (record.group & kSelectedBit) != 0;
}

// The number of a line in drawing order, the same however the walk is cut:
// the line into corner j is 2j, the line closing the facet at corner j is
// 2j + 1 (0 stays free for "no line").
std::uint32_t lineNumber(std::size_t from, std::size_t to, std::size_t pen) {
  return static_cast<std::uint32_t>(2 * pen + (to <= from ? 1 : 0));
}

// Walks the outlines and hands the lines that `Layer` wants to its plot.
// Each visible corner's point is worked out once, as the walk reaches it.
template <class Layer>
class LayerTracer {
 public:
  LayerTracer(const ViewScene& scene, const OutlineSource& source, const OutlinePens& pens,
              Layer& layer)
      : scene_(scene),
        source_(source),
        pens_(pens),
        layer_(layer),
        byVertex_(scene.selection.selectMethod == SelectMethod::ByVertex),
        frame_(frameTransform(scene.selection)),
        square_(squareOf(scene, scene.width, scene.height)),
        mark_(markSize(scene.pixelRatio)) {}

  // The block whose corners the walk reaches next (the layer of lines that
  // stay notes where they lie).
  void setBlock(MapBlock* block) { block_ = block; }

  void corner(std::size_t j) {
    const CornerRecord& record = source_.record(j);
    const bool selected = selectedCorner(record);
    const TexVertex& uv = source_.uvOf(record);
    if constexpr (!Layer::kMoving) block_->include(uv, selected);
    previous_ = current_;
    current_ = OutlinePoint(viewPoint(uv, selected, frame_, square_));
    if (j == 1 || source_.record(j - 1).vertex == kSeparator) first_ = current_;
    if (!byVertex_ || !selected) return;
    if constexpr (!Layer::kMoving) {
      layer_.noteSquare(j);
    } else {
      const ViewPoint p = current_.view;
      const int reach = mark_ / 2;
      if (p.x >= -reach && p.y >= -reach && p.x <= scene_.width + reach &&
          p.y <= scene_.height + reach)
        squares.emplace_back(static_cast<int>(p.x) - reach, static_cast<int>(p.y) - reach, mark_,
                             mark_);
    }
  }

  // The walk hands each line right after the corner it reaches: the line
  // into corner j runs from the previous corner, the closing line from
  // corner j back to the facet's first.
  void line(std::size_t from, std::size_t to, std::size_t pen) {
    const std::uint32_t number = lineNumber(from, to, pen);
    const bool moving = selectedCorner(source_.record(from)) || selectedCorner(source_.record(to));
    if constexpr (!Layer::kMoving) {
      if (moving) layer_.noteMoving(from, to, pen, number);
    }
    if (moving != Layer::kMoving) return;
    bool dotted = false;
    const std::uint32_t color = pens_.color(source_.record(pen), dotted);
    const OutlinePoint& start = to > from ? previous_ : current_;
    const OutlinePoint& end = to > from ? current_ : (to == from ? current_ : first_);
    forEachOutlinePixel(start, end, dotted, scene_.width, scene_.height,
                        [&](int x, int y) { layer_.plot(x, y, number, color); });
  }

  std::vector<QRect> squares;

 private:
  const ViewScene& scene_;
  const OutlineSource& source_;
  const OutlinePens& pens_;
  Layer& layer_;
  bool byVertex_;
  FrameTransform frame_;
  SquarePlacement square_;
  int mark_;
  OutlinePoint previous_, current_, first_;
  MapBlock* block_ = nullptr;
};

// The lines that stay, with their numbers; the moving ones are listed while
// they fit.
struct StillLayer {
  static constexpr bool kMoving = false;
  PartTarget& target;
  int width;
  std::vector<MovingLine>& moving;
  std::vector<std::uint32_t>& corners;  // the selected corners that get squares
  std::size_t movingLimit;
  bool listed = true;  // every moving line met is in `moving`
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    target.pixels[y * target.pixelsPerRow + x] = color;
    target.lines[static_cast<std::ptrdiff_t>(y) * width + x] = number;
    target.reached(y);
  }
  void noteMoving(std::size_t from, std::size_t to, std::size_t pen, std::uint32_t number) {
    if (!listed) return;
    if (moving.size() >= movingLimit) {
      listed = false;
      moving.clear();
      corners.clear();
      return;
    }
    moving.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to),
                      static_cast<std::uint32_t>(pen), number});
  }
  void noteSquare(std::size_t j) {
    if (listed) corners.push_back(static_cast<std::uint32_t>(j));
  }
};

// The moving lines, each setting a pixel only where it comes after the still
// line there.
struct MovingLayer {
  static constexpr bool kMoving = true;
  PartTarget& target;
  const std::uint32_t* stillLines;
  int width;
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    if (number > stillLines[static_cast<std::ptrdiff_t>(y) * width + x]) {
      target.pixels[y * target.pixelsPerRow + x] = color;
      target.reached(y);
    }
  }
};

// Lines put back into the layer where they come after the line there, in
// any order: a pixel ends with the line of the highest number, as when the
// layer is drawn whole. The moving ones are listed again.
struct AddedLayer {
  static constexpr bool kMoving = false;
  PartTarget& target;
  int width;
  std::vector<MovingLine>& moving;
  std::vector<std::uint32_t>& corners;
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    std::uint32_t& line = target.lines[static_cast<std::ptrdiff_t>(y) * width + x];
    if (number <= line) return;
    line = number;
    target.pixels[y * target.pixelsPerRow + x] = color;
    target.reached(y);
  }
  void noteMoving(std::size_t from, std::size_t to, std::size_t pen, std::uint32_t number) {
    moving.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to),
                      static_cast<std::uint32_t>(pen), number});
  }
  void noteSquare(std::size_t j) { corners.push_back(static_cast<std::uint32_t>(j)); }
};

// A facet walked again for a shrunk selection, and the run it lies in.
struct ShrunkFacet {
  std::size_t begin, end, block;
};

// Whether every corner has a texture vertex of its own (the j-th record the
// (j + 1)-th), so that moving the selected corners' coordinates moves no
// other corner.
bool cornersOwnTheirCoordinates(const ModelStore& store, std::size_t length) {
  const std::vector<char> own =
      mapRanges<char>(length, kPartRecords, [&](std::size_t begin, std::size_t end) -> char {
        for (std::size_t j = begin; j < end; ++j) {
          const CornerRecord& record = store.facetStream[j];
          if (record.vertex > 0 && static_cast<std::size_t>(record.texVertex) != j + 1) return 0;
        }
        return 1;
      });
  return std::find(own.begin(), own.end(), 0) == own.end();
}

}  // namespace

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

void LayeredViewComposer::cutBlocks(const OutlineSource& source) {
  blocks_.clear();
  std::size_t start = 0;
  const std::size_t length = source.length();
  while (start < length) {
    std::size_t border = start + kBlockRecords;
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
  return splitRange(count, parallelMinimum(kPartRecords / kBlockRecords), compositionParts());
}

bool LayeredViewComposer::drawStillLayer(const ViewScene& scene, bool sameModel) {
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
  const OutlinePens pens(scene.store.colorMode,
                         scene.selection.selectMethod == SelectMethod::ByVertex);
  std::vector<std::vector<MovingLine>> moving(parts);
  std::vector<std::vector<std::uint32_t>> corners(parts);
  std::vector<char> listed(parts, 1), ended(parts, 0);
  moving[0].swap(moving_);
  moving[0].clear();
  corners[0].swap(squareCorners_);
  corners[0].clear();
  PartTarget first = pictureTarget(still_, lineAt_.data());
  runParts(parts, [&](std::size_t k) {
    PartTarget& target = k == 0 ? first : layers_.target(k);
    StillLayer layer{target, width, moving[k], corners[k], limit};
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
  moving_.swap(moving[0]);
  squareCorners_.swap(corners[0]);
  listed_ = listedAll && listedCount <= limit;
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
    return OutlinePoint(viewPoint(source.uvOf(record), selectedCorner(record), frame, square));
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

bool LayeredViewComposer::redrawShrunkSelection(const ViewScene& scene) {
  const OutlineSource source(scene.store);
  if (!ownCornersChecked_) {
    ownCorners_ = cornersOwnTheirCoordinates(scene.store, source.length());
    ownCornersChecked_ = true;
  }
  if (!ownCorners_) return false;
  // Only the facets of the lines that moved can have changed: their selected
  // corners were let go (their coordinates moved by the commit) or hidden.
  // Each is walked again; its lines that now stay are put into the layer,
  // those that still move are listed again.
  std::vector<ShrunkFacet> facets;
  std::size_t walkedTo = 0;
  for (const MovingLine& line : moving_) {
    const std::size_t low = std::min(line.from, line.to), high = std::max(line.from, line.to);
    if (low < walkedTo) continue;  // a line of the facet just listed
    std::size_t begin = low;
    while (begin > 0 && source.record(begin).vertex != kSeparator) --begin;
    std::size_t end = high + 1;
    while (end < source.length() && source.record(end).vertex > 0) ++end;
    // A hidden corner ends its facet's outline there, taking lines that
    // stayed with it unless every corner of the facet was selected.
    bool hidden = false, unselected = false;
    for (std::size_t j = begin; j < end; ++j) {
      const CornerRecord& record = source.record(j);
      if (record.vertex <= 0) continue;
      hidden = hidden || (record.flags & kHiddenBit) != 0;
      unselected = unselected || !selectedCorner(record);
    }
    if (hidden && unselected) return false;
    const auto after = std::upper_bound(
        blocks_.begin(), blocks_.end(), begin,
        [](std::size_t position, const MapBlock& b) { return position < b.begin; });
    if (after == blocks_.begin()) return false;
    facets.push_back({begin, end, static_cast<std::size_t>(after - 1 - blocks_.begin())});
    walkedTo = end;
  }

  // The facets are cut among threads in stream order. With more than one
  // part, every part draws into a numbered layer of its own, laid over the
  // layer where its lines come later.
  const int width = still_.width(), height = still_.height();
  std::vector<PartRange> ranges =
      splitRange(facets.size(), parallelMinimum(kPartFacets), compositionParts());
  if (ranges.size() > 1 && !layers_.prepare(ranges.size() + 1, width, height, true))
    ranges = {PartRange{0, facets.size()}};
  const std::size_t parts = ranges.size();
  const OutlinePens pens(scene.store.colorMode,
                         scene.selection.selectMethod == SelectMethod::ByVertex);
  std::vector<std::vector<MovingLine>> moving(parts);
  std::vector<std::vector<std::uint32_t>> corners(parts);
  // Per part, where the corners of each run it walked went, in run order.
  std::vector<std::vector<std::pair<std::size_t, MapBlock>>> noted(parts);
  PartTarget direct = pictureTarget(still_, lineAt_.data());
  runParts(parts, [&](std::size_t k) {
    AddedLayer layer{parts > 1 ? layers_.target(k + 1) : direct, width, moving[k], corners[k]};
    LayerTracer<AddedLayer> tracer(scene, source, pens, layer);
    for (std::size_t i = ranges[k].begin; i < ranges[k].end; ++i) {
      const ShrunkFacet& facet = facets[i];
      if (noted[k].empty() || noted[k].back().first != facet.block)
        noted[k].emplace_back(facet.block, MapBlock{});
      MapBlock& block = noted[k].back().second;
      tracer.setBlock(&block);
      block.anyCoordinates =
          source.walkRange(tracer, facet.begin, facet.end).anyCoordinates || block.anyCoordinates;
    }
  });
  // What the walked facets tell of coordinates replaces what their runs
  // told before (so a run may come to say "none" while it has some: that
  // only costs a full composition later).
  std::vector<char> touched(blocks_.size(), 0);
  for (const auto& part : noted)
    for (const auto& [b, block] : part) {
      if (touched[b] == 0) blocks_[b].anyCoordinates = false;
      touched[b] = 1;
      blocks_[b].take(block);
    }
  bool coordinates = false;
  for (const auto& part : noted)
    for (const auto& entry : part) coordinates = coordinates || entry.second.anyCoordinates;
  // Without coordinates anywhere the view shows the hint instead.
  for (std::size_t b = 0; b < blocks_.size() && !coordinates; ++b)
    coordinates = touched[b] == 0 && blocks_[b].anyCoordinates;
  if (parts > 1)
    layers_.mergeInto(direct.pixels, direct.pixelsPerRow, lineAt_.data(),
                      coordinates ? parts + 1 : 1, true);
  if (!coordinates) return false;
  moving_.clear();
  squareCorners_.clear();
  for (std::size_t k = 0; k < parts; ++k) {
    moving_.insert(moving_.end(), moving[k].begin(), moving[k].end());
    squareCorners_.insert(squareCorners_.end(), corners[k].begin(), corners[k].end());
  }
  walkedBlocks_ = 0;
  return true;
}

const QImage& LayeredViewComposer::compose(const ViewScene& input, bool frameOnly, bool sameModel,
                                           bool selectionShrank) {
  ViewScene scene = input;
  scene.width = std::max(1, scene.width);
  scene.height = std::max(1, scene.height);
  const bool sameSize = still_.width() == scene.width && still_.height() == scene.height;
  // The layer holds the square where it was and the marks' size as drawn.
  const SquarePlacement square = squareOf(scene, scene.width, scene.height);
  const int mark = markSize(scene.pixelRatio);
  const bool samePlace = layered_ && sameSize && square == layerSquare_ && mark == layerMark_;
  reused_ = frameOnly && samePlace;
  shrunk_ = false;
  layerSquare_ = square;
  layerMark_ = mark;
  // The stretch fill changes with every move of the selection (the moved
  // facets' areas, and so every facet's share): composed whole while shown.
  if (scene.stretch != nullptr) {
    layered_ = false;
  } else if (!reused_) {
    shrunk_ =
        selectionShrank && samePlace && listed_ && blocksKnown_ && redrawShrunkSelection(scene);
    if (!shrunk_) layered_ = drawStillLayer(scene, frameOnly || sameModel);
  }
  if (!layered_) {
    blocksKnown_ = false;
    reused_ = false;
    picture_ = composeView(scene);
    still_ = QImage();
    return picture_;
  }
  drawMovingLines(scene);
  return picture_;
}

}  // namespace corvina::painter
