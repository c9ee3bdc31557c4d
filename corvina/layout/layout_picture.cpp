#include "layout/layout_picture.h"

#include <algorithm>
#include <cmath>

namespace corvina {

namespace {

// The fills' opacity.
constexpr float kFillAlpha = 0.5f;

double segmentDistance(double px, double py, double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((px - x0) * dx + (py - y0) * dy) / length : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

std::uint32_t packed(const std::array<std::uint8_t, 3>& c) {
  return static_cast<std::uint32_t>(c[0]) << 16 | static_cast<std::uint32_t>(c[1]) << 8 | c[2];
}

}  // namespace

LayoutPicture::LayoutPicture(const LayoutFacets& facets, const LayoutStyle& style, int width,
                             int height)
    : facets_(facets), style_(style), width_(width), height_(height) {
  // A band of about four megapixels at most, so a 16384-wide picture holds
  // 256 rows at a time.
  bandRows_ = std::clamp((1 << 22) / std::max(1, width_), 1, std::max(1, height_));
  const std::size_t facetCount = facets_.first.size() - 1;
  top_.resize(facetCount);
  bottom_.resize(facetCount);
  const double reach = style_.lineWidth * 0.5 + 1.0;
  for (std::size_t f = 0; f < facetCount; ++f) {
    double low = 1e300, high = -1e300;
    for (std::uint32_t p = facets_.first[f]; p < facets_.first[f + 1]; ++p) {
      low = std::min(low, facets_.points[2 * p + 1]);
      high = std::max(high, facets_.points[2 * p + 1]);
    }
    top_[f] = low - reach;
    bottom_[f] = high + reach;
  }
}

bool LayoutPicture::row(int row, std::uint8_t* rgba) {
  if (row < 0 || row >= height_) return false;
  if (bandFirst_ < 0 || row < bandFirst_ || row >= bandFirst_ + bandRows_)
    drawBand(row - row % bandRows_);
  const std::size_t base =
      static_cast<std::size_t>(row - bandFirst_) * static_cast<std::size_t>(width_);
  for (int x = 0; x < width_; ++x) {
    const std::size_t at = base + static_cast<std::size_t>(x);
    const std::array<float, 4>& fill = fill_[at];
    const float la = lineAlpha_[at];
    const std::uint32_t lc = lineColour_[at];
    // The outline over the fill, both premultiplied.
    const float alpha = la + fill[3] * (1 - la);
    float colour[3] = {static_cast<float>(lc >> 16 & 0xFF) / 255 * la + fill[0] * (1 - la),
                       static_cast<float>(lc >> 8 & 0xFF) / 255 * la + fill[1] * (1 - la),
                       static_cast<float>(lc & 0xFF) / 255 * la + fill[2] * (1 - la)};
    std::uint8_t* out = rgba + 4 * static_cast<std::size_t>(x);
    for (int c = 0; c < 3; ++c)
      out[c] = alpha > 0 ? static_cast<std::uint8_t>(
                               std::lround(std::clamp(colour[c] / alpha, 0.0f, 1.0f) * 255))
                         : 0;
    out[3] = static_cast<std::uint8_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255));
  }
  return true;
}

void LayoutPicture::drawBand(int firstRow) {
  bandFirst_ = firstRow;
  const std::size_t size = static_cast<std::size_t>(bandRows_) * static_cast<std::size_t>(width_);
  fill_.assign(size, {0, 0, 0, 0});
  lineAlpha_.assign(size, 0.0f);
  lineColour_.assign(size, 0);
  const double bandTop = firstRow, bandBottom = firstRow + bandRows_;
  const std::size_t facetCount = top_.size();
  if (!style_.fillColour.empty())
    for (std::size_t f = 0; f < facetCount; ++f)
      if (bottom_[f] >= bandTop && top_[f] <= bandBottom) fillFacet(f);
  for (std::size_t f = 0; f < facetCount; ++f) {
    if (bottom_[f] < bandTop || top_[f] > bandBottom) continue;
    const std::uint32_t colour = packed(style_.lineColour[f]);
    const std::uint32_t first = facets_.first[f], end = facets_.first[f + 1];
    for (std::uint32_t p = first; p < end; ++p) {
      const std::uint32_t q = p + 1 < end ? p + 1 : first;
      strokeSegment(facets_.points[2 * p], facets_.points[2 * p + 1], facets_.points[2 * q],
                    facets_.points[2 * q + 1], colour);
    }
  }
}

