// The MAP writer. It keeps no model data of its own beyond the name buffers of
// one mesh: everything is asked of the host library as the file is written,
// and counts are asked again at every step of a loop, as the host may expect.

#include "plugin/map_exporter.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "host_api/model_library.h"
#include "host_api/platform_dialogs.h"
#include "plugin/map_number_format.h"
#include "plugin/map_text_file.h"

namespace {

constexpr int kMeshNameSize = 64;
constexpr int kMaterialNameSize = 32;
constexpr int kFileNameSize = 256;

// Meshes whose names start with these become entities instead of world brushes.
constexpr std::string_view kLightPrefix = "light";
constexpr std::string_view kPlayerStartPrefix = "deathmatch";
constexpr std::string_view kBreakableGlassPrefix = "glassB1";

struct MeshNames {
  char mesh[kMeshNameSize] = {};
  char material[kMaterialNameSize] = {};
};

// Compares over the prefix's length only, so "lightning" and "light_02" are lights.
bool hasPrefix(const char* name, std::string_view prefix) {
  return std::strncmp(name, prefix.data(), prefix.size()) == 0;
}

bool isEntityMesh(const char* name) {
  return hasPrefix(name, kLightPrefix) || hasPrefix(name, kPlayerStartPrefix) ||
         hasPrefix(name, kBreakableGlassPrefix);
}

void readMeshName(msMesh* mesh, MeshNames& names) {
  std::memset(names.mesh, 0, sizeof names.mesh);
  msMesh_GetName(mesh, names.mesh, kMeshNameSize);
  names.mesh[kMeshNameSize - 1] = '\0';  // whatever the host did, the name ends here
}

// A mesh without a material (no material at its index) gets an empty name.
void readMaterialName(msModel* model, msMesh* mesh, MeshNames& names) {
  std::memset(names.material, 0, sizeof names.material);
  msMaterial* material = msModel_GetMaterialAt(model, msMesh_GetMaterialIndex(mesh));
  if (material != nullptr) msMaterial_GetName(material, names.material, kMaterialNameSize);
  names.material[kMaterialNameSize - 1] = '\0';
}

std::string keyValueLine(std::string_view key, std::string_view value) {
  std::string line;
  line.append("\"").append(key).append("\" \"").append(value).append("\"\n");
  return line;
}

// The vertex's coordinates mapped into the map's axes (x, -z, y): the model's
// y points up, the map's third axis does. A vertex the host cannot give reads
// as the origin rather than being read past the mesh's data.
std::string mappedPoint(msMesh* mesh, uint16_t vertexIndex) {
  float coordinates[3] = {0.0f, 0.0f, 0.0f};
  if (const msVertex* vertex = msMesh_GetVertexAt(mesh, vertexIndex)) {
    std::memcpy(coordinates, reinterpret_cast<const uint8_t*>(vertex) + kVertexRecordXOffset,
                sizeof coordinates);
  }
  return formatMapCoordinate(coordinates[0]) + " " + formatMapCoordinate(-coordinates[2]) + " " +
         formatMapCoordinate(coordinates[1]);
}

std::array<uint16_t, 3> cornersOf(msMesh* mesh, int triangleIndex) {
  uint16_t corners[3] = {0, 0, 0};
  msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, triangleIndex), corners);
  return {corners[0], corners[1], corners[2]};
}

// One plane per pair of triangles (a quad split in two gives one plane), taken
// from the first of the pair; the corners are written last to first.
void writeBrushPlanes(MapTextFile& file, msMesh* mesh, const char* materialName) {
  for (int64_t triangle = 0; triangle < msMesh_GetTriangleCount(mesh); triangle += 2) {
    const auto corners = cornersOf(mesh, static_cast<int>(triangle));
    std::string line;
    for (int corner = 2; corner >= 0; --corner) {
      line.append("( ")
          .append(mappedPoint(mesh, corners[static_cast<size_t>(corner)]))
          .append(" ) ");
    }
    line.append(" ").append(materialName).append(" 0 0 0 1 1 0 0 0\n");
    file.write(line);
  }
}

void writeBrush(MapTextFile& file, msMesh* mesh, const MeshNames& names) {
  file.write(std::string("// Brush Name: ") + names.mesh + "\n");
  file.write(std::string("// Material Name: ") + names.material + "\n");
  file.write("{\n");
  writeBrushPlanes(file, mesh, names.material);
  file.write("}\n");
}

