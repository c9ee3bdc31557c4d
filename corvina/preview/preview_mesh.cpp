#include "preview/preview_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "editor/texture_map_raster.h"
#include "model/model_walk.h"
#include "model/parallel_parts.h"
#include "model/stream_ranges.h"

namespace corvina::preview {

namespace {

// The stream up to the end-of-list record cut into ranges for every core,
// each beginning at a separator, with the number of the first corner of
// each (corners are numbered in stream order, separators left out) and
// where its fan triangles begin among all.
struct CornerRanges {
  std::vector<PartRange> records;
  std::vector<std::size_t> firstCorner, firstTriangleIndex;
  std::size_t corners = 0, triangleIndices = 0;
};

// The records the preview's vertices stand for: 1 .. numVerts, as stored.
std::size_t vertexCountOf(const ModelStore& store) {
  return std::min(store.vertices.size(), static_cast<std::size_t>(std::max(store.numVerts, 0)));
}

CornerRanges cornerRanges(const ModelStore& store) {
  const std::size_t vertexCount = vertexCountOf(store);
  CornerRanges cut;
  const CornerRecord* stream = store.facetStream.data();
  cut.records = facetRangesForThreads(stream, streamLength(store));
  // Each range counts its corners up to an end-of-list record; the ranges
  // after the first that meets one are dropped.
  struct Count {
    std::size_t corners = 0, triangleIndices = 0, listEnd = SIZE_MAX;
  };
  const std::vector<Count> counts =
      mapEachRange<Count>(cut.records, [&](std::size_t begin, std::size_t end) {
        Count count;
        std::size_t facetCorners = 0;
        bool usable = true;
        auto closeFacet = [&] {
          if (usable && facetCorners >= 3) count.triangleIndices += 3 * (facetCorners - 2);
          facetCorners = 0;
          usable = true;
        };
        for (std::size_t j = begin; j < end; ++j) {
          const std::int32_t vertex = stream[j].vertex;
          if (vertex < 0) {
            count.listEnd = j;
            break;
          }
          if (vertex == kSeparator) {
            closeFacet();
            continue;
          }
          ++count.corners;
          ++facetCorners;
          usable = usable && static_cast<std::size_t>(vertex) <= vertexCount;
        }
        closeFacet();
        return count;
      });
  for (std::size_t k = 0; k < counts.size(); ++k) {
    cut.firstCorner.push_back(cut.corners);
    cut.firstTriangleIndex.push_back(cut.triangleIndices);
    cut.corners += counts[k].corners;
    cut.triangleIndices += counts[k].triangleIndices;
    if (counts[k].listEnd != SIZE_MAX) {
      cut.records[k].end = counts[k].listEnd;
      cut.records.resize(k + 1);
      break;
    }
  }
  return cut;
}

// Calls visit(first, end) for the corner records [first, end) of each facet
// among records [begin, end) in stream order.
template <class Visit>
void forEachFacet(const ModelStore& store, std::size_t begin, std::size_t length, Visit visit) {
  std::size_t j = begin;
  while (j < length) {
    const std::int32_t vertex = store.facetStream[j].vertex;
    if (vertex < 0) break;
    if (vertex == kSeparator) {
      ++j;
      continue;
    }
    const std::size_t first = j;
    while (j < length && store.facetStream[j].vertex > 0) ++j;
    visit(first, j);
  }
}

struct Point {
  float x = 0, y = 0, z = 0;
};

// The facet's plane normal by Newell's method, which is robust for
// polygons that are not quite flat; zero for a degenerate facet.
Point newellNormal(const std::vector<float>& positions, std::size_t firstCorner,
                   std::size_t count) {
  Point n;
  for (std::size_t k = 0; k < count; ++k) {
    const float* a = &positions[(firstCorner + k) * 3];
    const float* b = &positions[(firstCorner + (k + 1) % count) * 3];
    n.x += (a[1] - b[1]) * (a[2] + b[2]);
    n.y += (a[2] - b[2]) * (a[0] + b[0]);
    n.z += (a[0] - b[0]) * (a[1] + b[1]);
  }
  const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (!(length > 0) || !std::isfinite(length)) return {};
  return {n.x / length, n.y / length, n.z / length};
}

int setIndexOf(const ModelStore& store, const CornerRecord& record) {
  switch (store.colorMode) {
    case kColorModeMaterial:
      return record.material & kSetIndexMask;
    case kColorModeRegion:
      return record.region & kSetIndexMask;
    default:
      return record.group & kSetIndexMask;
  }
}

}  // namespace

std::size_t previewCornerCount(const ModelStore& store) {
  return cornerRanges(store).corners;
}

void buildPreviewGeometry(const ModelStore& store, NormalSource normals,
                          PreviewGeometry& geometry) {
  const CornerRanges cut = cornerRanges(store);
  geometry.positions.resize(cut.corners * 3);
  geometry.normals.resize(cut.corners * 3);
  // Each range fans its facets into its own stretch of the triangles.
  geometry.triangles.resize(cut.triangleIndices);
  const std::size_t vertexCount = vertexCountOf(store);
  const std::size_t normalCount =
      std::min(store.normals.size(), static_cast<std::size_t>(std::max(store.numVNormals, 0)));
  runParts(cut.records.size(), [&](std::size_t part) {
    std::size_t corner = cut.firstCorner[part];
    std::uint32_t* triangle = geometry.triangles.data() + cut.firstTriangleIndex[part];
    forEachFacet(store, cut.records[part].begin, cut.records[part].end,
                 [&](std::size_t first, std::size_t end) {
                   const std::size_t facetCorner = corner;
                   const std::size_t count = end - first;
                   bool usable = true;
                   for (std::size_t j = first; j < end; ++j, ++corner) {
                     const std::size_t vertex =
                         static_cast<std::size_t>(store.facetStream[j].vertex);
                     float* p = &geometry.positions[corner * 3];
                     if (vertex > vertexCount) {
                       p[0] = p[1] = p[2] = 0;
                       usable = false;
                       continue;
                     }
                     const Vertex& v = store.vertices[vertex - 1];
                     p[0] = v.x;
                     p[1] = v.y;
                     p[2] = v.z;
                   }
                   const Point plane = newellNormal(geometry.positions, facetCorner, count);
                   for (std::size_t k = 0; k < count; ++k) {
                     float* n = &geometry.normals[(facetCorner + k) * 3];
                     const std::int32_t index = store.facetStream[first + k].normal;
                     if (normals == NormalSource::Model && index > 0 &&
                         static_cast<std::size_t>(index) <= normalCount) {
                       const Normal& m = store.normals[static_cast<std::size_t>(index) - 1];
                       const float length = std::sqrt(m.x * m.x + m.y * m.y + m.z * m.z);
                       if (length > 0 && std::isfinite(length)) {
                         n[0] = m.x / length;
                         n[1] = m.y / length;
                         n[2] = m.z / length;
                         continue;
                       }
                     }
                     n[0] = plane.x;
                     n[1] = plane.y;
                     n[2] = plane.z;
                   }
                   if (!usable) return;
                   for (std::size_t k = 1; k + 1 < count; ++k) {
                     *triangle++ = static_cast<std::uint32_t>(facetCorner);
                     *triangle++ = static_cast<std::uint32_t>(facetCorner + k);
                     *triangle++ = static_cast<std::uint32_t>(facetCorner + k + 1);
                   }
                 });
  });
}

void buildPreviewSurface(const ModelStore& store, const SelectionState& selection,
                         PreviewSurface& surface) {
  const CornerRanges cut = cornerRanges(store);
  surface.texCoords.resize(cut.corners * 2);
  surface.flags.resize(cut.corners);
  const std::size_t texCount =
      std::min(store.texVertices.size(), static_cast<std::size_t>(std::max(store.numTVerts, 0)));
  // The pending move as the texture-map view draws it: x = u, y = 1 - v
  // through source to target.
  const FrameRect& source = selection.source;
  const FrameRect& target = selection.target;
  const float scaleX = spanScale(target.right - target.left, source.right - source.left);
  const float scaleY = spanScale(target.bottom - target.top, source.bottom - source.top);
  runParts(cut.records.size(), [&](std::size_t part) {
    std::size_t corner = cut.firstCorner[part];
    forEachFacet(store, cut.records[part].begin, cut.records[part].end,
                 [&](std::size_t first, std::size_t end) {
                   const bool hidden = (store.facetStream[first].flags & kHiddenBit) != 0;
                   for (std::size_t j = first; j < end; ++j, ++corner) {
                     const CornerRecord& record = store.facetStream[j];
                     std::uint32_t flags = hidden ? kCornerHidden : 0;
                     const bool selected = (record.group & kSelectedBit) != 0;
                     if (selected) flags |= kCornerSelected;
                     flags |=
                         static_cast<std::uint32_t>(setIndexOf(store, record) % kSetPalette.size())
                         << kCornerSetShift;
                     float u = 0, v = 0;
                     const std::int32_t t = record.texVertex;
                     if (t < 1 || static_cast<std::size_t>(t) > texCount) {
                       flags |= kCornerNoUv;
                     } else {
                       const TexVertex& uv = store.texVertices[static_cast<std::size_t>(t) - 1];
                       if (uv.u == kNoUvU && uv.v == kNoUvV) {
                         flags |= kCornerNoUv;
                       } else if (selected) {
                         u = (uv.u - source.left) * scaleX + target.left;
                         v = 1.0f - ((1.0f - uv.v - source.top) * scaleY + target.top);
                       } else {
                         u = uv.u;
                         v = uv.v;
                       }
                     }
                     surface.texCoords[corner * 2] = u;
                     surface.texCoords[corner * 2 + 1] = v;
                     surface.flags[corner] = flags;
                   }
                 });
  });
}

}  // namespace corvina::preview
