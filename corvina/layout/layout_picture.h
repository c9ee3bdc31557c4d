#pragma once
// The PNG layout drawn a band of rows at a time: antialiased outlines of a
// given width over optional half-opacity fills, on a transparent ground.

#include <array>
#include <cstdint>
#include <vector>

#include "files/png_writer.h"
#include "layout/layout_facets.h"

namespace corvina {

struct LayoutStyle {
  double lineWidth = 1.0;
  // Per facet: the outline's colour and the fill's colour, or no fill.
  std::vector<std::array<std::uint8_t, 3>> lineColour;
  std::vector<std::array<std::uint8_t, 3>> fillColour;  // empty: no fills
};

class LayoutPicture : public PngRowSource {
 public:
  // Draws `facets` (kept by reference) on a width x height picture.
  LayoutPicture(const LayoutFacets& facets, const LayoutStyle& style, int width, int height);

  // Row `row` from the top as RGBA, not premultiplied.
  bool row(int row, std::uint8_t* rgba) override;

 private:
  void drawBand(int firstRow);
  void fillFacet(std::size_t facet);
  void strokeSegment(double x0, double y0, double x1, double y1, std::uint32_t colour);

  const LayoutFacets& facets_;
  const LayoutStyle& style_;
  int width_, height_;
  int bandRows_ = 64;
  int bandFirst_ = -1;  // first row of the band drawn, -1 before any
  // The band: fills premultiplied (r, g, b, a in 0..1), the outlines' coverage
  // and colour (0xRRGGBB) per pixel.
  std::vector<std::array<float, 4>> fill_;
  std::vector<float> lineAlpha_;
  std::vector<std::uint32_t> lineColour_;
  std::vector<double> top_, bottom_;  // per facet: its rows' range
};

}  // namespace corvina
