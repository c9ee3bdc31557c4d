#pragma once

#include <cstdint>

struct msModel;

// Asks the user for a file and writes the model into it as a brush-based MAP:
// ordinary meshes become brushes of the world entity, meshes named light...,
// deathmatch... and glassB1... become a light, a player start and a breakable
// glass brush. Returns -1 for a null model or a file that cannot be written,
// 0 when the model is empty (after a warning), the dialog was cancelled, or the
// export finished; only a finished export releases the model (msModel_Destroy).
int32_t exportMapFile(msModel* model);
