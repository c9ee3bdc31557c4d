#include "mapping/cylindrical_mapping.h"

#include <cmath>
#include <vector>

#include "mapping/axis_components.h"
#include "mapping/radial_projection.h"
#include "model/stream_ranges.h"

namespace corvina {

namespace {

float share(float a, float b) {
  return b == 0.0f ? 0.0f : a / b;
}

// Steps shared by both mappings: angular projection, seam and poles. Returns
// the range the first normalisation rescales from; the callers fuse that
// normalisation with their next pass.
UvRange repairedRange(const MappingArrays& arrays, bool active, const BoundingBox& box,
                      const RadialMappingOptions& options) {
  const Vector3 centre = offsetCentre(box, options);
  const int axis = options.alignment;
  const int rotation = options.rotation;
  mapCornersByVertex(arrays, active, [&](Vector3 p) {
    return cylindricalUv(p, centre, box.extent, axis, rotation);
  });
  return repairSeamsAndPoles(arrays, active, box, centre, axis, options.spreadAtPoles);
}

// A facet faces along the axis when its normal's axis component is strictly
// larger in magnitude than both others.
bool isCapFacet(Vector3 n, int axis) {
  const float along = std::fabs(axisComponent(n, axis));
  return along > std::fabs(firstAcross(n, axis)) && along > std::fabs(secondAcross(n, axis));
}

// The cap's flat coordinates: X (z, y), Y (x, z), Z (y, x).
float capUCoordinate(Vector3 p, int axis) {
  return axis == 0 ? p.z : axis == 1 ? p.x : p.y;
}
float capVCoordinate(Vector3 p, int axis) {
  return axis == 0 ? p.y : axis == 1 ? p.z : p.x;
}

struct Range {
  float minimum = 100000.0f;
  float maximum = -100000.0f;
  void include(float value) {
    if (value < minimum) minimum = value;
    if (value > maximum) maximum = value;
  }
  // Takes in the range of the values after these, by the same rule (the
  // first extreme wins), so ranges of parts combine as one walk's range.
  void follow(const Range& later) {
    if (later.minimum < minimum) minimum = later.minimum;
    if (later.maximum > maximum) maximum = later.maximum;
  }
  float middle() const { return minimum + (maximum - minimum) * 0.5f; }
};

}  // namespace

CapLayout capLayout(Vector3 e, int axis, bool gaps) {
  CapLayout layout;
  if (axis == 0) {
    layout.total = 2.0f * e.y + e.x;
    layout = {layout.total, share(e.x, layout.total), share(e.z, layout.total),
              share(e.y, layout.total)};
  } else if (axis == 1) {
    layout.total = 2.0f * e.z + e.y;
    layout = {layout.total, share(e.y, layout.total), share(e.x, layout.total),
              share(e.z, layout.total)};
  } else {
    layout.total = 2.0f * e.x + e.z;
    layout = {layout.total, share(e.z, layout.total), share(e.y, layout.total),
              share(e.x, layout.total)};
  }
  if (gaps) layout.capV = layout.capV * 0.9f;
  return layout;
}

MappingOutcome cylindricalMapping(ModelStore& store, SelectionState& selection,
                                  const RadialMappingOptions& options, ClientSize view) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  const bool active = selection.selectionActive;
  const MappingArrays arrays = mappingArraysToListEnd(store);
  const BoundingBox box = participatingBounds(arrays, active);
  const UvRange repaired = repairedRange(arrays, active, box, options);
  const UnitSquareMap first(repaired, 0.0f);
  const int axis = options.alignment;
  const LayoutExtents layout{kLayoutPi * largerCrossExtent(box.extent, axis),
                             axisComponent(box.extent, axis)};
  finishRadialLayout(store, selection, options, layout, options.mapSize, view);
  // The two normalisations in one pass: the second one's range is the image
  // of the first one's.
  const UnitSquareMap second(first.image(repaired), options.gaps ? 0.05f : 0.0f);
  applyToNormalisedCorners(arrays, active, first, second);
  return MappingOutcome::Mapped;
}

