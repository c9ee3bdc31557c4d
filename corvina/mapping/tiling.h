#pragma once
// Tiling rearranges the existing texture map so that each group, material or
// region gets its own square tile of an n x n grid (n = ceil(sqrt(K)) for K
// sets): set i takes the cell in column i mod n and row i div n, row 0 at the
// top, and its texture coordinates are squeezed into that cell as the whole
// unit square would be, optionally after stretching the set to fill the unit
// square first ("Rescale each Section").

#include "mapping/mapping_frame.h"
#include "mapping/mapping_options.h"

namespace corvina {

enum class SetKind { Group, Material, Region };

// The number of distinct sets of the kind.
int setCount(const ModelStore& store, SetKind kind);

// The cell of set `index` in an n x n grid, as a rectangle of texture space
// (left/right in u, top/bottom in v with top > bottom); shrunk by d * 0.025 on
// each side with gaps.
struct TileCell {
  float left = 0, right = 0, bottom = 0, top = 0;
};
TileCell tileCell(int index, int gridSize, bool gaps);

// Commits any pending selection, then tiles. Afterwards no corner is selected
// and no selection is active; ProjectionKind, the map size and the frame are
// the caller's and are left alone. A kind with no sets changes nothing but the
// commit. Corners whose set index names no set keep their coordinates.
MappingOutcome tileBySet(ModelStore& store, SelectionState& selection, SetKind kind,
                         const TileOptions& options);

}  // namespace corvina
