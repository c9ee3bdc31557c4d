#include "layout/layout_facets.h"

#include <cmath>
#include <new>

#include "layout/uv_islands.h"

namespace corvina {

bool layoutFacets(const ModelStore& store, const LayoutFrame& frame, LayoutFacets& facets) {
  facets = LayoutFacets{};
  try {
    const std::vector<CornerRecord>& stream = store.facetStream;
    facets.first.push_back(0);
    std::size_t j = 0;
    while (j < stream.size() && stream[j].vertex >= 0) {
      if (stream[j].vertex != kSeparator) {
        ++j;  // a corner before any separator belongs to no facet
        continue;
      }
      const std::size_t start = j + 1;
      std::size_t end = start;
      while (end < stream.size() && stream[end].vertex > 0) ++end;
      j = end;
      if (end == start) continue;
      bool drawn = true;
      const std::size_t mark = facets.points.size();
      for (std::size_t k = start; k < end && drawn; ++k) {
        const TexVertex* t = cornerTexVertex(store, stream[k]);
        if (t == nullptr || (t->u == kNoUvU && t->v == kNoUvV) || !std::isfinite(t->u) ||
            !std::isfinite(t->v) || (frame.excludeHidden && (stream[k].flags & kHiddenBit) != 0)) {
          drawn = false;
          break;
        }
        const double u = frame.flipH ? 1.0 - t->u : t->u;
        const double v = frame.flipV ? t->v : 1.0 - t->v;
        facets.points.push_back(u * frame.width);
        facets.points.push_back(v * frame.height);
      }
      if (!drawn) {
        facets.points.resize(mark);
        continue;
      }
      facets.first.push_back(static_cast<std::uint32_t>(facets.points.size() / 2));
      facets.group.push_back(stream[start].group & kSetIndexMask);
      facets.material.push_back(stream[start].material & kSetIndexMask);
      facets.region.push_back(stream[start].region & kSetIndexMask);
    }
    return true;
  } catch (const std::bad_alloc&) {
    facets = LayoutFacets{};
    return false;
  }
}

}  // namespace corvina
