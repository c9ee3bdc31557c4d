#pragma once
// What cylindrical, cylindrical-cap and spherical mapping share: the angle
// around the axis, the seam repair of facets that straddle u = 0 / 1, and the
// spreading of corners that lie on the axis (the poles).
//
// The angles come from atan2 in double; the constants are the ones these maps
// have always used (pi = 3.141592502593994 and its derived 1/(2 pi), 1/pi,
// pi/2), applied to the double angle and rounded once to float, so maps made
// on different machines agree to the last bit.

#include <cstddef>
#include <functional>

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"
#include "mapping/unit_square.h"

namespace corvina {

constexpr double kMapPi = 3.141592502593994;
constexpr double kMapInverseTwoPi = 0.15915495074143224;
constexpr double kMapInversePi = 0.3183099014828645;
constexpr double kMapHalfPi = 1.570796251296997;
constexpr float kDegreeFraction = 0.0027777778f;  // 1/360
constexpr float kLayoutPi = 3.1415925f;           // circumference per diameter in layouts

// u of an angle (radians from atan2): (angle + pi) / (2 pi), sanitised, plus
// rotation / 360, wrapped once into [0, 1]. Not yet sanitised a second time.
float angularU(double angle, int rotation);

// (u, v) of one vertex in cylindrical mapping: u by angle around the axis, v
// = h * 0.5 + 0.5 with h the height from the centre over the axis extent.
TexVertex cylindricalUv(Vector3 p, Vector3 centre, Vector3 extent, int axis, int rotation);

// (u, v) of one vertex in spherical mapping: u by longitude, v by latitude
// from the lower pole (0) to the upper (1). A vertex at the centre maps to
// v = 0.5 and u = 0.5 + rotation / 360 (wrapped).
TexVertex sphericalUv(Vector3 p, Vector3 centre, int axis, int rotation);

// The per-vertex formula `uvOf` applied to every participating corner. Each
// vertex is evaluated once (its result shared by all its corners) when the
// memory for that can be had, else once per corner; the results are equal.
void mapCornersByVertex(const MappingArrays& arrays, bool selectionActive,
                        const std::function<TexVertex(Vector3)>& uvOf);
inline void mapCornersByVertex(ModelStore& store, bool selectionActive,
                               const std::function<TexVertex(Vector3)>& uvOf) {
  mapCornersByVertex(mappingArrays(store), selectionActive, uvOf);
}

// Seam repair and, when `spreadAtPoles`, pole spreading, facet by facet over
// the participating corners (threshold 0.6; a corner is on the axis when it is
// within 0.001 of each cross extent of `centre`). Returns the range of the
// repaired coordinates over the corners a normalisation would rescale.
UvRange repairSeamsAndPoles(const MappingArrays& arrays, bool selectionActive,
                            const BoundingBox& box, Vector3 centre, int axis, bool spreadAtPoles);
inline UvRange repairSeamsAndPoles(ModelStore& store, bool selectionActive, const BoundingBox& box,
                                   Vector3 centre, int axis, bool spreadAtPoles) {
  return repairSeamsAndPoles(mappingArrays(store), selectionActive, box, centre, axis,
                             spreadAtPoles);
}

// The larger of the two extents across the axis.
float largerCrossExtent(Vector3 extent, int axis);

// Bounding-box centre moved by the record's offsets.
Vector3 offsetCentre(const BoundingBox& box, const RadialMappingOptions& options);

// Without a selection: mapWidth = S and mapHeight = S (or trunc(S * 0.5) for
// spherical). With one: the selection ending over the layout.
void finishRadialLayout(ModelStore& store, SelectionState& selection,
                        const RadialMappingOptions& options, LayoutExtents layout, int mapHeight,
                        ClientSize view);

}  // namespace corvina
