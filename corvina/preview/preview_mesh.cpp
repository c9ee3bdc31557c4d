#include "preview/preview_mesh.h"

#include <algorithm>
#include <cmath>

#include "editor/texture_map_raster.h"

namespace corvina::preview {

namespace {

// The stream's usable length: its records up to the counted number.
std::size_t streamLength(const ModelStore& store) {
  return std::min(store.facetStream.size(),
                  static_cast<std::size_t>(std::max(store.numCornerRecords, 0)));
}

// Calls visit(first, end) for the corner records [first, end) of each facet
// in stream order, up to the end-of-list record.
template <class Visit>
void forEachFacet(const ModelStore& store, Visit visit) {
  const std::size_t length = streamLength(store);
  std::size_t j = 0;
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
  std::size_t corners = 0;
  forEachFacet(store, [&](std::size_t first, std::size_t end) { corners += end - first; });
  return corners;
}

void buildPreviewGeometry(const ModelStore& store, NormalSource normals,
                          PreviewGeometry& geometry) {
  const std::size_t corners = previewCornerCount(store);
  geometry.positions.resize(corners * 3);
  geometry.normals.resize(corners * 3);
  geometry.triangles.clear();
  const std::size_t vertexCount =
      std::min(store.vertices.size(), static_cast<std::size_t>(std::max(store.numVerts, 0)));
  const std::size_t normalCount =
      std::min(store.normals.size(), static_cast<std::size_t>(std::max(store.numVNormals, 0)));
  std::size_t corner = 0;
  forEachFacet(store, [&](std::size_t first, std::size_t end) {
    const std::size_t facetCorner = corner;
    const std::size_t count = end - first;
    bool usable = true;
    for (std::size_t j = first; j < end; ++j, ++corner) {
      const std::size_t vertex = static_cast<std::size_t>(store.facetStream[j].vertex);
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
      geometry.triangles.push_back(static_cast<std::uint32_t>(facetCorner));
      geometry.triangles.push_back(static_cast<std::uint32_t>(facetCorner + k));
      geometry.triangles.push_back(static_cast<std::uint32_t>(facetCorner + k + 1));
    }
  });
}

void buildPreviewSurface(const ModelStore& store, const SelectionState& selection,
                         PreviewSurface& surface) {
  const std::size_t corners = previewCornerCount(store);
  surface.texCoords.resize(corners * 2);
  surface.flags.resize(corners);
  const std::size_t texCount =
      std::min(store.texVertices.size(), static_cast<std::size_t>(std::max(store.numTVerts, 0)));
  // The pending move as the texture-map view draws it: x = u, y = 1 - v
  // through source to target.
  const FrameRect& source = selection.source;
  const FrameRect& target = selection.target;
  const float scaleX = spanScale(target.right - target.left, source.right - source.left);
  const float scaleY = spanScale(target.bottom - target.top, source.bottom - source.top);
  std::size_t corner = 0;
  forEachFacet(store, [&](std::size_t first, std::size_t end) {
    const bool hidden = (store.facetStream[first].flags & kHiddenBit) != 0;
    for (std::size_t j = first; j < end; ++j, ++corner) {
      const CornerRecord& record = store.facetStream[j];
      std::uint32_t flags = hidden ? kCornerHidden : 0;
      const bool selected = (record.group & kSelectedBit) != 0;
      if (selected) flags |= kCornerSelected;
      flags |= static_cast<std::uint32_t>(setIndexOf(store, record) % kSetPalette.size())
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
}

}  // namespace corvina::preview
