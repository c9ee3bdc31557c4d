#include "primitives/primitive_generator.h"

#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <new>
#include <string>

#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/spherical_mapping.h"
#include "primitives/primitive_geometry.h"
#include "tools/normal_smoothing.h"

namespace corvina {

std::uint64_t availableMemoryBytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t kilobytes = 0;
  std::string unit;
  while (meminfo >> key >> kilobytes >> unit) {
    if (key == "MemAvailable:") return kilobytes * 1024;
  }
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) {
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
  }
  return UINT64_MAX;  // unknown: only failed allocations will stop a generator
}

std::uint64_t generationBytes(const PrimitiveCounts& counts) {
  // Model arrays: two vertex arrays, texture vertices, normals and records.
  // Smoothing adds per record its facet number, per corner a list entry and a
  // new normal, per facet a normal and first corner, per vertex two list
  // starts. Expanding and mapping the texture vertices add a second texture
  // array and the projection's own work, counted generously per record.
  const auto v = static_cast<std::uint64_t>(counts.vertices);
  const auto r = static_cast<std::uint64_t>(counts.cornerRecords);
  const auto f = static_cast<std::uint64_t>(counts.facets);
  const auto t = static_cast<std::uint64_t>(counts.texVertices);
  const auto n = static_cast<std::uint64_t>(counts.normals);
  const std::uint64_t model = v * 2 * sizeof(Vertex) + t * sizeof(TexVertex) + n * sizeof(Normal) +
                              r * sizeof(CornerRecord);
  const std::uint64_t smoothing = r * (4 + 4 + sizeof(Normal)) + f * (4 + sizeof(Normal)) + v * 8;
  const std::uint64_t texture = r * (2 * sizeof(TexVertex) + 32);
  return model + smoothing + texture;
}

int mapSide(float pixels) {
  if (!(pixels >= 1.0f)) return 1;
  if (pixels >= 8192.0f) return 8192;
  return static_cast<int>(pixels);
}

MapSides fittedMapSides(float width, float height) {
  // Zero, negative and NaN lengths give no pixels; an infinite one is the larger.
  const double w = width > 0.0f ? width : 0.0;
  const double h = height > 0.0f ? height : 0.0;
  const double larger = std::max(w, h);
  constexpr double kLargest = 8192.0;
  if (!(larger > kLargest)) return {mapSide(static_cast<float>(w)), mapSide(static_cast<float>(h))};
  // The larger side is exactly the limit; the other keeps the proportion.
  auto scaled = [&](double side) { return side == larger ? kLargest : side * (kLargest / larger); };
  return {mapSide(static_cast<float>(scaled(w))), mapSide(static_cast<float>(scaled(h)))};
}

namespace {

struct MapSize {
  float width = 0, height = 0;  // in pixels, before truncation
};

bool countsFit(const PrimitiveCounts& counts) {
  for (std::int64_t count :
       {counts.vertices, counts.normals, counts.texVertices, counts.cornerRecords, counts.facets}) {
    if (count < 0 || count > INT_MAX) return false;
  }
  return counts.vertices > 0 && counts.cornerRecords > 0;
}

// The fixed options of the radial projections the generators call.
RadialMappingOptions radialOptions(bool gaps) {
  RadialMappingOptions options;
  options.gaps = gaps;
  options.alignment = kAxisY;
  options.mapSize = 1024;
  options.offsetX = options.offsetY = options.offsetZ = 0.0f;
  options.scaleResult = false;
  options.rotation = 0;
  options.spreadAtPoles = true;
  return options;
}

// The steps every generator shares, around its shape (`fill`) and its
// texture coordinates (`texture`, false when memory ran out).
template <typename Fill, typename Texture>
GenerateOutcome generate(ModelStore& store, SelectionState& selection,
                         const PrimitiveCounts& counts, const char* groupName, MapSize map,
                         std::uint64_t memoryLimit, Fill fill, Texture texture) {
  commitSelection(store, selection);
  if (!countsFit(counts) || generationBytes(counts) > memoryLimit) {
    return GenerateOutcome::InsufficientMemory;
  }
  try {
    ModelStore fresh;
    fresh.lastDirectory = store.lastDirectory;
    fresh.lastModelPath = store.lastModelPath;
    fresh.colorMode = store.colorMode;
    fresh.pixelsPerUnit = store.pixelsPerUnit;
    fresh.numVerts = static_cast<int>(counts.vertices);
    fresh.numVNormals = static_cast<int>(counts.normals);
    fresh.numTVerts = static_cast<int>(counts.texVertices);
    fresh.numCornerRecords = static_cast<int>(counts.cornerRecords);
    fresh.numGroupStatements = 1;
    if (!allocateModel(fresh)) return GenerateOutcome::InsufficientMemory;
    fill(fresh);

    if (!smoothNormals(fresh, 89.0f, SmoothingScope::AllFacets, false)) {
      return GenerateOutcome::InsufficientMemory;
    }
    if (!texture(fresh, selection)) return GenerateOutcome::InsufficientMemory;
    fresh.baseVertices = fresh.vertices;

    std::strncpy(fresh.groups[0].name, groupName, kSetNameSize - 1);
    fresh.groups[0].firstFacet = 0;
    fresh.groups[0].setIndex = 0;
    fresh.groups[1].firstFacet = fresh.numCornerRecords;
    fresh.numGroups = 1;
    fresh.modelBaseName = "Untitled";
    const MapSides sides = fittedMapSides(map.width, map.height);
    fresh.mapWidth = sides.width;
    fresh.mapHeight = sides.height;

    assignSetIndices(fresh);
    fresh.numFacets = static_cast<int>(counts.facets);
    expandTextureVertices(fresh, false);
    if (fresh.texVerticesExpanded != 1) return GenerateOutcome::InsufficientMemory;
    fresh.modelLoaded = 2;
    store = std::move(fresh);
  } catch (const std::bad_alloc&) {
    return GenerateOutcome::InsufficientMemory;
  }
  return GenerateOutcome::Generated;
}

constexpr float kTwoPi = 6.283185f;

}  // namespace

