#include "mapping/spherical_mapping.h"

#include "mapping/axis_components.h"
#include "mapping/radial_projection.h"

namespace corvina {

MappingOutcome sphericalMapping(ModelStore& store, SelectionState& selection,
                                const RadialMappingOptions& options, ClientSize view) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  const bool active = selection.selectionActive;
  const MappingArrays arrays = mappingArraysToListEnd(store);
  const BoundingBox box = participatingBounds(arrays, active);
  const Vector3 centre = offsetCentre(box, options);
  const int axis = options.alignment;
  const int rotation = options.rotation;
  mapCornersByVertex(arrays, active,
                     [&](Vector3 p) { return sphericalUv(p, centre, axis, rotation); });
  const UvRange range =
      repairSeamsAndPoles(arrays, active, box, centre, axis, options.spreadAtPoles);
  const LayoutExtents layout{kLayoutPi * largerCrossExtent(box.extent, axis),
                             kLayoutPi * axisComponent(box.extent, axis)};
  const int halfSize = static_cast<int>(static_cast<float>(options.mapSize) * 0.5f);
  finishRadialLayout(store, selection, options, layout, halfSize < 1 ? 1 : halfSize, view);
  applyToNormalisedCorners(arrays, active, UnitSquareMap(range, options.gaps ? 0.05f : 0.0f));
  return MappingOutcome::Mapped;
}

}  // namespace corvina