// Even-odd fill at the pixel centres of the band's rows.
void LayoutPicture::fillFacet(std::size_t facet) {
  const std::uint32_t first = facets_.first[facet], end = facets_.first[facet + 1];
  if (end - first < 3) return;
  const auto& c = style_.fillColour[facet];
  const std::array<float, 4> colour = {c[0] / 255.0f * kFillAlpha, c[1] / 255.0f * kFillAlpha,
                                       c[2] / 255.0f * kFillAlpha, kFillAlpha};
  const int rowFrom =
      std::max(bandFirst_, static_cast<int>(std::floor(std::max(top_[facet], -1.0))));
  const int rowTo =
      std::min(bandFirst_ + bandRows_, static_cast<int>(std::ceil(std::min(bottom_[facet], 1e9))));
  std::vector<double> crossings;
  for (int row = rowFrom; row < rowTo; ++row) {
    const double y = row + 0.5;
    crossings.clear();
    for (std::uint32_t p = first; p < end; ++p) {
      const std::uint32_t q = p + 1 < end ? p + 1 : first;
      const double y0 = facets_.points[2 * p + 1], y1 = facets_.points[2 * q + 1];
      if ((y0 > y) == (y1 > y)) continue;
      const double x0 = facets_.points[2 * p], x1 = facets_.points[2 * q];
      crossings.push_back(x0 + (y - y0) * (x1 - x0) / (y1 - y0));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const double from =
          std::clamp(std::ceil(crossings[i] - 0.5), 0.0, static_cast<double>(width_));
      const double to =
          std::clamp(std::ceil(crossings[i + 1] - 0.5), 0.0, static_cast<double>(width_));
      std::array<float, 4>* pixel =
          &fill_[static_cast<std::size_t>(row - bandFirst_) * static_cast<std::size_t>(width_)];
      for (auto x = static_cast<int>(from); x < static_cast<int>(to); ++x)
        for (int k = 0; k < 4; ++k)
          pixel[x][static_cast<std::size_t>(k)] =
              colour[static_cast<std::size_t>(k)] +
              pixel[x][static_cast<std::size_t>(k)] * (1 - kFillAlpha);
    }
  }
}

// Coverage falls off linearly over one pixel at the line's edge; where lines
// meet, a pixel keeps the strongest coverage, so shared edges and corners are
// not darker than the rest.
void LayoutPicture::strokeSegment(double x0, double y0, double x1, double y1,
                                  std::uint32_t colour) {
  const double reach = style_.lineWidth * 0.5 + 0.5;
  const int rowFrom =
      std::max(bandFirst_, static_cast<int>(std::floor(std::max(std::min(y0, y1) - reach, -1.0))));
  const int rowTo =
      std::min(bandFirst_ + bandRows_,
               static_cast<int>(std::ceil(std::min(std::max(y0, y1) + reach, 1e9))) + 1);
  const double dy = y1 - y0;
  for (int row = rowFrom; row < rowTo; ++row) {
    const double y = row + 0.5;
    // The part of the segment within `reach` of this row's centre line.
    double t0 = 0, t1 = 1;
    if (dy != 0) {
      t0 = std::clamp((y - reach - y0) / dy, 0.0, 1.0);
      t1 = std::clamp((y + reach - y0) / dy, 0.0, 1.0);
    } else if (std::fabs(y - y0) > reach) {
      continue;
    }
    const double xa = x0 + (x1 - x0) * t0, xb = x0 + (x1 - x0) * t1;
    const int from = static_cast<int>(
        std::clamp(std::floor(std::min(xa, xb) - reach), 0.0, static_cast<double>(width_)));
    const int to = static_cast<int>(
        std::clamp(std::ceil(std::max(xa, xb) + reach) + 1, 0.0, static_cast<double>(width_)));
    const std::size_t base =
        static_cast<std::size_t>(row - bandFirst_) * static_cast<std::size_t>(width_);
    for (int x = from; x < to; ++x) {
      const double distance = segmentDistance(x + 0.5, y, x0, y0, x1, y1);
      const auto coverage = static_cast<float>(std::clamp(reach - distance, 0.0, 1.0));
      const std::size_t at = base + static_cast<std::size_t>(x);
      if (coverage > lineAlpha_[at]) {
        lineAlpha_[at] = coverage;
        lineColour_[at] = colour;
      }
    }
  }
}

}  // namespace corvina
