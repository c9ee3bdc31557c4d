// Times the composition of the texture-map view: a model of N triangles laid
// out as a grid of small facets over the unit square, grouped in bands of
// 1000 facets and coloured by group, composed at W x H.
//   view_compose_bench [--triangles N] [--width W] [--height H] [--repeat R]
//                      [--threads T]
// Prints the best and median time of R compositions in milliseconds, by the
// wall clock and by the CPU time of all the process's threads (which a
// machine busy with other work does not inflate). The outlines are drawn on
// T threads, every core by default, each part after the first into a layer
// kept from one composition to the next, as the window keeps it.

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "editor/painter/view_composer.h"
#include "model/parallel_parts.h"

namespace {

corvina::ModelStore triangleGrid(int triangles) {
  using namespace corvina;
  ModelStore store;
  store.modelLoaded = 1;
  store.texVerticesExpanded = 1;
  store.colorMode = 1;
  const int cells = std::max(1, static_cast<int>(std::ceil(std::sqrt(triangles / 2.0))));
  const float size = 1.0f / static_cast<float>(cells);
  store.facetStream.reserve(static_cast<std::size_t>(triangles) * 4 + 2);
  store.texVertices.reserve(static_cast<std::size_t>(triangles) * 4 + 2);
  auto add = [&](int vertex, float u, float v, int group) {
    store.texVertices.push_back({u, v, 0});
    CornerRecord record;
    record.vertex = vertex;
    record.texVertex = static_cast<int>(store.texVertices.size());
    record.group = static_cast<std::uint16_t>(group);
    store.facetStream.push_back(record);
  };
  for (int t = 0; t < triangles; ++t) {
    const int cell = t / 2;
    const float u = static_cast<float>(cell % cells) * size;
    const float v = static_cast<float>(cell / cells) * size;
    const int group = t / 1000 + 1;
    add(kSeparator, kNoUvU, kNoUvV, 0);
    if (t % 2 == 0) {
      add(1, u, v, group);
      add(2, u + size, v, group);
      add(3, u, v + size, group);
    } else {
      add(1, u + size, v, group);
      add(2, u + size, v + size, group);
      add(3, u, v + size, group);
    }
  }
  add(kEndOfList, kNoUvU, kNoUvV, 0);
  store.vertices.resize(3);
  store.numVerts = 3;
  store.numFacets = triangles;
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  return store;
}

double processCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

int argument(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  const int triangles = std::max(1, argument(argc, argv, "--triangles", 100000));
  const int width = std::max(1, argument(argc, argv, "--width", 1024));
  const int height = std::max(1, argument(argc, argv, "--height", 768));
  const int repeat = std::max(1, argument(argc, argv, "--repeat", 10));
  const int threads = argument(argc, argv, "--threads", 0);
  std::optional<corvina::ScopedParallelThreads> cut;
  if (threads > 0) cut.emplace(static_cast<std::size_t>(threads));

  const corvina::ModelStore store = triangleGrid(triangles);
  const corvina::SelectionState selection;
  const corvina::painter::ViewScene scene{store, selection, nullptr, width, height};
  std::vector<double> times, cpuTimes;
  int penChanges = 0;
  corvina::painter::PartLayers layers;
  for (int r = 0; r < repeat; ++r) {
    corvina::painter::CompositionReport report;
    const double cpuStart = processCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    const QImage image = corvina::painter::composeView(scene, &report, layers);
    const auto end = std::chrono::steady_clock::now();
    cpuTimes.push_back(processCpuMilliseconds() - cpuStart);
    if (image.isNull()) return 1;
    penChanges = report.penChanges;
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(times.begin(), times.end());
  std::sort(cpuTimes.begin(), cpuTimes.end());
  std::printf(
      "compose %d triangles at %dx%d on %zu threads: wall best %.2f ms, median %.2f ms; CPU best "
      "%.2f ms, median %.2f ms (%d pen changes)\n",
      triangles, width, height, corvina::parallelThreads(), times.front(), times[times.size() / 2],
      cpuTimes.front(), cpuTimes[cpuTimes.size() / 2], penChanges);
  return 0;
}
