// Island packing: the coverage it reaches (the islands' texture area over the
// map's area) on the generated models and on a large model cut into islands
// by box and by per-facet mapping, and the CPU time it takes, also for
// 100,000 islands.
//
//   pack_bench [--triangles N] [--islands N] [--repeat R] [--padding P] [--size S]

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "layout/island_packing.h"
#include "layout/uv_islands.h"
#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/per_facet_mapping.h"
#include "mapping/spherical_mapping.h"
#include "primitives/primitive_generator.h"
#include "tools/selection_state.h"
#include "tools/triangulation.h"

namespace {

using namespace corvina;

struct Arguments {
  long long triangles = 2'000'000;
  int islands = 100'000;
  int repeat = 3;
  float padding = 4;
  int size = 2048;
};

bool parseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (word == "--triangles")
      args.triangles = std::atoll(value);
    else if (word == "--islands")
      args.islands = std::atoi(value);
    else if (word == "--repeat")
      args.repeat = std::atoi(value);
    else if (word == "--padding")
      args.padding = static_cast<float>(std::atof(value));
    else if (word == "--size")
      args.size = std::atoi(value);
    else
      return false;
  }
  return args.triangles >= 8 && args.islands >= 1 && args.repeat > 0 && args.padding >= 0 &&
         args.size >= 1 && args.size <= kLargestPackSide;
}

double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Packs a copy of `model` `repeat` times; prints the islands, the coverage
// and the fastest CPU time.
void measure(const char* name, const ModelStore& model, const Arguments& args, int width,
             int height) {
  PackOptions options;
  options.width = width;
  options.height = height;
  options.padding = args.padding;
  PackResult result;
  double best = 1e300;
  for (int r = 0; r < args.repeat; ++r) {
    ModelStore store = model;
    const double start = cpuSeconds();
    result = packIslands(store, options, PackArea{});
    best = std::min(best, cpuSeconds() - start);
  }
  if (result.outcome != PackOutcome::Packed) {
    std::printf("%-34s did not pack (outcome %d)\n", name, static_cast<int>(result.outcome));
    return;
  }
  std::printf("%-34s %9d %5dx%-5d %8.1f %% %10.3f s\n", name, result.islands, width, height,
              result.coverage * 100.0, best);
}

ModelStore generated(const std::function<void(ModelStore&, SelectionState&)>& make) {
  ModelStore store;
  SelectionState selection;
  make(store, selection);
  return store;
}

// A sphere of about `triangles` triangles.
ModelStore largeSphere(long long triangles) {
  SphereOptions options;
  const int divisions =
      std::max(2, static_cast<int>(std::sqrt(static_cast<double>(triangles) / 2)));
  options.verticalDivisions = std::min(divisions, kMaxRoundDivisions);
  options.radialDivisions = std::min(divisions, kMaxRoundDivisions);
  ModelStore store;
  SelectionState selection;
  generateSphere(store, selection, options);
  triangulate(store);
  return store;
}

// `count` separate islands of one to six quads each, random sizes and
// shapes, scattered over the map.
ModelStore scatteredIslands(int count) {
  std::mt19937 random(1);
  std::uniform_real_distribution<float> unit(0, 1);
  ModelStore store;
  store.facetStream.push_back({});
  for (int i = 0; i < count; ++i) {
    const int cols = 1 + static_cast<int>(unit(random) * 3),
              rows = 1 + static_cast<int>(unit(random) * 2);
    const float cell = 0.001f + unit(random) * 0.01f;
    const float u0 = unit(random) * 0.9f, v0 = unit(random) * 0.9f;
    const int first = static_cast<int>(store.vertices.size());
    for (int r = 0; r <= rows; ++r)
      for (int c = 0; c <= cols; ++c) {
        store.vertices.push_back(
            {static_cast<float>(c), static_cast<float>(r), static_cast<float>(i)});
        store.texVertices.push_back(
            {u0 + static_cast<float>(c) * cell, v0 + static_cast<float>(r) * cell, 0});
      }
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        if (store.facetStream.size() > 1) store.facetStream.push_back({});
        for (const auto& [dc, dr] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
          const int k = first + (r + dr) * (cols + 1) + (c + dc) + 1;
          store.facetStream.push_back({k, k, 0});
        }
        ++store.numFacets;
      }
  }
  store.facetStream.push_back({kEndOfList});
  store.numVerts = static_cast<int>(store.vertices.size());
  store.baseVertices = store.vertices;
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.modelLoaded = kModelGenerated;
  return store;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!parseArguments(argc, argv, args)) {
    std::fprintf(stderr,
                 "usage: pack_bench [--triangles N>=8] [--islands N] [--repeat R] [--padding P] "
                 "[--size S]\n");
    return 2;
  }
  std::printf(
      "padding %.1f pixels; coverage = islands' texture area / map area; best CPU time "
      "of %d\n\n",
      args.padding, args.repeat);
  std::printf("%-34s %9s %11s %10s %12s\n", "model", "islands", "map", "coverage", "pack time");
  const int s = args.size;
  measure("box: box map", generated([](ModelStore& m, SelectionState& sel) {
            generateBox(m, sel, BoxOptions{});
            boxMapping(m, sel, BoxMappingOptions{}, {});
          }),
          args, s, s);
  measure("box: own map",
          generated([](ModelStore& m, SelectionState& sel) { generateBox(m, sel, BoxOptions{}); }),
          args, s, s);
  measure("cone: own map", generated([](ModelStore& m, SelectionState& sel) {
            generateCone(m, sel, ConeOptions{});
          }),
          args, s, s);
  measure("cylinder: own map", generated([](ModelStore& m, SelectionState& sel) {
            generateCylinder(m, sel, CylinderOptions{});
          }),
          args, s, s);
  measure("cylinder: cylindrical map", generated([](ModelStore& m, SelectionState& sel) {
            generateCylinder(m, sel, CylinderOptions{});
            cylindricalMapping(m, sel, RadialMappingOptions{}, {});
          }),
          args, s, s);
  measure("sphere: spherical map", generated([](ModelStore& m, SelectionState& sel) {
            generateSphere(m, sel, SphereOptions{});
            sphericalMapping(m, sel, RadialMappingOptions{}, {});
          }),
          args, s, s);
  measure("torus: own map", generated([](ModelStore& m, SelectionState& sel) {
            generateTorus(m, sel, TorusOptions{});
          }),
          args, s, s);

  ModelStore sphere = largeSphere(args.triangles);
  std::printf("\nlarge model: %d triangles\n", sphere.numFacets);
  {
    ModelStore boxed = sphere;
    SelectionState selection;
    boxMapping(boxed, selection, BoxMappingOptions{}, {});
    measure("large sphere: box map", boxed, args, s, s);
  }
  {
    ModelStore perFacet = sphere;
    perFacetMapping(perFacet, PerFacetMappingOptions{});
    Arguments once = args;
    once.repeat = 1;
    once.padding = 0;  // two million islands with padding do not fit any map
    measure("large sphere: per facet, pad 0", perFacet, once, kLargestPackSide, kLargestPackSide);
  }
  std::printf("\n");
  measure("scattered islands", scatteredIslands(args.islands), args, kLargestPackSide,
          kLargestPackSide);
  return 0;
}
