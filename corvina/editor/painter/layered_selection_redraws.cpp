// The layer's partial redraws after the selection changed: a shrunk
// selection's facets walked again, and the pixels of lines a pick set moving
// drawn again from the lines that stay.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "editor/painter/layer_tracer.h"
#include "editor/painter/layered_view_composer.h"
#include "editor/painter/map_field.h"
#include "model/parallel_parts.h"

namespace corvina::painter {

namespace {

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

// A pick's changed runs walked again: their moving lines listed anew, and
// where the ends of those lines lie (the layer drew them there as lines that
// stay). Coordinates did not change, so a run's notes change only in whether
// it has a selected corner.
struct ChangedLines {
  ChangedLines(const OutlineSource& source, bool byVertex, std::vector<MovingLine>& moving,
               std::vector<std::uint32_t>& corners)
      : source(source), byVertex(byVertex), moving(moving), corners(corners) {}
  const OutlineSource& source;
  bool byVertex;
  MapBlock* block = nullptr;
  std::vector<MovingLine>& moving;
  std::vector<std::uint32_t>& corners;  // the selected corners that get squares
  MapBlock reach;                       // the lines' ends

  void corner(std::size_t j) {
    const bool selected = selectedCorner(source.record(j));
    block->anySelected = block->anySelected || selected;
    if (byVertex && selected) corners.push_back(static_cast<std::uint32_t>(j));
  }
  void line(std::size_t from, std::size_t to, std::size_t pen) {
    const CornerRecord &start = source.record(from), &end = source.record(to);
    if (!selectedCorner(start) && !selectedCorner(end)) return;
    moving.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to),
                      static_cast<std::uint32_t>(pen), lineNumber(from, to, pen)});
    reach.include(source.uvOf(start), false);
    reach.include(source.uvOf(end), false);
  }
};

}  // namespace

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
  partLists_.prepare(parts);
  std::vector<std::vector<MovingLine>>& moving = partLists_.lines;
  std::vector<std::vector<std::uint32_t>>& corners = partLists_.corners;
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

