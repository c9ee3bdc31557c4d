#pragma once
// The texture-map template as the bitmap export draws it: a byte per pixel,
// each byte a palette index, every facet a closed one-pixel outline through
// its corners' texture coordinates on a white ground. Row 0 holds v = 0 and
// column 0 holds u = 0; the file writer decides the row order on disk.

#include <array>
#include <cstdint>
#include <vector>

#include "editor/texture_map_raster_line.h"
#include "model/model_store.h"

namespace corvina {

struct PaletteColor {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// The colours of the sets: a facet of set index i is drawn in entry i % 14.
inline constexpr std::array<PaletteColor, 14> kSetPalette = {{
    {0, 0, 0},
    {255, 0, 0},
    {0, 255, 0},
    {0, 0, 255},
    {255, 255, 0},
    {255, 0, 255},
    {0, 255, 255},
    {127, 0, 0},
    {0, 127, 0},
    {0, 0, 127},
    {127, 127, 0},
    {127, 0, 127},
    {0, 127, 127},
    {127, 127, 127},
}};

// The template's 256 colours: the set palette, then greys (i, i, i) for i from
// 14 to 255, so index 255 is the white ground.
std::array<PaletteColor, 256> templatePalette();

constexpr std::uint8_t kRasterGround = 255;
constexpr int kLargestRasterSide = 8192;

// The "BMP Export Options" record: lives for the whole run. Width and height
// mirror the model's mapWidth and mapHeight, which the dialog shows and sets.
struct BmpExportOptions {
  int width = 512;   // 1..kLargestRasterSide
  int height = 512;  // 1..kLargestRasterSide
  bool flipV = false;
  bool flipH = false;
  bool excludeHidden = false;
};

struct TextureMapRaster {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // width * height, row after row from row 0

  std::uint8_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

struct RasterPoint {
  int x = 0, y = 0;
};

// A fresh raster of width x height bytes, all kRasterGround. False, with the
// raster empty, when a side lies outside 1..kLargestRasterSide or the memory
// cannot be had.
bool allocateRaster(TextureMapRaster& raster, int width, int height);

// The pixel of texture coordinate t along a side of `size` pixels:
// trunc((size - 1) * t) in float arithmetic, exact however far outside the
// raster it lies (see truncatedPixel); NaN gives 0.
double texturePixel(float t, int size);

// Draws an integer Bresenham line from `pen` to `point` in `color`. The end
// with the smaller y is the start; with equal y, `pen` is. Both ends and every
// point between are plotted; points outside the raster are dropped, so a line
// may start or end far outside it. The work is bounded by the raster's size,
// not by the line's length.
void drawRasterLine(TextureMapRaster& raster, RasterPoint pen, RasterPoint point,
                    std::uint8_t color);

// The same line between ends of any size a truncated float takes.
void drawRasterLine(TextureMapRaster& raster, LinePoint pen, LinePoint point, std::uint8_t color);

// Draws every facet of the stream in the allocated raster: colour 0 in
// black-and-white mode (colorMode 0), else the corner's group, material or
// region index (colorMode 1, 2, 3) modulo 14. With excludeHidden, a hidden
// corner and the rest of its facet are left out (the facet stays open).
// Drawing stops at the first corner whose texture index is not a texture
// vertex; what was drawn before stays. Returns false when it stopped so.
bool drawTextureMap(const ModelStore& store, int colorMode, bool excludeHidden,
                    TextureMapRaster& raster);

}  // namespace corvina
