#pragma once

// The modeller's model-access library. Every function takes the handle it
// reads first; handles are opaque to plug-ins. Out-of-range indices and null
// handles yield null handles, zero counts and empty names, never a crash.

#include <cstdint>

struct msModel;
struct msMesh;
struct msMaterial;
struct msTriangle;
struct msVertex;

// Size of one vertex record: a flags byte, then x, y and z as packed 32-bit floats.
inline constexpr int kVertexRecordSize = 13;
inline constexpr int kVertexRecordXOffset = 1;

extern "C" {

// Number of meshes of the model, 0 or more.
int msModel_GetMeshCount(msModel* model);
// The mesh at a 0-based index, or null when out of range.
msMesh* msModel_GetMeshAt(msModel* model, int meshIndex);
// The material at a 0-based index, or null when out of range (a mesh without material has -1).
msMaterial* msModel_GetMaterialAt(msModel* model, int materialIndex);
// Releases everything the model holds; the handle itself stays valid and reads as empty.
void msModel_Destroy(msModel* model);

// Copies the mesh name into the buffer, cut to size - 1 characters and terminated.
void msMesh_GetName(msMesh* mesh, char* name, int size);
// Index of the mesh's material in the model, -1 when it has none.
int msMesh_GetMaterialIndex(msMesh* mesh);
// Number of triangles of the mesh, 0 or more.
int msMesh_GetTriangleCount(msMesh* mesh);
// The triangle at a 0-based index, or null when out of range.
msTriangle* msMesh_GetTriangleAt(msMesh* mesh, int triangleIndex);
// The vertex record at a 0-based index (kVertexRecordSize packed bytes), or null.
msVertex* msMesh_GetVertexAt(msMesh* mesh, int vertexIndex);

// Copies the material name into the buffer, cut to size - 1 characters and terminated.
void msMaterial_GetName(msMaterial* material, char* name, int size);

// The triangle's three corner indices into its mesh's vertex list, in corner order.
void msTriangle_GetVertexIndices(msTriangle* triangle, uint16_t indices[3]);
}