bool LayeredViewComposer::redrawReselected(const ViewScene& scene, PartRange changed) {
  if (changed.begin >= changed.end) return true;  // no bit changed
  // The runs that hold the first and the last changed record.
  auto blockOf = [&](std::size_t position) {
    const auto after =
        std::upper_bound(blocks_.begin(), blocks_.end(), position,
                         [](std::size_t at, const MapBlock& b) { return at < b.begin; });
    if (after == blocks_.begin() || position >= (after - 1)->end) return blocks_.size();
    return static_cast<std::size_t>(after - 1 - blocks_.begin());
  };
  const std::size_t low = blockOf(changed.begin), high = blockOf(changed.end - 1);
  if (low >= blocks_.size() || high >= blocks_.size()) return false;
  // Past half the runs, walking them and then the box costs more than
  // drawing the layer whole.
  if (2 * (high - low + 1) > blocks_.size()) return false;

  const OutlineSource source(scene.store);
  const int width = still_.width(), height = still_.height();
  const SquarePlacement square = squareOf(scene, width, height);
  const bool byVertex = scene.selection.selectMethod == SelectMethod::ByVertex;
  const std::vector<PartRange> ranges = blockParts(high - low + 1);
  std::vector<ChangedLines> scans;
  scans.reserve(ranges.size());
  partLists_.prepare(ranges.size());
  for (std::size_t k = 0; k < ranges.size(); ++k)
    scans.emplace_back(source, byVertex, partLists_.lines[k], partLists_.corners[k]);
  runParts(ranges.size(), [&](std::size_t k) {
    for (std::size_t b = low + ranges[k].begin; b < low + ranges[k].end; ++b) {
      blocks_[b].anySelected = false;
      scans[k].block = &blocks_[b];
      source.walkRange(scans[k], blocks_[b].begin, blocks_[b].end);
    }
  });

  // The new list: the lines of the runs before and after as they were, and
  // those of the changed runs as walked now.
  const std::size_t lowBegin = blocks_[low].begin, highEnd = blocks_[high].end;
  MapBlock& reach = scans[0].reach;
  std::vector<MovingLine>& moving = partLists_.spareLines;
  std::vector<std::uint32_t>& corners = partLists_.spareCorners;
  moving.clear();
  corners.clear();
  auto before = [&](std::size_t j) { return j < lowBegin; };
  for (const MovingLine& line : moving_)
    if (before(std::min(line.from, line.to))) moving.push_back(line);
  for (const std::uint32_t j : squareCorners_)
    if (before(j)) corners.push_back(j);
  for (std::size_t k = 0; k < scans.size(); ++k) {
    if (k > 0) reach.take(scans[k].reach);
    moving.insert(moving.end(), scans[k].moving.begin(), scans[k].moving.end());
    corners.insert(corners.end(), scans[k].corners.begin(), scans[k].corners.end());
  }
  for (const MovingLine& line : moving_) {
    const std::size_t at = std::min(line.from, line.to);
    if (at >= highEnd) {
      moving.push_back(line);
    } else if (!before(at)) {
      // A line that moved before may stay now: drawn again in the box.
      reach.include(source.uvOf(source.record(line.from)), false);
      reach.include(source.uvOf(source.record(line.to)), false);
    }
  }
  for (const std::uint32_t j : squareCorners_)
    if (j >= highEnd) corners.push_back(j);
  const std::size_t limit = movingLineLimit_ != 0 ? movingLineLimit_ : lineAt_.size();
  listed_ = moving.size() <= limit;
  moving_.swap(moving);
  squareCorners_.swap(corners);
  if (!listed_) {
    moving_.clear();
    squareCorners_.clear();
  }
  walkedBlocks_ = high - low + 1;
  if (!reach.unordered && reach.least.u > reach.greatest.u) return true;  // no line changed

  // The box of the pixels those lines set, a pixel wider on each side (the
  // whole view when an end is not a number), drawn again: the field, then
  // every line that stays and may reach it, in order.
  int left = 0, top = 0, right = width - 1, bottom = height - 1;
  if (!reach.unordered) {
    auto clampTo = [](double value, int last) {
      return static_cast<int>(std::clamp(value, 0.0, static_cast<double>(last)));
    };
    const FrameTransform unused;
    const ViewPoint topLeft =
        viewPoint({reach.least.u, reach.greatest.v, 0}, false, unused, square);
    const ViewPoint bottomRight =
        viewPoint({reach.greatest.u, reach.least.v, 0}, false, unused, square);
    left = clampTo(topLeft.x - 1, width - 1);
    right = clampTo(bottomRight.x + 1, width - 1);
    top = clampTo(topLeft.y - 1, height - 1);
    bottom = clampTo(bottomRight.y + 1, height - 1);
  }
  const bool showBackground = scene.background != nullptr && !scene.background->isNull();
  drawMapField(picture_, showBackground ? scene.background : nullptr, square);
  const std::size_t span = static_cast<std::size_t>(right - left + 1);
  for (int y = top; y <= bottom; ++y) {
    std::memcpy(reinterpret_cast<std::uint32_t*>(still_.scanLine(y)) + left,
                reinterpret_cast<const std::uint32_t*>(picture_.constScanLine(y)) + left, span * 4);
    std::fill_n(lineAt_.begin() + static_cast<std::ptrdiff_t>(y) * width + left, span, 0u);
  }
  std::vector<std::uint32_t> walked;
  for (std::size_t b = 0; b < blocks_.size(); ++b)
    if (blocks_[b].mayTouch(square, left, top, right, bottom))
      walked.push_back(static_cast<std::uint32_t>(b));
  walkedBlocks_ += walked.size();
  std::vector<PartRange> parts = blockParts(walked.size());
  if (parts.size() > 1 && !layers_.prepare(parts.size(), width, height, true))
    parts = {PartRange{0, walked.size()}};
  const OutlinePens pens(scene.store.colorMode, byVertex);
  PartTarget first = pictureTarget(still_, lineAt_.data());
  runParts(parts.size(), [&](std::size_t k) {
    ClippedStillLayer layer{k == 0 ? first : layers_.target(k), width, left, top, right, bottom};
    LayerTracer<ClippedStillLayer> tracer(scene, source, pens, layer);
    MapBlock unused;
    tracer.setBlock(&unused);
    for (std::size_t i = parts[k].begin; i < parts[k].end; ++i)
      source.walkRange(tracer, blocks_[walked[i]].begin, blocks_[walked[i]].end);
  });
  if (parts.size() > 1)
    layers_.mergeInto(first.pixels, first.pixelsPerRow, lineAt_.data(), parts.size());
  return true;
}

bool LayeredViewComposer::clearLayerOfMovingLines(const ViewScene& scene) {
  // Every line drawn has a selected end, so every line moves and the layer
  // is the field alone. Listing them pays only while they fit the list.
  const OutlineSource source(scene.store);
  const std::size_t limit = movingLineLimit_ != 0 ? movingLineLimit_ : lineAt_.size();
  if (source.length() <= limit) return false;
  const bool showBackground = scene.background != nullptr && !scene.background->isNull();
  drawMapField(still_, showBackground ? scene.background : nullptr,
               squareOf(scene, still_.width(), still_.height()));
  std::fill(lineAt_.begin(), lineAt_.end(), 0u);
  for (MapBlock& block : blocks_)
    block.anySelected = block.unordered || block.least.u <= block.greatest.u;
  listed_ = false;
  moving_.clear();
  squareCorners_.clear();
  walkedBlocks_ = 0;
  return true;
}

}  // namespace corvina::painter
