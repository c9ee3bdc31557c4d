#pragma once
// Fix Seams: corners that lie at one position get one averaged normal, so a
// model cut into pieces along seams shows no seam in its lighting.

#include "model/model_store.h"
#include "tools/stream_walk.h"

namespace corvina {

enum class NormalToolOutcome { Done, NoModel, NoNormals, InsufficientMemory };

// The progress range of fixSeams: one step per 256 records.
int fixSeamsProgressSteps(const ModelStore& store);

// Sorts the corners by the position of their vertex (equal positions in
// stream order) and walks the runs of equal positions: at the first pair of
// neighbours in a run whose normals differ (bit for bit), the normalised mean
// of those two normals is written into the normal of every corner of the run,
// through each corner's normal index (a normal shared with corners elsewhere
// changes there too). Corners without a normal, or whose vertex or normal
// index names nothing, take no part. On InsufficientMemory nothing changed.
NormalToolOutcome fixSeams(ModelStore& store, const ProgressStep& step = {});

}  // namespace corvina
