#pragma once
// The buffers the 3D preview draws, built from the store: one preview vertex
// per corner record of the facet stream (in stream order, separators left
// out) and each facet fanned into triangles from its first corner. Geometry
// (positions, normals, triangles) and surface (texture coordinates and
// per-corner flags) are built apart, so a change of texture coordinates or
// of the selection costs only the surface.

#include <cstdint>
#include <vector>

#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina::preview {

// Per-corner flags; bits 8-15 hold the set's palette index.
constexpr std::uint32_t kCornerSelected = 1;
constexpr std::uint32_t kCornerHidden = 2;
constexpr std::uint32_t kCornerNoUv = 4;
constexpr int kCornerSetShift = 8;

struct PreviewGeometry {
  std::vector<float> positions;          // x, y, z per corner
  std::vector<float> normals;            // x, y, z per corner, unit length or zero
  std::vector<std::uint32_t> triangles;  // three corner numbers each
};

struct PreviewSurface {
  std::vector<float> texCoords;      // u, v per corner, a pending move applied
  std::vector<std::uint32_t> flags;  // kCorner... bits and the set index
};

// How normals are found: each facet's own plane (Flat), or the model's
// normal of each corner where it has one and the plane elsewhere (Model).
enum class NormalSource { Flat, Model };

// The number of corners (preview vertices) the stream holds.
std::size_t previewCornerCount(const ModelStore& store);

// Positions and normals of every corner and the fan triangles of every facet
// of at least three corners. A corner whose vertex number is out of range
// sits at the origin and no triangle uses it. Reuses `geometry`'s memory.
void buildPreviewGeometry(const ModelStore& store, NormalSource normals, PreviewGeometry& geometry);

// Texture coordinates and flags of every corner. A selected corner is moved
// through the selection's pending frame move as the texture-map view draws
// it; a corner without coordinates (or with an index out of range) gets
// kCornerNoUv; a facet is hidden when its first corner is. The set index is
// of the colour mode's sets, groups in black and white.
void buildPreviewSurface(const ModelStore& store, const SelectionState& selection,
                         PreviewSurface& surface);

}  // namespace corvina::preview