GenerateOutcome generateBox(ModelStore& store, SelectionState& selection, const BoxOptions& options,
                            std::uint64_t memoryLimit) {
  const float w = options.width, h = options.height, d = options.depth;
  const auto r = static_cast<float>(options.resolution);
  const MapSize map{(w + d) * 2.0f * r, r * (h + 2.0f * d)};
  return generate(
      store, selection, boxCounts(), "Box", map, memoryLimit,
      [&](ModelStore& s) { fillBox(s, options); },
      [&](ModelStore& s, SelectionState& sel) {
        BoxMappingOptions mapping;
        mapping.split = true;
        mapping.gaps = options.gaps;
        mapping.mapSize = 1024;
        mapping.scaleResult = false;
        return boxMapping(s, sel, mapping, ClientSize{}) == MappingOutcome::Mapped;
      });
}

GenerateOutcome generateCone(ModelStore& store, SelectionState& selection,
                             const ConeOptions& options, std::uint64_t memoryLimit) {
  const float radius = options.bottomDiameter * 0.5f;
  const auto r = static_cast<float>(options.resolution);
  const MapSize map{radius * kTwoPi * r, r * (2.0f * radius + options.height)};
  return generate(
      store, selection, coneCounts(options), "Cone", map, memoryLimit,
      [&](ModelStore& s) { fillCone(s, options); },
      [&](ModelStore& s, SelectionState& sel) {
        return cylindricalCapMapping(s, sel, radialOptions(options.gaps), ClientSize{}) ==
               MappingOutcome::Mapped;
      });
}

GenerateOutcome generateCylinder(ModelStore& store, SelectionState& selection,
                                 const CylinderOptions& options, std::uint64_t memoryLimit) {
  const float radius = (options.topDiameter > options.bottomDiameter ? options.topDiameter
                                                                     : options.bottomDiameter) *
                       0.5f;
  const auto r = static_cast<float>(options.resolution);
  const MapSize map{radius * kTwoPi * r, r * (4.0f * radius + options.height)};
  return generate(
      store, selection, cylinderCounts(options), "Cylinder", map, memoryLimit,
      [&](ModelStore& s) { fillCylinder(s, options); },
      [&](ModelStore& s, SelectionState& sel) {
        return cylindricalCapMapping(s, sel, radialOptions(options.gaps), ClientSize{}) ==
               MappingOutcome::Mapped;
      });
}

GenerateOutcome generateSphere(ModelStore& store, SelectionState& selection,
                               const SphereOptions& options, std::uint64_t memoryLimit) {
  const float rho = options.radius, r = options.resolution;
  const MapSize map{rho * kTwoPi * r, r * rho * kTwoPi * 0.5f};
  return generate(
      store, selection, sphereCounts(options), "Sphere", map, memoryLimit,
      [&](ModelStore& s) { fillSphere(s, options); },
      [&](ModelStore& s, SelectionState& sel) {
        return sphericalMapping(s, sel, radialOptions(options.gaps), ClientSize{}) ==
               MappingOutcome::Mapped;
      });
}

GenerateOutcome generateTorus(ModelStore& store, SelectionState& selection,
                              const TorusOptions& options, std::uint64_t memoryLimit) {
  const float ri = options.innerRadius, r = options.resolution;
  const MapSize map{ri * kTwoPi * r, r * ri * kTwoPi * 0.5f};
  return generate(
      store, selection, torusCounts(options), "Torus", map, memoryLimit,
      [&](ModelStore& s) { fillTorus(s, options); },
      [](ModelStore&, SelectionState&) { return true; });
}

}  // namespace corvina
