// Speed of the mesh tools on large generated models, each at half and at full
// size, so that the ratio shows how the time grows: Weld, Fix Seams and normal
// smoothing on a grid of pieces (1 million vertices, 2 million triangles at
// full size), and a whole sphere generated with its mapping (1024 x 1024
// divisions at full size).
//
//   mesh_tools_bench [--scale F] [--repeat R] [--threads T]
//
// --scale multiplies the full sizes' element counts (0.001 for a smoke run);
// --threads sets the threads the tools and generators use (0, the default:
// one per core). Times are wall-clock seconds, the fastest of the repeats.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

#include "mesh_bench_models.h"
#include "model/parallel_parts.h"
#include "primitives/primitive_generator.h"
#include "tools/normal_smoothing.h"
#include "tools/seam_normals.h"
#include "tools/weld_vertices.h"

namespace {

using corvina::ModelStore;

struct Arguments {
  double scale = 1.0;
  int repeat = 3;
  int threads = 0;
};

bool parseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--scale" && i + 1 < argc) {
      args.scale = std::atof(argv[++i]);
    } else if (word == "--repeat" && i + 1 < argc) {
      args.repeat = std::atoi(argv[++i]);
    } else if (word == "--threads" && i + 1 < argc) {
      args.threads = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return args.scale > 0 && args.repeat > 0 && args.threads >= 0;
}

// Wall-clock time: the tools run on several threads.
double wallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds of the fastest of `repeat` runs; `prepare` runs untimed before each.
double fastest(int repeat, const std::function<void()>& prepare,
               const std::function<bool()>& work) {
  double best = 1e30;
  for (int r = 0; r < repeat; ++r) {
    prepare();
    const double start = wallSeconds();
    if (!work()) {
      std::fprintf(stderr, "the tool failed\n");
      std::exit(1);
    }
    best = std::min(best, wallSeconds() - start);
  }
  return best;
}

void report(const char* name, const std::string& halfSize, double half, const std::string& fullSize,
            double full) {
  std::printf("%-12s %-28s %8.3f s   %-28s %8.3f s   ratio %.2f\n", name, halfSize.c_str(), half,
              fullSize.c_str(), full, half > 0 ? full / half : 0.0);
}

struct ToolTimes {
  std::string size;
  double weld = 0, seams = 0, smoothing = 0;
};

ToolTimes timeTools(int side, int repeat) {
  const ModelStore model = bench::gridOfPieces(side);
  ModelStore work;
  ToolTimes times;
  times.size = std::to_string(model.numVerts) + " v, " + std::to_string(model.numFacets) + " f";
  auto fresh = [&] { work = model; };
  times.weld = fastest(repeat, fresh, [&] {
    return corvina::weldVertices(work) == corvina::NormalToolOutcome::Done;
  });
  times.seams = fastest(
      repeat, fresh, [&] { return corvina::fixSeams(work) == corvina::NormalToolOutcome::Done; });
  times.smoothing = fastest(repeat, fresh, [&] {
    return corvina::smoothNormals(work, 89.0f, corvina::SmoothingScope::AllFacets, false);
  });
  return times;
}

// Seconds to generate a whole sphere of `divisions` x `divisions`.
double timeSphere(int divisions, int repeat, std::string& size) {
  corvina::SphereOptions options;
  options.verticalDivisions = divisions;
  options.radialDivisions = divisions;
  ModelStore store;
  corvina::SelectionState selection;
  const double seconds = fastest(
      repeat, [&] { store = ModelStore{}; },
      [&] {
        return corvina::generateSphere(store, selection, options) ==
               corvina::GenerateOutcome::Generated;
      });
  size = std::to_string(divisions) + " x " + std::to_string(divisions) + ", " +
         std::to_string(store.numCornerRecords) + " r";
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!parseArguments(argc, argv, args)) {
    std::fprintf(stderr, "usage: mesh_tools_bench [--scale F] [--repeat R] [--threads T]\n");
    return 2;
  }
  corvina::setParallelThreads(static_cast<std::size_t>(args.threads));
  std::printf("%zu thread(s)\n", corvina::parallelThreads());
  // A grid of side s has s * s vertices and about 2 s^2 triangles; the half
  // model has half as many of each.
  const int fullSide = std::max(4, static_cast<int>(std::lround(1000.0 * std::sqrt(args.scale))));
  const int halfSide = std::max(3, static_cast<int>(std::lround(fullSide / std::sqrt(2.0))));
  const ToolTimes half = timeTools(halfSide, args.repeat);
  const ToolTimes full = timeTools(fullSide, args.repeat);
  report("weld", half.size, half.weld, full.size, full.weld);
  report("fix seams", half.size, half.seams, full.size, full.seams);
  report("smoothing", half.size, half.smoothing, full.size, full.smoothing);

  const int fullDivisions =
      std::max(3, static_cast<int>(std::lround(1024.0 * std::sqrt(args.scale))));
  const int halfDivisions =
      std::max(2, static_cast<int>(std::lround(fullDivisions / std::sqrt(2.0))));
  std::string halfSphere, fullSphere;
  const double halfSeconds = timeSphere(halfDivisions, args.repeat, halfSphere);
  const double fullSeconds = timeSphere(fullDivisions, args.repeat, fullSphere);
  report("sphere", halfSphere, halfSeconds, fullSphere, fullSeconds);
  return 0;
}