MappingOutcome cylindricalCapMapping(ModelStore& store, SelectionState& selection,
                                     const RadialMappingOptions& options, ClientSize view) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  const bool active = selection.selectionActive;
  const MappingArrays arrays = mappingArraysToListEnd(store);
  const BoundingBox box = participatingBounds(arrays, active);
  const UnitSquareMap first(repairedRange(arrays, active, box, options), 0.0f);
  const int axis = options.alignment;
  const CapLayout bands = capLayout(box.extent, axis, options.gaps);
  const float capUMinimum = capUCoordinate(box.minimum, axis);
  const float capUExtent = capUCoordinate(box.extent, axis);
  const float capVMinimum = capVCoordinate(box.minimum, axis);
  const float capVExtent = capVCoordinate(box.extent, axis);

  // Side facets squeeze into the middle band; caps lie flat in the bottom
  // band (facing the negative axis direction) or the top band. Ranges that
  // start at separators are placed apart; their u ranges combine in order.
  const std::size_t end = listEndOf(arrays);
  const std::vector<PartRange> ranges = facetRangesForThreads(arrays.records, end);
  struct BandRanges {
    Range side, cap;
  };
  const std::vector<BandRanges> parts =
      mapEachRange<BandRanges>(ranges, [&](std::size_t begin, std::size_t stop) {
        BandRanges bandRanges;
        Vector3 normal;
        bool cap = false;
        for (std::size_t i = begin; i < stop; ++i) {
          const CornerRecord& record = arrays.records[i];
          if (record.vertex == 0) {
            normal = facetNormal(arrays, i);
            cap = isCapFacet(normal, axis);
            continue;
          }
          TexVertex* uv = normalisedCorner(arrays, record, active);
          if (uv == nullptr) continue;
          *uv = first(*uv);  // the first normalisation, fused into this pass
          const Vertex* vertex = arrays.vertexOf(record);
          if (vertex == nullptr) continue;
          if (!cap) {
            uv->v = bands.side * uv->v + (1.0f - bands.side) * 0.5f;
            bandRanges.side.include(uv->u);
            continue;
          }
          const Vector3 p = positionOf(*vertex);
          uv->u = (1.0f - bands.capU) * 0.5f +
                  unitCoordinate(capUCoordinate(p, axis), capUMinimum, capUExtent) * bands.capU;
          uv->v = unitCoordinate(capVCoordinate(p, axis), capVMinimum, capVExtent) * bands.capV;
          if (axisComponent(normal, axis) > 0.0f) uv->v = 1.0f - uv->v;
          bandRanges.cap.include(uv->u);
        }
        return bandRanges;
      });
  Range sideU = parts.front().side, capU = parts.front().cap;
  for (std::size_t k = 1; k < parts.size(); ++k) {
    sideU.follow(parts[k].side);
    capU.follow(parts[k].cap);
  }

  // The caps centred over the side band.
  if (capU.maximum >= capU.minimum) {
    const float capMiddle = capU.middle();
    const float sideMiddle = sideU.middle();
    runRanges(ranges, [&](std::size_t begin, std::size_t stop) {
      bool cap = false;
      for (std::size_t i = begin; i < stop; ++i) {
        const CornerRecord& record = arrays.records[i];
        if (record.vertex == 0) {
          cap = isCapFacet(facetNormal(arrays, i), axis);
          continue;
        }
        if (!cap || !participates(record, active) || arrays.vertexOf(record) == nullptr) continue;
        if (TexVertex* uv = arrays.texVertexOf(record)) uv->u = uv->u - capMiddle + sideMiddle;
      }
    });
  }

  const LayoutExtents layout{kLayoutPi * largerCrossExtent(box.extent, axis), bands.total};
  finishRadialLayout(store, selection, options, layout, options.mapSize, view);
  applyToNormalisedCorners(
      arrays, active, UnitSquareMap(normalisedRange(arrays, active), options.gaps ? 0.05f : 0.0f));
  return MappingOutcome::Mapped;
}

}  // namespace corvina
