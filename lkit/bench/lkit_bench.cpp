// Times the Start job (search, sort, project file in both groupings) on a
// generated tree of 100,000 files in 10,000 folders, next to `find DIR -type f`
// on the same tree. Usage: lkit_bench [FOLDER] (default: a temporary folder).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/folder_search.h"
#include "core/project_writer.h"

namespace {

constexpr int kFolders = 10000;
constexpr int kFilesPerFolder = 10;
// Three of the ten types are kept: 30,000 files, below the 32,000-row
// limit, so the whole tree is walked.
const char* const kTypes[] = {"cs", "gui", "png", "dts", "txt", "dds", "jpg", "wav", "ogg", "mis"};

std::string treeRoot;

// 100 top folders of 10 folders of 10 folders (with the top ones: 10,000 in
// all below the root's 100), ten files each.
void makeTree(const std::string& root) {
  int made = 0;
  for (int a = 0; a < 100 && made < kFolders; ++a) {
    std::string top = root + "/area " + std::to_string(a);
    std::filesystem::create_directories(top);
    ++made;
    for (int b = 0; b < 99 && made < kFolders; ++b) {
      std::string mid = top + "/part" + std::to_string(b);
      std::filesystem::create_directories(mid);
      ++made;
    }
  }
  std::size_t folderIndex = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::string path = entry.path().string() + "/file" + std::to_string(f) + "." +
                         kTypes[(folderIndex + f) % 10];
      int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
      if (fd >= 0) ::close(fd);
    }
    ++folderIndex;
  }
}

std::vector<lkit::Category> categories() {
  return {{"Scripts", "cs"}, {"GUI", "gui"}, {"Shapes", "dts"}};
}

void runJob(benchmark::State& state, bool autoOrganize) {
  std::size_t found = 0;
  for (auto _ : state) {
    bool abort = false;
    lkit::FolderSearch search(categories(), {}, abort);
    search.SearchTree(treeRoot);
    search.sortLists();
    lkit::ProjectInput input;
    input.baseFolder = treeRoot;
    input.projectName = autoOrganize ? "bench-auto" : "bench-manual";
    input.results = &search.results();
    for (const auto& row : categories()) input.categoryDescriptions.push_back(row.description);
    input.autoOrganize = autoOrganize;
    lkit::ProjectOutcome outcome = lkit::WriteProject(input);
    found = search.results().size();
    benchmark::DoNotOptimize(outcome.written);
  }
  state.counters["files_found"] = static_cast<double>(found);
}

void BM_JobManual(benchmark::State& state) {
  runJob(state, false);
}
void BM_JobAutoOrganize(benchmark::State& state) {
  runJob(state, true);
}

void BM_Find(benchmark::State& state) {
  std::string command = "find '" + treeRoot + "' -type f > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
  }
}

BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(BM_JobManual)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(BM_JobAutoOrganize)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bool temporary = argc < 2;
  if (temporary) {
    std::string pattern = (std::filesystem::temp_directory_path() / "lkit-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    treeRoot = pattern;
  } else {
    treeRoot = argv[1];
    std::filesystem::create_directories(treeRoot);
  }
  if (std::filesystem::is_empty(treeRoot)) makeTree(treeRoot);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (temporary) std::filesystem::remove_all(treeRoot);
  return 0;
}
