#include "layout/island_packing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>
#include <vector>

#include "layout/island_measures.h"
#include "layout/rect_packing.h"
#include "layout/texel_density.h"
#include "layout/uv_islands.h"

namespace corvina {

namespace {

// Past this many islands only the shelf packer runs: the skyline packer's
// cost grows with the skyline's length, and with so many small boxes the
// shelves come as close to full (in the benchmark, 100,000 islands: the same
// scale to four digits).
constexpr std::size_t kManyIslands = 3000;
// Boxes stay far below the int range, whatever the scale.
constexpr double kLargestBoxSide = 1 << 28;

using Packer = bool (*)(std::span<const PackBox>, std::span<const std::int32_t>, int, int, bool,
                        std::vector<PackPlace>&);

// The islands being packed: their size in map pixels at scale 1 (after any
// density factor) and the order each packer takes them in.
struct Pieces {
  std::vector<std::int32_t> island;  // the island of each piece
  std::vector<double> width, height;
  std::vector<double> factor;  // density factor of each piece
  std::vector<std::int32_t> byHeight, bySize;
};

struct Bin {
  int width = 0, height = 0;
  double padding = 0;
  bool rotate = false;
};

double boxSide(double side, double scale, double padding) {
  return std::max(1.0, std::ceil(side * scale + padding));
}

bool fits(const Pieces& pieces, const Bin& bin, double scale, Packer packer,
          std::vector<PackBox>& boxes, std::vector<PackPlace>& places) {
  const std::size_t count = pieces.island.size();
  boxes.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double w = boxSide(pieces.width[i], scale, bin.padding);
    const double h = boxSide(pieces.height[i], scale, bin.padding);
    if (w > kLargestBoxSide || h > kLargestBoxSide) return false;
    boxes[i] = PackBox{static_cast<int>(w), static_cast<int>(h)};
  }
  const std::vector<std::int32_t>& order = packer == packShelves ? pieces.byHeight : pieces.bySize;
  return packer(boxes, order, bin.width, bin.height, bin.rotate, places);
}

// The largest scale up to `high` at which `packer` fits every piece, by
// bisection from `low` (known to fit) in at most `tries` steps.
double largestScale(const Pieces& pieces, const Bin& bin, Packer packer, double low, double high,
                    int tries) {
  std::vector<PackBox> boxes;
  std::vector<PackPlace> places;
  if (fits(pieces, bin, high, packer, boxes, places)) return high;
  for (int i = 0; i < tries && high - low > high * 1e-5; ++i) {
    const double middle = 0.5 * (low + high);
    if (fits(pieces, bin, middle, packer, boxes, places))
      low = middle;
    else
      high = middle;
  }
  return low;
}

// No scale can be larger than the one at which some piece alone fills a
// side, or at which the pieces' area fills the bin.
double scaleBound(const Pieces& pieces, const Bin& bin) {
  const double room = std::max(0.0, static_cast<double>(bin.width) - bin.padding);
  const double roomHigh = std::max(0.0, static_cast<double>(bin.height) - bin.padding);
  double bound = std::numeric_limits<double>::infinity();
  double area = 0;
  auto limit = [](double space, double side) {
    return side > 0 ? space / side : std::numeric_limits<double>::infinity();
  };
  for (std::size_t i = 0; i < pieces.island.size(); ++i) {
    const double w = pieces.width[i], h = pieces.height[i];
    double alone = std::min(limit(room, w), limit(roomHigh, h));
    if (bin.rotate) alone = std::max(alone, std::min(limit(room, h), limit(roomHigh, w)));
    bound = std::min(bound, alone);
    area += w * h;
  }
  if (area > 0)
    bound = std::min(bound, std::sqrt(static_cast<double>(bin.width) * bin.height / area));
  if (!std::isfinite(bound)) bound = 1.0;  // only points and lines along no side
  return bound;
}

void sortOrders(Pieces& pieces, bool rotate) {
  const std::size_t count = pieces.island.size();
  pieces.byHeight.resize(count);
  std::iota(pieces.byHeight.begin(), pieces.byHeight.end(), 0);
  pieces.bySize = pieces.byHeight;
  auto shelfHeight = [&](std::int32_t i) {
    const auto k = static_cast<std::size_t>(i);
    return rotate ? std::min(pieces.width[k], pieces.height[k]) : pieces.height[k];
  };
  std::stable_sort(pieces.byHeight.begin(), pieces.byHeight.end(),
                   [&](std::int32_t a, std::int32_t b) { return shelfHeight(a) > shelfHeight(b); });
  auto longSide = [&](std::int32_t i) {
    const auto k = static_cast<std::size_t>(i);
    return rotate ? std::max(pieces.width[k], pieces.height[k]) : pieces.height[k];
  };
  auto area = [&](std::int32_t i) {
    const auto k = static_cast<std::size_t>(i);
    return pieces.width[k] * pieces.height[k];
  };
  std::stable_sort(pieces.bySize.begin(), pieces.bySize.end(), [&](std::int32_t a, std::int32_t b) {
    if (longSide(a) != longSide(b)) return longSide(a) > longSide(b);
    return area(a) > area(b);
  });
}

// How one island's coordinates go to their packed place, in map pixels.
struct Placement {
  double fromX = 0, fromY = 0;  // the island's lower left corner before
  double factor = 1;            // pixels after per pixel before
  double toX = 0, toY = 0;      // its lower left corner after
  double turnedHeight = 0;      // its scaled height, when turned
  bool rotated = false;
  bool packed = false;
};

}  // namespace

