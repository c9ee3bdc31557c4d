#include "editor/texture_map_raster.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace corvina {

std::array<PaletteColor, 256> templatePalette() {
  std::array<PaletteColor, 256> palette{};
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (i < kSetPalette.size()) {
      palette[i] = kSetPalette[i];
    } else {
      const auto grey = static_cast<std::uint8_t>(i);
      palette[i] = {grey, grey, grey};
    }
  }
  return palette;
}

bool allocateRaster(TextureMapRaster& raster, int width, int height) {
  raster = TextureMapRaster{};
  if (width < 1 || height < 1 || width > kLargestRasterSide || height > kLargestRasterSide) {
    return false;
  }
  try {
    raster.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                         kRasterGround);
  } catch (const std::bad_alloc&) {
    return false;
  }
  raster.width = width;
  raster.height = height;
  return true;
}

double texturePixel(float t, int size) {
  return truncatedPixel(static_cast<float>(size - 1) * t, 0.0);
}

namespace {

void plot(TextureMapRaster& raster, std::int64_t x, std::int64_t y, std::uint8_t color) {
  if (x < 0 || y < 0 || x >= raster.width || y >= raster.height) return;
  raster.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                static_cast<std::size_t>(x)] = color;
}

}  // namespace

void drawRasterLine(TextureMapRaster& raster, RasterPoint pen, RasterPoint point,
                    std::uint8_t color) {
  RasterPoint start = pen, end = point;
  if (end.y < start.y) std::swap(start, end);
  const std::int64_t dy = std::int64_t{end.y} - start.y;
  const std::int64_t dx = std::int64_t{end.x} - start.x;
  const std::int64_t xStep = dx > 0 ? 1 : -1;
  const std::int64_t absDx = dx < 0 ? -dx : dx;
  const bool xMajor = absDx > dy;
  const std::int64_t major = xMajor ? absDx : dy;
  const std::int64_t minor = xMajor ? dy : absDx;

  // Bresenham's decision term starts at 2b - a (a major, b minor) and moves
  // the minor coordinate at the points where it is not negative; by
  // induction the minor offset of point i is floor((2bi + a) / 2a). With it
  // each point is known on its own, so only the points whose major
  // coordinate lies inside the raster are visited.
  auto minorOffset = [&](std::int64_t i) {
    return major == 0 ? 0 : (2 * minor * i + major) / (2 * major);
  };

  std::int64_t first = 0, last = major;
  if (xMajor) {
    const std::int64_t lastColumn = raster.width - 1;
    if (xStep > 0) {
      first = std::max(first, -std::int64_t{start.x});
      last = std::min(last, lastColumn - start.x);
    } else {
      first = std::max(first, start.x - lastColumn);
      last = std::min(last, std::int64_t{start.x});
    }
    for (std::int64_t i = first; i <= last; ++i) {
      plot(raster, start.x + xStep * i, start.y + minorOffset(i), color);
    }
  } else {
    const std::int64_t lastRow = raster.height - 1;
    first = std::max(first, -std::int64_t{start.y});
    last = std::min(last, lastRow - start.y);
    for (std::int64_t i = first; i <= last; ++i) {
      plot(raster, start.x + xStep * minorOffset(i), start.y + i, color);
    }
  }
}

void drawRasterLine(TextureMapRaster& raster, LinePoint pen, LinePoint point, std::uint8_t color) {
  // Within 2^28 the 64-bit line above is exact: its largest product, twice
  // the minor length times a step, stays below 2^61.
  constexpr double kNear = 268435456.0;
  if (withinReach(pen, kNear) && withinReach(point, kNear)) {
    drawRasterLine(raster, RasterPoint{static_cast<int>(pen.x), static_cast<int>(pen.y)},
                   RasterPoint{static_cast<int>(point.x), static_cast<int>(point.y)}, color);
    return;
  }
  const bool penStarts = !(point.y < pen.y);
  forEachVisibleLinePixel(penStarts ? pen : point, penStarts ? point : pen, raster.width,
                          raster.height, 1, [&](int x, int y, int) { plot(raster, x, y, color); });
}

namespace {

std::uint8_t cornerColor(const CornerRecord& corner, int colorMode) {
  switch (colorMode) {
    case 1:
      return static_cast<std::uint8_t>((corner.group & kSetIndexMask) % kSetPalette.size());
    case 2:
      return static_cast<std::uint8_t>((corner.material & kSetIndexMask) % kSetPalette.size());
    case 3:
      return static_cast<std::uint8_t>((corner.region & kSetIndexMask) % kSetPalette.size());
    default:
      return 0;
  }
}

}  // namespace

bool drawTextureMap(const ModelStore& store, int colorMode, bool excludeHidden,
                    TextureMapRaster& raster) {
  const std::vector<CornerRecord>& stream = store.facetStream;
  const std::size_t length =
      std::min(stream.size(), static_cast<std::size_t>(std::max(store.numCornerRecords, 0)));
  // A stream cut short without its end-of-list record ends where it ends.
  auto vertexAt = [&](std::size_t j) { return j < length ? stream[j].vertex : kEndOfList; };
  const std::size_t texVertexCount =
      std::min(store.texVertices.size(), static_cast<std::size_t>(std::max(store.numTVerts, 0)));
  auto pointOf = [&](const CornerRecord& corner) {
    const TexVertex& t = store.texVertices[static_cast<std::size_t>(corner.texVertex) - 1];
    return LinePoint{texturePixel(t.u, raster.width), texturePixel(t.v, raster.height)};
  };

  LinePoint pen;
  LinePoint firstPoint;
  // Record 0 is the first facet's separator.
  for (std::size_t j = 1; vertexAt(j) >= 0;) {
    const CornerRecord& corner = stream[j];
    if (corner.vertex == kSeparator) {  // a facet without corners
      ++j;
      continue;
    }
    if (excludeHidden && (corner.flags & kHiddenBit) != 0) {
      while (vertexAt(j) > 0) ++j;
      if (vertexAt(j) == kSeparator) ++j;
      continue;
    }
    const std::uint8_t color = cornerColor(corner, colorMode);
    if (corner.texVertex < 1 || static_cast<std::size_t>(corner.texVertex) > texVertexCount) {
      return false;
    }
    const LinePoint point = pointOf(corner);
    if (vertexAt(j - 1) == kSeparator) {
      firstPoint = point;
    } else {
      drawRasterLine(raster, pen, point, color);
    }
    pen = point;
    ++j;
    if (vertexAt(j) > 0) continue;
    drawRasterLine(raster, pen, firstPoint, color);
    if (vertexAt(j) == kSeparator) ++j;
  }
  return true;
}

}  // namespace corvina
