#pragma once
// The layout of the texture map as a picture to paint over: a PNG with
// antialiased outlines on a transparent ground (optionally the facets filled
// at half opacity in their set colours), or an SVG with one polygon per
// facet, grouped by set. v = 0 is at the bottom, as in the view and the BMP
// template; the flips mirror the picture as the template's do.

#include <string>

#include "model/model_store.h"

namespace corvina {

constexpr int kLargestLayoutSide = 16384;

// The "Layout Export Options" record: lives for the whole run; width and
// height start at the model's map size each time.
struct LayoutExportOptions {
  int format = 0;                 // 0 PNG, 1 SVG (the menu command's choice)
  int width = 512, height = 512;  // 1..kLargestLayoutSide
  float lineWidth = 1.0f;         // pixels, 0.1..64
  int fill = 0;                   // PNG: 0 none, 1 by group, 2 by material, 3 by region
  int groupBy = 0;                // SVG: 0 group, 1 material, 2 region
  bool flipV = false;
  bool flipH = false;
  bool excludeHidden = false;
};

enum class LayoutExportOutcome { Written, CannotOpen, WriteFailed, InsufficientMemory };

// The PNG: outlines in the colour mode's set colours (black in black and
// white), the facets filled by options.fill.
LayoutExportOutcome exportLayoutPng(const ModelStore& store, const LayoutExportOptions& options,
                                    const std::string& path);

// The SVG: a group per set of options.groupBy that has facets, in set order,
// each with its set's name and colour; one polygon per facet.
LayoutExportOutcome exportLayoutSvg(const ModelStore& store, const LayoutExportOptions& options,
                                    const std::string& path);

}  // namespace corvina
