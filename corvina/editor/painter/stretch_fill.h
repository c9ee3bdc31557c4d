#pragma once
// The stretch view's fill: each facet painted under its outline in a colour
// that tells how the map distorts it. Area: blue where the facet has less of
// the map than its share of the surface, white where equal, red where more,
// on a log scale that is full blue at a quarter and full red at four times
// its share. Angle: white at no change through red at 45 degrees or more.
// The values come from the distortion measures, one per facet; this file
// only draws them.

#include <QImage>
#include <cstddef>
#include <cstdint>

#include "editor/painter/view_scene.h"

namespace corvina::painter {

enum class StretchKind { Area, Angle };

struct StretchFill {
  StretchKind kind = StretchKind::Area;
  // One entry per facet in stream order (the order of forEachFacetSpan);
  // facets past `count` and those not measured are not filled.
  const float* values = nullptr;
  const std::uint8_t* measured = nullptr;
  std::size_t count = 0;
};

// The colour of one value, opaque.
QRgb stretchColor(StretchKind kind, float value);

// Fills the visible, measured facets of `scene` (its `stretch` must be set)
// into `image`, a W x H picture, where the outlines would put their corners:
// selected corners through the pending move. A pixel is filled when its
// corner point lies inside the facet, so facets that share a side share no
// pixel and leave no gap.
void drawStretchFill(QImage& image, const ViewScene& scene);

}  // namespace corvina::painter
