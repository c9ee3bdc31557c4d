// Load and save speed of corvina's OBJ files on one large generated model, set
// side by side with tinyobjloader's load, a plain std::to_chars formatting of
// the same output, and the time to merely read the file. Also the load's peak
// memory against the size of the model arrays it fills.
//
//   obj_load_save_bench [--triangles N] [--repeat R] [--threads T] [--load-only] [--dir FOLDER]
//   [--keep]
//
// --threads sets the threads of our load and save (0, the default: one per
// core);
// --load-only times our load alone (for a profiler).

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <tiny_obj_loader.h>

#include "app/obj_open_save.h"
#include "files/obj_reader_chunks.h"
#include "files/obj_writer.h"
#include "model/parallel_parts.h"
#include "obj_bench_baseline.h"
#include "obj_bench_measure.h"
#include "obj_bench_model_file.h"
#include "testing/scripted_user_interface.h"

namespace {

using corvina::ModelStore;

struct Arguments {
  long long triangles = 2'000'000;
  int repeat = 3;
  int threads = 0;
  bool loadOnly = false;
  std::string folder;
  bool keep = false;
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
    } else if (word == "--dir" && hasValue) {
      args.folder = argv[++i];
    } else if (word == "--load-only") {
      args.loadOnly = true;
    } else if (word == "--keep") {
      args.keep = true;
    } else {
      return false;
    }
  }
  return args.triangles > 0 && args.repeat > 0 && args.threads >= 0;
}

template <typename T>
long long capacityBytes(const std::vector<T>& array) {
  return static_cast<long long>(array.capacity() * sizeof(T));
}

long long modelArrayBytes(const ModelStore& s) {
  return capacityBytes(s.vertices) + capacityBytes(s.baseVertices) + capacityBytes(s.texVertices) +
         capacityBytes(s.normals) + capacityBytes(s.facetStream) + capacityBytes(s.groups) +
         capacityBytes(s.materials) + capacityBytes(s.regions) + capacityBytes(s.shapeLines);
}

// The open operation as the window runs it, on `threads` threads.
bool loadOurs(const std::string& path, ModelStore& store, int threads) {
  corvina::SelectionState selection;
  corvina::testing::ScriptedUserInterface ui;
  corvina::ObjFileSource source;
  if (!source.open(path)) return false;
  corvina::ObjReadOptions options;
  options.threads = threads;
  return corvina::readObjModel(store, selection, source, path, ui, {}, options);
}

bool loadTiny(const std::string& path, tinyobj::attrib_t& attrib) {
  std::vector<tinyobj::shape_t> shapes;
  std::vector<tinyobj::material_t> materials;
  std::string warning, error;
  return tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, path.c_str(), nullptr,
                          false);
}

long long readWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  std::vector<char> data(static_cast<std::size_t>(std::filesystem::file_size(path)));
  std::size_t at = 0;
  while (at < data.size()) {
    const ssize_t got = ::read(fd, data.data() + at, data.size() - at);
    if (got <= 0) break;
    at += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return static_cast<long long>(at);
}

// Compares two files block by block.
bool sameBytes(const std::string& a, const std::string& b) {
  std::FILE* fa = std::fopen(a.c_str(), "rb");
  std::FILE* fb = std::fopen(b.c_str(), "rb");
  bool same = fa && fb;
  std::vector<char> ba(1 << 20), bb(1 << 20);
  while (same) {
    const std::size_t na = std::fread(ba.data(), 1, ba.size(), fa);
    const std::size_t nb = std::fread(bb.data(), 1, bb.size(), fb);
    same = na == nb && std::memcmp(ba.data(), bb.data(), na) == 0;
    if (na == 0) break;
  }
  if (fa) std::fclose(fa);
  if (fb) std::fclose(fb);
  return same;
}