PackResult packIslands(ModelStore& store, const PackOptions& options, PackArea area) {
  PackResult result;
  if (options.width < 1 || options.height < 1 || !(options.padding >= 0) ||
      !(area.maxU > area.minU) || !(area.maxV > area.minV))
    return result;
  expandTextureVertices(store, false);
  if (store.texVerticesExpanded != 1) {
    result.outcome = PackOutcome::InsufficientMemory;
    return result;
  }
  try {
    UvIslands islands;
    IslandMeasures measures;
    if (!findUvIslands(store, islands) || !measureIslands(store, islands, measures)) {
      result.outcome = PackOutcome::InsufficientMemory;
      return result;
    }
    const double mapW = options.width, mapH = options.height;
    const std::vector<double> density = options.equalDensity
                                            ? densityFactors(measures, options.selectedOnly)
                                            : std::vector<double>(measures.bounds.size(), 1.0);
    Pieces pieces;
    for (std::size_t i = 0; i < measures.bounds.size(); ++i) {
      if (measures.movable[i] == 0 || (options.selectedOnly && measures.selected[i] == 0)) continue;
      const UvBounds& b = measures.bounds[i];
      pieces.island.push_back(static_cast<std::int32_t>(i));
      pieces.factor.push_back(density[i]);
      pieces.width.push_back((b.maxU - b.minU) * mapW * density[i]);
      pieces.height.push_back((b.maxV - b.minV) * mapH * density[i]);
    }
    if (pieces.island.empty()) return result;

    Bin bin;
    bin.width = static_cast<int>(std::clamp(std::floor((area.maxU - area.minU) * mapW + 1e-9), 0.0,
                                            static_cast<double>(kLargestBoxSide)));
    bin.height = static_cast<int>(std::clamp(std::floor((area.maxV - area.minV) * mapH + 1e-9), 0.0,
                                             static_cast<double>(kLargestBoxSide)));
    bin.padding = options.padding;
    bin.rotate = options.allowRotation;
    sortOrders(pieces, bin.rotate);

    std::vector<PackBox> boxes;
    std::vector<PackPlace> places;
    const bool shelvesFit = fits(pieces, bin, 0.0, packShelves, boxes, places);
    const bool skylineFits = fits(pieces, bin, 0.0, packSkyline, boxes, places);
    if (!shelvesFit && !skylineFits) {
      result.outcome = PackOutcome::DoesNotFit;
      return result;
    }
    const double bound = scaleBound(pieces, bin);
    const bool many = pieces.island.size() > kManyIslands;
    double shelfScale = shelvesFit ? largestScale(pieces, bin, packShelves, 0.0, bound, 48) : -1;
    double skylineScale = -1;
    if (skylineFits && (!many || !shelvesFit)) {
      // The skyline packer starts from where the shelves got, when it fits there.
      double low = 0;
      if (shelfScale > 0 && fits(pieces, bin, shelfScale, packSkyline, boxes, places))
        low = shelfScale;
      skylineScale = largestScale(pieces, bin, packSkyline, low, bound, 40);
    }
    const bool useSkyline = skylineScale >= shelfScale;
    const double scale = useSkyline ? skylineScale : shelfScale;
    if (!fits(pieces, bin, scale, useSkyline ? packSkyline : packShelves, boxes, places)) {
      result.outcome = PackOutcome::DoesNotFit;  // cannot happen: this scale was seen to fit
      return result;
    }

    std::vector<Placement> placements(measures.bounds.size());
    const double originX = area.minU * mapW, originY = area.minV * mapH;
    for (std::size_t k = 0; k < pieces.island.size(); ++k) {
      const auto i = static_cast<std::size_t>(pieces.island[k]);
      const UvBounds& b = measures.bounds[i];
      Placement& p = placements[i];
      p.packed = true;
      p.rotated = places[k].rotated;
      p.fromX = b.minU * mapW;
      p.fromY = b.minV * mapH;
      p.factor = pieces.factor[k] * scale;
      const double w = pieces.width[k] * scale, h = pieces.height[k] * scale;
      const double placedW = p.rotated ? h : w, placedH = p.rotated ? w : h;
      const double boxW = p.rotated ? boxes[k].height : boxes[k].width;
      const double boxH = p.rotated ? boxes[k].width : boxes[k].height;
      // Centred in its box: the slack around it is at least the padding.
      p.toX = originX + places[k].x + (boxW - placedW) * 0.5;
      p.toY = originY + places[k].y + (boxH - placedH) * 0.5;
      p.turnedHeight = h;
    }

    std::vector<CornerRecord>& stream = store.facetStream;
    for (std::size_t f = 0; f < islands.facetStart.size(); ++f) {
      const Placement& p = placements[static_cast<std::size_t>(islands.facetIsland[f])];
      if (!p.packed) continue;
      for (std::size_t j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           j < stream.size() && stream[j].vertex > 0; ++j) {
        TexVertex& t = store.texVertices[static_cast<std::size_t>(stream[j].texVertex - 1)];
        const double x = (t.u * mapW - p.fromX) * p.factor;
        const double y = (t.v * mapH - p.fromY) * p.factor;
        const double px = p.rotated ? p.toX + p.turnedHeight - y : p.toX + x;
        const double py = p.rotated ? p.toY + x : p.toY + y;
        t.u = static_cast<float>(px / mapW);
        t.v = static_cast<float>(py / mapH);
      }
    }

    double textureArea = 0;
    for (std::size_t k = 0; k < pieces.island.size(); ++k) {
      const double f = pieces.factor[k] * scale;
      textureArea += measures.textureArea[static_cast<std::size_t>(pieces.island[k])] * f * f;
    }
    result.outcome = PackOutcome::Packed;
    result.islands = static_cast<int>(pieces.island.size());
    result.scale = scale;
    result.coverage = textureArea / ((area.maxU - area.minU) * (area.maxV - area.minV));
    return result;
  } catch (const std::bad_alloc&) {
    result.outcome = PackOutcome::InsufficientMemory;
    return result;
  }
}

}  // namespace corvina