// A point entity stands at the third corner of the mesh's first triangle; a
// mesh without triangles has no position, so its entity is left out.
void writePointEntity(MapTextFile& file, msMesh* mesh, std::string_view className,
                      std::string_view extraLines) {
  if (msMesh_GetTriangleCount(mesh) <= 0) return;
  file.write("{\n");
  file.write(keyValueLine("classname", className));
  file.write(extraLines);
  file.write(keyValueLine("origin", mappedPoint(mesh, cornersOf(mesh, 0)[2])));
  file.write("}\n");
}

void writeBreakableGlass(MapTextFile& file, msModel* model, msMesh* mesh, MeshNames& names) {
  readMaterialName(model, mesh, names);
  file.write("{\n");
  file.write(keyValueLine("classname", "func_breakable"));
  file.write(keyValueLine("rendercolor", "0 0 0"));
  file.write(keyValueLine("renderamt", "160"));
  file.write(keyValueLine("health", "1"));
  file.write(keyValueLine("rendermode", "2"));
  writeBrush(file, mesh, names);
  file.write("}\n");
}

// The world entity with every ordinary mesh as a brush; true when a mesh was
// left for the entity pass.
bool writeWorld(MapTextFile& file, msModel* model) {
  bool entityMeshesSeen = false;
  file.write("{\n");
  file.write(keyValueLine("classname", "worldspawn"));
  MeshNames names;
  for (int meshIndex = 0; meshIndex < msModel_GetMeshCount(model); ++meshIndex) {
    msMesh* mesh = msModel_GetMeshAt(model, meshIndex);
    readMeshName(mesh, names);
    readMaterialName(model, mesh, names);
    if (isEntityMesh(names.mesh)) {
      entityMeshesSeen = true;
      continue;
    }
    writeBrush(file, mesh, names);
  }
  file.write("}\n");
  return entityMeshesSeen;
}

// Entities in mesh order; the three tests are independent of each other.
void writeEntities(MapTextFile& file, msModel* model) {
  MeshNames names;
  for (int meshIndex = 0; meshIndex < msModel_GetMeshCount(model); ++meshIndex) {
    msMesh* mesh = msModel_GetMeshAt(model, meshIndex);
    readMeshName(mesh, names);
    if (hasPrefix(names.mesh, kLightPrefix)) {
      writePointEntity(file, mesh, "light", keyValueLine("_light", "255 255 128 200"));
    }
    if (hasPrefix(names.mesh, kPlayerStartPrefix)) {
      writePointEntity(file, mesh, "info_player_deathmatch", "");
    }
    if (hasPrefix(names.mesh, kBreakableGlassPrefix)) writeBreakableGlass(file, model, mesh, names);
  }
}

// The save dialog; the chosen path, or empty when the user cancelled.
std::string askForFileName() {
  char fileName[kFileNameSize] = {};
  char fileTitle[kFileNameSize] = {};
  char defaultExtension[32] = "map";
  // Display text and pattern pairs; the literal's own terminator ends the list.
  char filter[128] = "MAP Files (*.map)\0*.map\0All Files (*.*)\0*.*\0";

  OPENFILENAMEA dialog;
  dialog.hwndOwner = nullptr;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = kFileNameSize;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = kFileNameSize;
  dialog.lpstrTitle = "Export MAP";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  dialog.lpstrDefExt = defaultExtension;
  if (GetSaveFileNameA(&dialog) == 0) return {};
  fileName[kFileNameSize - 1] = '\0';
  return fileName;
}

}  // namespace

int32_t exportMapFile(msModel* model) {
  if (model == nullptr) return -1;
  if (msModel_GetMeshCount(model) == 0) {
    MessageBoxA(nullptr, "The model is empty!  Nothing exported!", "MAP Export",
                MB_OK | MB_ICONWARNING);
    return 0;
  }
  const std::string fileName = askForFileName();
  if (fileName.empty()) return 0;

  MapTextFile file;
  if (!file.open(fileName)) return -1;
  file.write("// Generic Map Export created by MilkShape 3D\n");
  if (writeWorld(file, model)) writeEntities(file, model);
  // A file that could not be written completely is reported as a failure and
  // the previous file is kept; the model then stays with the host.
  if (!file.commit()) return -1;
  msModel_Destroy(model);
  return 0;
}
