// Speed of every projection over one large generated model, in corners per
// second, set beside a plain pass that only reads each corner's vertex and
// writes its texture vertex (the memory floor). The model is a closed
// latitude-longitude sphere of triangles, so every projection meets seams,
// poles and all six box sides.
//
//   mapping_bench [--triangles N] [--repeat R] [--threads T]
//
// --threads sets the threads of the projections (0, the default: one per
// core). Times are wall-clock seconds, the fastest of the repeats.

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "mapping/box_mapping.h"
#include "mapping/cylindrical_mapping.h"
#include "mapping/per_facet_mapping.h"
#include "mapping/planar_mapping.h"
#include "mapping/spherical_mapping.h"
#include "model/parallel_parts.h"

namespace {

using corvina::CornerRecord;
using corvina::ModelStore;

struct Arguments {
  long long triangles = 2'000'000;
  int repeat = 3;
  int threads = 0;
};

bool parseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const bool hasValue = i + 1 < argc;
    if (word == "--triangles" && hasValue) {
      args.triangles = std::atoll(argv[++i]);
    } else if (word == "--repeat" && hasValue) {
      args.repeat = std::atoi(argv[++i]);
    } else if (word == "--threads" && hasValue) {
      args.threads = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return args.triangles >= 8 && args.repeat > 0 && args.threads >= 0;
}

// A sphere of `rings` x `segments` quads, each split into two triangles, in
// the expanded texture-vertex form.
ModelStore sphereModel(long long triangles) {
  const int segments = static_cast<int>(std::sqrt(static_cast<double>(triangles)));
  const int rings = static_cast<int>(triangles / (2LL * segments));
  ModelStore store;
  for (int r = 0; r <= rings; ++r) {
    const double latitude = M_PI * r / rings - M_PI / 2;
    for (int s = 0; s < segments; ++s) {
      const double longitude = 2 * M_PI * s / segments;
      store.vertices.push_back({static_cast<float>(std::cos(latitude) * std::cos(longitude)),
                                static_cast<float>(std::sin(latitude)),
                                static_cast<float>(std::cos(latitude) * std::sin(longitude))});
    }
  }
  auto index = [&](int r, int s) { return r * segments + (s % segments) + 1; };
  for (int r = 0; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      const int a = index(r, s), b = index(r, s + 1), c = index(r + 1, s + 1), d = index(r + 1, s);
      store.facetStream.push_back(CornerRecord{});
      for (int v : {a, b, c}) store.facetStream.push_back(CornerRecord{v});
      store.facetStream.push_back(CornerRecord{});
      for (int v : {a, c, d}) store.facetStream.push_back(CornerRecord{v});
      store.numFacets += 2;
    }
  }
  store.facetStream.push_back(CornerRecord{corvina::kEndOfList});
  store.baseVertices = store.vertices;
  store.numVerts = static_cast<int>(store.vertices.size());
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  store.modelLoaded = 2;
  corvina::expandTextureVertices(store, true);
  return store;
}

// The floor: each corner's vertex read and its texture vertex written.
void plainPass(ModelStore& store) {
  const CornerRecord* records = store.facetStream.data();
  const corvina::Vertex* vertices = store.vertices.data();
  corvina::TexVertex* texVertices = store.texVertices.data();
  const std::size_t length = store.facetStream.size();
  for (std::size_t j = 0; j < length && records[j].vertex >= 0; ++j) {
    if (records[j].vertex <= 0) continue;
    const corvina::Vertex& p = vertices[records[j].vertex - 1];
    texVertices[records[j].texVertex - 1] = {p.x, p.z, 0};
  }
}

// Wall-clock time: the projections run on several threads.
double wallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double bestSeconds(ModelStore& store, int repeat, const std::function<void(ModelStore&)>& run) {
  double best = 1e30;
  for (int i = 0; i < repeat; ++i) {
    const double start = wallSeconds();
    run(store);
    best = std::min(best, wallSeconds() - start);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!parseArguments(argc, argv, args)) {
    std::fprintf(stderr, "usage: mapping_bench [--triangles N>=8] [--repeat R] [--threads T]\n");
    return 2;
  }
  corvina::setParallelThreads(static_cast<std::size_t>(args.threads));
  ModelStore store = sphereModel(args.triangles);
  const double corners = 3.0 * store.numFacets;
  std::printf("model: %d triangles, %d vertices, %.0f corners; %zu thread(s)\n", store.numFacets,
              store.numVerts, corners, corvina::parallelThreads());

  using corvina::ClientSize;
  using corvina::SelectionState;
  const double floor = bestSeconds(store, args.repeat, plainPass);
  const std::pair<const char*, std::function<void(ModelStore&)>> runs[] = {
      {"planar",
       [](ModelStore& m) {
         SelectionState s;
         corvina::planarMapping(m, s, corvina::PlanarMappingOptions{}, ClientSize{});
       }},
      {"box",
       [](ModelStore& m) {
         SelectionState s;
         corvina::boxMapping(m, s, corvina::BoxMappingOptions{}, ClientSize{});
       }},
      {"cylindrical",
       [](ModelStore& m) {
         SelectionState s;
         corvina::cylindricalMapping(m, s, corvina::RadialMappingOptions{}, ClientSize{});
       }},
      {"cylindrical cap",
       [](ModelStore& m) {
         SelectionState s;
         corvina::cylindricalCapMapping(m, s, corvina::RadialMappingOptions{}, ClientSize{});
       }},
      {"spherical",
       [](ModelStore& m) {
         SelectionState s;
         corvina::sphericalMapping(m, s, corvina::RadialMappingOptions{}, ClientSize{});
       }},
      {"per facet",
       [](ModelStore& m) { corvina::perFacetMapping(m, corvina::PerFacetMappingOptions{}); }},
  };
  std::printf("%-16s %14s %10s %10s\n", "pass", "corners/s", "x floor", "seconds");
  std::printf("%-16s %14.0f %10.2f %10.3f\n", "plain (floor)", corners / floor, 1.0, floor);
  for (const auto& [name, run] : runs) {
    const double seconds = bestSeconds(store, args.repeat, run);
    std::printf("%-16s %14.0f %10.2f %10.3f\n", name, corners / seconds, seconds / floor, seconds);
  }
  return 0;
}
