#pragma once
// Model rotation turns the model by whole degrees about X, then Y, then Z. It
// is absolute: every vertex is recomputed from its base position, so 0, 0, 0
// restores the model as loaded or generated. Normals, texture coordinates and
// facets stay as they are.

#include "mapping/degree_tables.h"
#include "mapping/mapping_options.h"
#include "model/model_store.h"

namespace corvina {

// The degree-table index of an angle: negative angles get 360 added, so -90
// and 270 read the same entry and -360, 0 and 360 all read cosine ~1, sine
// ~0. Angles beyond -360..360 (which the dialog refuses) are first reduced by
// whole turns, so the index always lies in 0..360.
int degreeTableIndex(int degrees);

// vertices := baseVertices times Rx * Ry * Rz (row vectors), leaving out the
// rotations whose angle is 0; with all three 0 the base positions are copied.
void rotateModel(ModelStore& store, const RotateModelOptions& angles, const DegreeTables& tables);

}  // namespace corvina
