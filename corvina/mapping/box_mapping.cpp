#include "mapping/box_mapping.h"

#include <cmath>

#include "mapping/axis_components.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

// a / b, or 0 when b is 0: a box without width (or height) gives its panels
// no size instead of undefined ones.
float share(float a, float b) {
  return b == 0.0f ? 0.0f : a / b;
}

std::array<PanelPlacement, 6> splitLayout(Vector3 e, bool gaps) {
  const float dx = e.x, dy = e.y, dz = e.z;
  const float w = 2.0f * (dx + dz);
  const float h = 2.0f * dz + dy;
  std::array<PanelPlacement, 6> p;
  p[0] = {-share(dz, w), share(2.0f * dz + dx, w), share(dy, h), share(dz, h)};
  p[1] = {share(dx, w), share(dz, w), -share(dz, h), 1.0f};
  p[2] = {share(dx, w), share(dz, w), share(dy, h), share(dz, h)};
  p[3] = {share(dz, w), 0.0f, share(dy, h), share(dz, h)};
  p[4] = {share(dx, w), share(dz, w), share(dz, h), 0.0f};
  p[5] = {-share(dx, w), 1.0f, share(dy, h), share(dz, h)};
  if (gaps) {
    for (PanelPlacement& side : p) {
      side.scaleU = side.scaleU * 0.9f;
      side.scaleV = side.scaleV * 0.9f;
    }
    p[3].offsetU = 0.02f;
    p[1].offsetU = p[2].offsetU = p[4].offsetU = p[3].scaleU + 0.04f;
    p[5].offsetU = 0.98f;
    p[0].offsetU = p[5].scaleU + 0.96f;
    p[4].offsetV = 0.025f;
    p[0].offsetV = p[2].offsetV = p[3].offsetV = p[5].offsetV = p[4].scaleV + 0.05f;
    p[1].offsetV = 0.975f;
  }
  return p;
}

std::array<PanelPlacement, 6> threePanelLayout(Vector3 e, bool gaps) {
  const float dx = e.x, dy = e.y, dz = e.z;
  const float w = dx + dz;
  const float h = dz + dy;
  PanelPlacement x{share(dz, w), 0.0f, share(dy, h), share(dz, h)};
  PanelPlacement y{share(dx, w), share(dz, w), share(dz, h), 0.0f};
  PanelPlacement z{share(dx, w), share(dz, w), share(dy, h), share(dz, h)};
  if (gaps) {
    for (PanelPlacement* axis : {&x, &y, &z}) {
      axis->scaleU = axis->scaleU * 0.94f;
      axis->scaleV = axis->scaleV * 0.94f;
    }
    x.offsetU = 0.02f;
    y.offsetU = z.offsetU = x.scaleU + 0.04f;
    y.offsetV = 0.02f;
    x.offsetV = z.offsetV = y.scaleV + 0.04f;
  }
  return {x, y, z, x, y, z};
}

}  // namespace

int boxSideOf(Vector3 n) {
  const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  if (ax >= ay && ax >= az) return n.x >= 0.0f ? 0 : 3;
  if (az > ay) return n.z >= 0.0f ? 2 : 5;
  return n.y >= 0.0f ? 1 : 4;
}

std::array<PanelPlacement, 6> boxLayout(Vector3 extent, bool split, bool gaps) {
  return split ? splitLayout(extent, gaps) : threePanelLayout(extent, gaps);
}

LayoutExtents boxLayoutExtents(Vector3 e, bool split) {
  if (split) return LayoutExtents{2.0f * (e.x + e.z), 2.0f * e.z + e.y};
  return LayoutExtents{e.x + e.z, e.z + e.y};
}

MappingOutcome boxMapping(ModelStore& store, SelectionState& selection,
                          const BoxMappingOptions& options, ClientSize view) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  const bool active = selection.selectionActive;
  const MappingArrays arrays = mappingArraysToListEnd(store);
  const BoundingBox box = participatingBounds(arrays, active);
  const std::array<PanelPlacement, 6> layout = boxLayout(box.extent, options.split, options.gaps);

  // Each range starts at a separator (the first at the stream's start), so
  // the ranges are mapped apart as one walk maps them.
  const std::size_t end = listEndOf(arrays);
  runRanges(facetRangesForThreads(arrays.records, end), [&](std::size_t begin, std::size_t stop) {
    int side = 0;
    for (std::size_t i = begin; i < stop; ++i) {
      const CornerRecord& record = arrays.records[i];
      if (record.vertex == 0) {
        side = boxSideOf(facetNormal(arrays, i));
        continue;
      }
      if (!participates(record, active)) continue;
      const Vertex* vertex = arrays.vertexOf(record);
      TexVertex* uv = arrays.texVertexOf(record);
      if (vertex == nullptr || uv == nullptr) continue;
      // Sides 0 and 3 see (z, y), 2 and 5 see (x, y), 1 and 4 see (x, z).
      const int axis = side % 3;
      float lu, lv;
      if (axis == 0) {
        lu = unitCoordinate(vertex->z, box.minimum.z, box.extent.z);
        lv = unitCoordinate(vertex->y, box.minimum.y, box.extent.y);
      } else if (axis == 2) {
        lu = unitCoordinate(vertex->x, box.minimum.x, box.extent.x);
        lv = unitCoordinate(vertex->y, box.minimum.y, box.extent.y);
      } else {
        lu = unitCoordinate(vertex->x, box.minimum.x, box.extent.x);
        lv = unitCoordinate(vertex->z, box.minimum.z, box.extent.z);
      }
      const PanelPlacement& panel = layout[static_cast<std::size_t>(side)];
      uv->u = finiteOr(lu * panel.scaleU + panel.offsetU, 0.5f);
      uv->v = finiteOr(lv * panel.scaleV + panel.offsetV, 0.5f);
    }
  });

  const LayoutExtents extents = boxLayoutExtents(box.extent, options.split);
  if (!active)
    setMapSizeFromLayout(store, extents, options.mapSize);
  else
    endProjectionInSelection(selection, store, extents, options.gaps, options.scaleResult, view);
  return MappingOutcome::Mapped;
}

}  // namespace corvina
