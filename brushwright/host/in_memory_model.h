#pragma once

// The host's in-memory model behind the opaque handles of the model-access
// library. Host code builds models directly through these records; plug-ins
// only ever see the handles.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct msTriangle {
  std::array<uint16_t, 3> vertexIndices{};
};

struct msMaterial {
  std::string name;
};

struct msMesh {
  std::string name;
  int materialIndex = -1;
  // kVertexRecordSize packed bytes per vertex: flags, then x, y, z floats.
  std::vector<uint8_t> vertexRecords;
  std::vector<msTriangle> triangles;

  // Appends a vertex record with zero flags; returns its 0-based index.
  int addVertex(float x, float y, float z);
  // Number of vertex records held.
  int vertexCount() const;
};

struct msModel {
  std::vector<msMesh> meshes;
  std::vector<msMaterial> materials;
  // How often msModel_Destroy released this model (the host checks ownership with it).
  int destroyCount = 0;
};