double megabytes(long long bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void row(const char* what, double seconds, const char* note = "") {
  std::printf("  %-44s %9.3f s  %s\n", what, seconds, note);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!parseArguments(argc, argv, args)) {
    std::fprintf(stderr,
                 "usage: %s [--triangles N] [--repeat R] [--threads T] [--load-only] [--dir "
                 "FOLDER] [--keep]\n",
                 argv[0]);
    return 2;
  }
  corvina::setParallelThreads(static_cast<std::size_t>(args.threads));
  std::string folder = args.folder;
  if (folder.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "obj-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    folder = pattern;
  }
  const std::string input = folder + "/grid.obj";
  const std::string saved = folder + "/saved.obj";
  const std::string baseline = folder + "/baseline.obj";

  bench::GeneratedFile file;
  if (!bench::writeGridObj(input, args.triangles, file)) {
    std::fprintf(stderr, "cannot write %s\n", input.c_str());
    return 1;
  }
  std::printf("model: %lld triangles, %lld vertices, file %.1f MiB (%s)\n", file.triangles,
              file.vertices, megabytes(file.bytes), input.c_str());

  if (args.loadOnly) {
    ModelStore store;
    const double seconds = bench::fastestSeconds(args.repeat, [&] {
      store = ModelStore();
      if (!loadOurs(input, store, args.threads)) std::fprintf(stderr, "the load failed\n");
    });
    row("corvina load", seconds);
    return 0;
  }

  // Memory first, while this process holds nothing large: each load runs in a
  // child of its own.
  const bench::PeakMemory ourMemory = bench::peakMemoryOf([&] {
    ModelStore store;
    return loadOurs(input, store, args.threads) ? modelArrayBytes(store) : -1LL;
  });
  const bench::PeakMemory tinyMemory = bench::peakMemoryOf([&] {
    tinyobj::attrib_t attrib;
    return loadTiny(input, attrib) ? 0LL : -1LL;
  });

  const double readSeconds = bench::fastestSeconds(args.repeat, [&] { readWholeFile(input); });
  bool loaded = true;
  const double tinySeconds = bench::fastestSeconds(args.repeat, [&] {
    tinyobj::attrib_t attrib;
    loaded = loadTiny(input, attrib) && loaded;
  });
  ModelStore store;
  const double ourLoadSeconds = bench::fastestSeconds(args.repeat, [&] {
    store = ModelStore();
    loaded = loadOurs(input, store, args.threads) && loaded;
  });
  if (!loaded) {
    std::fprintf(stderr, "a load failed\n");
    return 1;
  }

  bool savedOk = true;
  const corvina::ObjExportOptions options;
  const double ourSaveSeconds = bench::fastestSeconds(args.repeat, [&] {
    corvina::testing::ScriptedUserInterface ui;
    savedOk = corvina::writeObjModel(store, saved, options, ui) && savedOk;
  });
  // The save's own model work, timed apart on the model itself: compression
  // before the text, expansion after it.
  double compressSeconds = 1e300, expandSeconds = 1e300;
  for (int i = 0; i < args.repeat; ++i) {
    compressSeconds =
        std::min(compressSeconds,
                 bench::fastestSeconds(1, [&] { corvina::compressTextureVertices(store); }));
    expandSeconds =
        std::min(expandSeconds,
                 bench::fastestSeconds(1, [&] { corvina::expandTextureVertices(store, false); }));
  }
  ModelStore compact = store;
  corvina::compressTextureVertices(compact);
  long long baselineBytes = 0;
  const double baselineSeconds = bench::fastestSeconds(
      args.repeat, [&] { baselineBytes = bench::writeBaselineObj(compact, baseline); });
  const long long savedBytes = static_cast<long long>(std::filesystem::file_size(saved));
  // The formatting alone: our save to a device that keeps nothing (no disk,
  // no rename) against std::to_chars into one reused buffer on one thread.
  const double ourFormatSeconds = bench::fastestSeconds(args.repeat, [&] {
    corvina::testing::ScriptedUserInterface ui;
    savedOk = corvina::writeObjModel(store, "/dev/null", options, ui) && savedOk;
  });
  std::vector<char> whole;
  long long formattedBytes = 0;
  const double formatSeconds = bench::fastestSeconds(
      args.repeat, [&] { formattedBytes = bench::formatBaselineObj(compact, whole); });

  std::printf("\nload (fastest of %d)\n", args.repeat);
  row("read the file into memory", readSeconds);
  row("tinyobjloader LoadObj", tinySeconds);
  const std::string ourLoad =
      "corvina load, " + std::to_string(corvina::objReadThreads(args.threads)) + " thread(s)";
  row(ourLoad.c_str(), ourLoadSeconds);
  std::printf("  %-44s %9.2f x  (target >= 5)\n", "tinyobjloader / corvina",
              tinySeconds / ourLoadSeconds);
  std::printf("\nsave (fastest of %d, both forced to disk)\n", args.repeat);
  row("std::to_chars baseline, same layout", baselineSeconds);
  const std::string ourSave =
      "corvina writeObjModel, " + std::to_string(corvina::parallelThreads()) + " thread(s)";
  row(ourSave.c_str(), ourSaveSeconds);
  row("  of which compressTextureVertices (about)", compressSeconds, "");
  row("  of which expandTextureVertices (about)", expandSeconds, "");
  std::printf("  %-44s %9.2f x  (target <= 2)\n", "corvina / baseline",
              ourSaveSeconds / baselineSeconds);
  row("std::to_chars into one buffer, 1 thread", formatSeconds);
  const std::string ourFormat =
      "corvina save to /dev/null, " + std::to_string(corvina::parallelThreads()) + " thread(s)";
  row(ourFormat.c_str(), ourFormatSeconds);
  std::printf("  %-44s %9.2f x  (target <= 1.5)\n", "corvina / one buffer",
              ourFormatSeconds / formatSeconds);
  if (formattedBytes != savedBytes) std::printf("  the one-buffer baseline's size DIFFERS\n");
  std::printf("  output %.1f MiB; baseline output %s\n", megabytes(savedBytes),
              !savedOk || baselineBytes < 0                               ? "FAILED"
              : baselineBytes == savedBytes && sameBytes(saved, baseline) ? "has the same bytes"
                                                                          : "DIFFERS");
  std::printf("\nload peak memory (resident-set growth of the load alone)\n");
  if (ourMemory.ok) {
    std::printf("  %-44s %9.1f MiB\n", "corvina model arrays (capacity x size)",
                megabytes(ourMemory.reportBytes));
    std::printf("  %-44s %9.1f MiB\n", "corvina load peak", megabytes(ourMemory.peakBytes));
    std::printf(
        "  %-44s %9.2f x  (target <= 1.5)\n", "peak / arrays",
        static_cast<double>(ourMemory.peakBytes) / static_cast<double>(ourMemory.reportBytes));
  }
  if (tinyMemory.ok) {
    std::printf("  %-44s %9.1f MiB\n", "tinyobjloader load peak", megabytes(tinyMemory.peakBytes));
  }

  if (!args.keep) {
    for (const std::string& path : {input, saved, baseline}) std::filesystem::remove(path);
    if (args.folder.empty()) std::filesystem::remove(folder);
  }
  return savedOk && ourMemory.ok ? 0 : 1;
}
