#include "layout/layout_export.h"

#include <algorithm>
#include <map>
#include <new>

#include "editor/texture_map_raster.h"
#include "files/png_writer.h"
#include "files/svg_writer.h"
#include "layout/layout_facets.h"
#include "layout/layout_picture.h"

namespace corvina {

namespace {

std::array<std::uint8_t, 3> setColour(std::uint16_t set) {
  const PaletteColor& c = kSetPalette[set % kSetPalette.size()];
  return {c.red, c.green, c.blue};
}

LayoutFrame frameOf(const LayoutExportOptions& options) {
  return LayoutFrame{options.width, options.height, options.flipV, options.flipH,
                     options.excludeHidden};
}

// The name of set `index` of the table of kind 0 group, 1 material, 2 region;
// "" when the table has no such name.
std::string setName(const ModelStore& store, int kind, std::uint16_t index) {
  const std::vector<SetRecord>& table = kind == 0   ? store.groups
                                        : kind == 1 ? store.materials
                                                    : store.regions;
  const int names = kind == 0 ? store.numGroups : kind == 1 ? store.numMaterials : store.numRegions;
  if (index >= names || index >= table.size()) return {};
  const char* name = table[index].name;
  return std::string(name, std::find(name, name + kSetNameSize, '\0'));
}

}  // namespace

LayoutExportOutcome exportLayoutPng(const ModelStore& store, const LayoutExportOptions& options,
                                    const std::string& path) {
  try {
    LayoutFacets facets;
    if (!layoutFacets(store, frameOf(options), facets))
      return LayoutExportOutcome::InsufficientMemory;
    const std::size_t count = facets.first.size() - 1;
    LayoutStyle style;
    style.lineWidth = options.lineWidth;
    style.lineColour.resize(count);
    for (std::size_t f = 0; f < count; ++f)
      style.lineColour[f] = store.colorMode == kColorModeBlackWhite
                                ? std::array<std::uint8_t, 3>{0, 0, 0}
                                : setColour(facetSet(facets, f, store.colorMode - 1));
    if (options.fill >= 1 && options.fill <= 3) {
      style.fillColour.resize(count);
      for (std::size_t f = 0; f < count; ++f)
        style.fillColour[f] = setColour(facetSet(facets, f, options.fill - 1));
    }
    LayoutPicture picture(facets, style, options.width, options.height);
    switch (writePngFile(path, options.width, options.height, picture)) {
      case PngWriteOutcome::Written:
        return LayoutExportOutcome::Written;
      case PngWriteOutcome::CannotOpen:
        return LayoutExportOutcome::CannotOpen;
      case PngWriteOutcome::InsufficientMemory:
        return LayoutExportOutcome::InsufficientMemory;
      case PngWriteOutcome::NotAPicture:
      case PngWriteOutcome::WriteFailed:
        break;
    }
    return LayoutExportOutcome::WriteFailed;
  } catch (const std::bad_alloc&) {
    return LayoutExportOutcome::InsufficientMemory;
  }
}

LayoutExportOutcome exportLayoutSvg(const ModelStore& store, const LayoutExportOptions& options,
                                    const std::string& path) {
  try {
    LayoutFacets facets;
    if (!layoutFacets(store, frameOf(options), facets))
      return LayoutExportOutcome::InsufficientMemory;
    const int kind = std::clamp(options.groupBy, 0, 2);
    SvgPicture picture;
    picture.width = options.width;
    picture.height = options.height;
    picture.strokeWidth = options.lineWidth;
    std::map<std::uint16_t, std::size_t> groupOfSet;
    for (std::size_t f = 0; f + 1 < facets.first.size(); ++f) groupOfSet[facetSet(facets, f, kind)];
    for (auto& [set, group] : groupOfSet) {
      group = picture.groups.size();
      SvgGroup made;
      made.name = setName(store, kind, set);
      const auto colour = setColour(set);
      made.red = colour[0];
      made.green = colour[1];
      made.blue = colour[2];
      picture.groups.push_back(std::move(made));
    }
    for (std::size_t f = 0; f + 1 < facets.first.size(); ++f) {
      SvgGroup& group = picture.groups[groupOfSet[facetSet(facets, f, kind)]];
      group.corners.push_back(facets.first[f + 1] - facets.first[f]);
      group.points.insert(group.points.end(), facets.points.begin() + 2 * facets.first[f],
                          facets.points.begin() + 2 * facets.first[f + 1]);
    }
    switch (writeSvgFile(path, picture)) {
      case SvgWriteOutcome::Written:
        return LayoutExportOutcome::Written;
      case SvgWriteOutcome::CannotOpen:
        return LayoutExportOutcome::CannotOpen;
      case SvgWriteOutcome::WriteFailed:
        break;
    }
    return LayoutExportOutcome::WriteFailed;
  } catch (const std::bad_alloc&) {
    return LayoutExportOutcome::InsufficientMemory;
  }
}

}  // namespace corvina
