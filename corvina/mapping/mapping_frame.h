#pragma once
// What the projections share: which corners take part, the bounding box of
// their vertices, the preparation of one texture vertex per corner record,
// the texture-map size a projection sets, and the fit of a result into an
// active selection ("Scale Result").

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "mapping/vector_math.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

// The texture-map view's client size in pixels; the selection frame's pixel
// rectangle is measured in it.
struct ClientSize {
  int width = 512;
  int height = 512;
};

enum class MappingOutcome {
  Mapped,
  // The texture vertices could not be expanded to one per corner record;
  // nothing was mapped and the model is as it was.
  InsufficientMemory,
};

// The arrays a projection walks, with the lengths it may use worked out once:
// never more than an array holds, whatever the counts say. Loops over the
// records still stop at the end-of-list record.
struct MappingArrays {
  const CornerRecord* records = nullptr;
  std::size_t length = 0;
  const Vertex* vertices = nullptr;
  std::size_t vertexCount = 0;
  TexVertex* texVertices = nullptr;  // nullptr in a view of a const store
  std::size_t texVertexCount = 0;
  bool toListEnd = false;  // `length` already stops at the end-of-list record

  // The vertex a corner names, or nullptr for separators, the end-of-list
  // record and indices outside the vertex array.
  const Vertex* vertexOf(const CornerRecord& record) const {
    // 0 and negative indices wrap beyond every count.
    const std::size_t index = static_cast<std::uint32_t>(record.vertex) - std::size_t{1};
    return index < vertexCount ? vertices + index : nullptr;
  }

  // The texture vertex a record owns, or nullptr when its index is outside
  // the array.
  TexVertex* texVertexOf(const CornerRecord& record) const {
    const std::size_t index = static_cast<std::uint32_t>(record.texVertex) - std::size_t{1};
    return index < texVertexCount ? texVertices + index : nullptr;
  }
};

MappingArrays mappingArrays(ModelStore& store);
MappingArrays mappingArrays(const ModelStore& store);

// mappingArrays with `length` cut at the end-of-list record, found once (on
// every core) for all the passes of a projection.
MappingArrays mappingArraysToListEnd(ModelStore& store);

// The records a pass walks: those before the end-of-list record.
std::size_t listEndOf(const MappingArrays& arrays);

// A corner (vertex index > 0) that is selected, or any corner while no
// selection is active.
inline bool participates(const CornerRecord& record, bool selectionActive) {
  return record.vertex > 0 && (!selectionActive || (record.group & kSelectedBit) != 0);
}

struct BoundingBox {
  Vector3 minimum{100000.0f, 100000.0f, 100000.0f};
  Vector3 maximum{-100000.0f, -100000.0f, -100000.0f};
  Vector3 extent;  // maximum - minimum
  Vector3 centre;  // minimum + extent * 0.5
};

// Over the vertices of the participating corners; a coordinate replaces the
// minimum when it is <= it and the maximum when it is >= it.
BoundingBox participatingBounds(const MappingArrays& arrays, bool selectionActive);
inline BoundingBox participatingBounds(const ModelStore& store, bool selectionActive) {
  return participatingBounds(mappingArrays(store), selectionActive);
}

// Brings the texture vertices into the expanded form (one per record, record
// j owning texture vertex j + 1). False when that could not be done for lack
// of memory; the store is then unchanged and nothing may be mapped.
bool prepareTextureVertices(ModelStore& store);

// value when it is a number, else `fallback`.
inline float finiteOr(float value, float fallback) {
  return std::isfinite(value) ? value : fallback;
}

// (coordinate - minimum) / extent, 0.5 when the extent is 0; a result that is
// not a finite number (from non-finite geometry) is also 0.5.
inline float unitCoordinate(float coordinate, float minimum, float extent) {
  if (extent == 0.0f) return 0.5f;
  return finiteOr((coordinate - minimum) / extent, 0.5f);
}

// The model extents a layout covers horizontally and vertically; "Scale
// Result" and the planar and box map sizes derive from them.
struct LayoutExtents {
  float horizontal = 0;
  float vertical = 0;
};

// mapWidth = trunc(H * S / max(H, V)), mapHeight = trunc(V * S / max(H, V)).
// A side that would come out below one pixel (a flat layout, or a layout with
// no extent at all) gets one pixel, and a layout without any size gets S x S.
void setMapSizeFromLayout(ModelStore& store, LayoutExtents layout, int mapSize);

// The end of a projection run inside an active selection: the source frame
// becomes the unit square; with "Scale Result" the target keeps its centre
// and takes the size at which one model unit covers pixelsPerUnit texture-map
// pixels (the layout extents first widened by 1.0526316 when gaps are on);
// the frame's pixel rectangle follows the target in the view.
void endProjectionInSelection(SelectionState& selection, const ModelStore& store,
                              LayoutExtents layout, bool gaps, bool scaleResult, ClientSize view);

// Client size times a view coordinate, truncated toward zero, held inside the
// int range (0 for NaN).
int viewPixels(int clientSize, float coordinate);

}  // namespace corvina
