// The model-access library over the in-memory model. Every entry point
// tolerates null handles and out-of-range indices, because plug-ins are
// foreign code and a bad index must not crash the host.

#include "host_api/model_library.h"

#include <algorithm>
#include <cstring>

#include "host/in_memory_model.h"

namespace {

void copyNameCut(const std::string& source, char* name, int size) {
  if (name == nullptr || size <= 0) return;
  const size_t length = std::min(source.size(), static_cast<size_t>(size - 1));
  std::memcpy(name, source.data(), length);
  name[length] = '\0';
}

template <typename T>
T* elementAt(std::vector<T>& items, int index) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return nullptr;
  return &items[static_cast<size_t>(index)];
}

}  // namespace

int msMesh::addVertex(float x, float y, float z) {
  const size_t start = vertexRecords.size();
  vertexRecords.resize(start + kVertexRecordSize, 0);
  const float coordinates[3] = {x, y, z};
  std::memcpy(vertexRecords.data() + start + kVertexRecordXOffset, coordinates, sizeof coordinates);
  return vertexCount() - 1;
}

int msMesh::vertexCount() const {
  return static_cast<int>(vertexRecords.size() / kVertexRecordSize);
}

extern "C" {

int msModel_GetMeshCount(msModel* model) {
  return model == nullptr ? 0 : static_cast<int>(model->meshes.size());
}

msMesh* msModel_GetMeshAt(msModel* model, int meshIndex) {
  return model == nullptr ? nullptr : elementAt(model->meshes, meshIndex);
}

msMaterial* msModel_GetMaterialAt(msModel* model, int materialIndex) {
  return model == nullptr ? nullptr : elementAt(model->materials, materialIndex);
}

void msModel_Destroy(msModel* model) {
  if (model == nullptr) return;
  // Swap with empties so the memory is really returned, not just cleared.
  std::vector<msMesh>().swap(model->meshes);
  std::vector<msMaterial>().swap(model->materials);
  ++model->destroyCount;
}

void msMesh_GetName(msMesh* mesh, char* name, int size) {
  copyNameCut(mesh == nullptr ? std::string() : mesh->name, name, size);
}

int msMesh_GetMaterialIndex(msMesh* mesh) {
  return mesh == nullptr ? -1 : mesh->materialIndex;
}

int msMesh_GetTriangleCount(msMesh* mesh) {
  return mesh == nullptr ? 0 : static_cast<int>(mesh->triangles.size());
}

msTriangle* msMesh_GetTriangleAt(msMesh* mesh, int triangleIndex) {
  return mesh == nullptr ? nullptr : elementAt(mesh->triangles, triangleIndex);
}

msVertex* msMesh_GetVertexAt(msMesh* mesh, int vertexIndex) {
  if (mesh == nullptr || vertexIndex < 0 || vertexIndex >= mesh->vertexCount()) return nullptr;
  uint8_t* record =
      mesh->vertexRecords.data() + static_cast<size_t>(vertexIndex) * kVertexRecordSize;
  return reinterpret_cast<msVertex*>(record);
}

void msMaterial_GetName(msMaterial* material, char* name, int size) {
  copyNameCut(material == nullptr ? std::string() : material->name, name, size);
}

void msTriangle_GetVertexIndices(msTriangle* triangle, uint16_t indices[3]) {
  if (indices == nullptr) return;
  for (int corner = 0; corner < 3; ++corner) {
    indices[corner] =
        triangle == nullptr ? 0 : triangle->vertexIndices[static_cast<size_t>(corner)];
  }
}
}
