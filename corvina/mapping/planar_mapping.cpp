#include "mapping/planar_mapping.h"

#include "mapping/axis_components.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

// The average position of the vertices of the facet that follows the
// separator at `separator`.
Vector3 facetCentre(const MappingArrays& arrays, std::size_t separator) {
  const std::size_t length = arrays.length;
  Vector3 sum;
  int count = 0;
  for (std::size_t j = separator + 1; j < length && arrays.records[j].vertex > 0; ++j) {
    const Vertex* p = arrays.vertexOf(arrays.records[j]);
    if (p == nullptr) continue;
    sum.x = sum.x + p->x;
    sum.y = sum.y + p->y;
    sum.z = sum.z + p->z;
    ++count;
  }
  if (count == 0) return sum;
  const float n = static_cast<float>(count);
  return Vector3{sum.x / n, sum.y / n, sum.z / n};
}

}  // namespace

LayoutExtents planarLayout(const BoundingBox& box, const PlanarMappingOptions& options) {
  LayoutExtents layout{firstAcross(box.extent, options.alignment),
                       secondAcross(box.extent, options.alignment)};
  if (options.split != 0) {
    if (options.orientation == 1)
      layout.vertical = layout.vertical * 2.0f;
    else
      layout.horizontal = layout.horizontal * 2.0f;
  }
  return layout;
}

MappingOutcome planarMapping(ModelStore& store, SelectionState& selection,
                             const PlanarMappingOptions& options, ClientSize view) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  const bool active = selection.selectionActive;
  const MappingArrays arrays = mappingArraysToListEnd(store);
  const BoundingBox box = participatingBounds(arrays, active);
  const int axis = options.alignment;
  const float minU = firstAcross(box.minimum, axis), extentU = firstAcross(box.extent, axis);
  const float minV = secondAcross(box.minimum, axis), extentV = secondAcross(box.extent, axis);
  const bool vertical = options.orientation == 1;

  // Each range starts at a separator (the first at the stream's start), so
  // the ranges are mapped apart as one walk maps them.
  const std::size_t end = listEndOf(arrays);
  runRanges(facetRangesForThreads(arrays.records, end), [&](std::size_t begin, std::size_t stop) {
    Vector3 reference;  // the facet's normal or its centre's offset from the cut
    for (std::size_t i = begin; i < stop; ++i) {
      const CornerRecord& record = arrays.records[i];
      if (record.vertex == 0) {
        if (options.split == 1) {
          reference = facetNormal(arrays, i);
        } else if (options.split == 2) {
          const Vector3 m = facetCentre(arrays, i);
          reference =
              Vector3{options.offset + (m.x - box.centre.x), options.offset + (m.y - box.centre.y),
                      options.offset + (m.z - box.centre.z)};
        }
        continue;
      }
      if (!participates(record, active)) continue;
      const Vertex* vertex = arrays.vertexOf(record);
      TexVertex* uv = arrays.texVertexOf(record);
      if (vertex == nullptr || uv == nullptr) continue;
      const Vector3 p = positionOf(*vertex);
      const bool positiveSide = axisComponent(reference, axis) > 0.0f;
      float u = unitCoordinate(firstAcross(p, axis), minU, extentU);
      float v = unitCoordinate(secondAcross(p, axis), minV, extentV);
      if (options.gaps) {
        u = u * 0.95f + 0.025f;
        v = v * 0.95f + 0.025f;
      }
      if (options.split != 0) {
        float& halved = vertical ? v : u;
        halved = positiveSide ? halved * 0.5f : 1.0f - halved * 0.5f;
      }
      uv->u = u;
      uv->v = v;
    }
  });

  const LayoutExtents layout = planarLayout(box, options);
  if (!active)
    setMapSizeFromLayout(store, layout, options.mapSize);
  else
    endProjectionInSelection(selection, store, layout, options.gaps, options.scaleResult, view);
  return MappingOutcome::Mapped;
}

}  // namespace corvina
