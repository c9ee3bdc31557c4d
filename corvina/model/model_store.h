#pragma once
// The one model corvina holds: flat arrays of plain records with 1-based
// cross-indices, a few counters and flags, and the texture-map settings that
// travel with the model in its files. Readers, writers, mappers and editors
// change the arrays directly; the functions here are the only logic the store
// owns.

#include <cstdint>
#include <string>
#include <vector>

namespace corvina {

struct Vertex {
  float x = 0, y = 0, z = 0;
  std::uint8_t mark = 0;  // 1 on the vertices of selected corners
};

// `w` has no meaning: nothing gives it a value; it is only copied along.
struct TexVertex {
  float u = 0, v = 0, w = 0;
};

struct Normal {
  float x = 0, y = 0, z = 0;
};

// One entry of the facet stream. A separator (vertex 0) opens every facet, an
// end-of-list record (vertex -1) ends the stream.
struct CornerRecord {
  std::int32_t vertex = 0;     // 1-based into vertices; 0 separator; -1 end of list
  std::int32_t texVertex = 0;  // 1-based into texVertices; 0 none
  std::int32_t normal = 0;     // 1-based into normals; 0 none
  std::uint16_t group = 0;     // bits 0-13 set index, bit 15 selected
  std::uint16_t material = 0;  // bits 0-13
  std::uint16_t region = 0;    // bits 0-13
  std::uint16_t flags = 0;     // bit 1 hidden
};

constexpr std::uint16_t kSetIndexMask = 0x3FFF;
constexpr std::uint16_t kSelectedBit = 0x8000;
constexpr std::uint16_t kHiddenBit = 0x0002;
constexpr std::int32_t kSeparator = 0;
constexpr std::int32_t kEndOfList = -1;

// The texture vertex that stands for "no texture coordinate".
constexpr float kNoUvU = 100000.0f;
constexpr float kNoUvV = -100000.0f;

// The states of `modelLoaded`: no model, a model read from a file, a
// generated one.
constexpr int kModelNone = 0;
constexpr int kModelRead = 1;
constexpr int kModelGenerated = 2;

// How the texture map colours its facets (`colorMode`).
constexpr int kColorModeBlackWhite = 0;
constexpr int kColorModeGroup = 1;
constexpr int kColorModeMaterial = 2;
constexpr int kColorModeRegion = 3;

constexpr int kSetNameSize = 96;   // NUL included: 95 significant characters
constexpr int kTextLineSize = 96;  // NUL included
constexpr int kPathSize = 260;

// One array holds two tables: entries below the distinct-name count carry the
// names in order of first appearance; entries below the statement count carry
// each statement's facet position and the name index it named; the entry after
// the last statement is a sentinel whose firstFacet is numCornerRecords.
struct SetRecord {
  char name[kSetNameSize] = {};
  std::int32_t firstFacet = 0;
  std::int32_t setIndex = 0;
};

// A kept "s " or "l " statement and the number of facets read before it.
struct TextLine {
  char text[kTextLineSize] = {};
  std::int32_t facetOrdinal = 0;
};

struct ModelStore {
  std::vector<Vertex> vertices;
  std::vector<Vertex> baseVertices;  // positions before model rotation
  std::vector<TexVertex> texVertices;
  std::vector<Normal> normals;
  std::vector<CornerRecord> facetStream;
  std::vector<SetRecord> groups, materials, regions;
  std::vector<TextLine> shapeLines;

  int numVerts = 0, numTVerts = 0, numVNormals = 0;
  int numFacets = 0, numCornerRecords = 0;
  int numGroups = 0, numMaterials = 0, numRegions = 0;
  int numGroupStatements = 0, numMaterialStatements = 0, numRegionStatements = 0;
  int numShapeLines = 0;

  int modelLoaded = 0;  // kModelNone, kModelRead or kModelGenerated
  int texVerticesExpanded = 0;

  std::string modelBaseName;  // current model path without its extension
  std::string lastDirectory;  // folder of the last file read or written
  std::string lastModelPath;  // last path chosen in the load dialog

  // The "x/y/color/ppu" settings; they survive loading.
  int mapWidth = 512;
  int mapHeight = 512;
  int colorMode = 0;  // kColorModeBlackWhite .. kColorModeRegion
  float pixelsPerUnit = 50.0f;
};

// Sets every element and statement count to 0 (the reader's first step).
void resetModelCounts(ModelStore& store);

// Releases every array, then sizes each from its count (set tables get one
// entry more than their statement count). Returns false, with every array
// released, when the memory cannot be had.
bool allocateModel(ModelStore& store);

// Frees every array; the store is left empty (counts and flags included).
void releaseModel(ModelStore& store);

// Rewrites group, material, region and flags of every corner from the three
// statement tables; clears every selected and hidden bit.
void assignSetIndices(ModelStore& store);

// Gives every record of the facet stream its own texture vertex (record j gets
// texVertex j + 1). Does nothing when already expanded, unless force is set.
void expandTextureVertices(ModelStore& store, bool force);

// One texture vertex per distinct (u, v) bit pattern, in stream order of each
// group's first corner. A model whose only value is the no-UV marker ends with
// no texture vertices at all.
void compressTextureVertices(ModelStore& store);

// One texture vertex per corner, in stream order.
void separateTextureVertices(ModelStore& store);

// Rescales the texture coordinates of the participating corners (selected
// ones while selectionActive, else all) to fill the unit square, or
// [0.025, 0.975] with shrink 0.05. An axis whose range is zero is put at 0.5.
void normalizeToUnitSquare(ModelStore& store, float shrink, bool selectionActive);

// The path without the extension of its last component ("a.b/c" stays whole).
std::string pathWithoutExtension(const std::string& path);

// The folder part of a path, up to (not including) its last separator.
std::string directoryOf(const std::string& path);

}  // namespace corvina
