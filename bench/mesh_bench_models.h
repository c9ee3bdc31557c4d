#pragma once
// Large models for the mesh tool benchmark, generated in memory.

#include "model/model_store.h"

namespace bench {

// A flat grid of side x side vertices, two triangles per cell, cut into
// strips of 16 cells whose border columns are separate vertices at the same
// positions (as a model exported in pieces is). One normal per vertex,
// numbered like the vertices and slightly tilted per strip, so that Weld and
// Fix Seams find work at every seam.
corvina::ModelStore gridOfPieces(int side);

}  // namespace bench
