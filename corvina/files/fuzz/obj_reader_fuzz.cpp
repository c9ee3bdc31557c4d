// Fuzz target for the OBJ reader, run through the whole open operation (the
// statistics, the out-of-range repair, the expansion): any byte sequence must
// load or be refused with a message, never crash, hang or use memory the
// input does not justify.
// Each input also checks that the line reader's in-place fast path splits
// exactly like its byte-at-a-time path, that the byte path on one chunk loads
// the same model, and that a successful load leaves a store whose indices stay
// inside its arrays.
//
// The input is read from memory. The load runs on OBJ_FUZZ_THREADS threads
// (1 when unset), its input cut into that many chunks however small it is:
// 1 gets through the most inputs; 2 checks the chunk borders and the
// per-chunk counts against the one-chunk byte path. The chunks' threads are
// kept from one input to the next, as starting threads would cost more than
// reading the inputs.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/obj_open_save.h"
#include "files/obj_line_reader.h"
#include "files/obj_line_source.h"
#include "testing/scripted_user_interface.h"

namespace {

using namespace corvina;

void check(bool condition) {
  if (!condition) std::abort();
}

// Reads the input with both line-reader paths in step and compares each line.
void checkLineSplitting(std::string_view bytes) {
  ObjMemorySource fastSource(bytes), slowSource(bytes);
  ObjLineReader fast(fastSource, ObjLineReader::kMinimumChunkSize, true);
  ObjLineReader slow(slowSource, ObjLineReader::kMinimumChunkSize, false);
  ObjLine fastLine, slowLine;
  for (;;) {
    const bool more = fast.next(fastLine);
    check(more == slow.next(slowLine));
    if (!more) return;
    check(fastLine.text == slowLine.text);
  }
}

int loadThreads() {
  static const int threads = [] {
    const char* text = std::getenv("OBJ_FUZZ_THREADS");
    const int n = text != nullptr ? std::atoi(text) : 1;
    return n >= 1 && n <= 8 ? n : 1;
  }();
  return threads;
}

// Runs a pass's chunks as runParts does (chunk 0 on the calling thread, the
// progress pumped while waiting, a piece's exception thrown again once all
// have ended), chunk k on worker k - 1 of threads that are started once and
// then wait for the next pass.
class KeptWorkers {
 public:
  static void runChunks(std::size_t count, const std::function<void(std::size_t)>& work,
                        const std::function<void()>& whileWaiting) {
    // Never destroyed: its threads wait on it until the process ends.
    static KeptWorkers* const workers = new KeptWorkers;
    workers->run(count, work, whileWaiting);
  }

 private:
  void run(std::size_t count, const std::function<void(std::size_t)>& work,
           const std::function<void()>& whileWaiting) {
    std::vector<std::exception_ptr> failures(count);
    {
      const std::lock_guard lock(mutex_);
      while (started_ + 1 < count) std::thread(&KeptWorkers::serve, this, ++started_).detach();
      work_ = &work;
      failures_ = &failures;
      count_ = count;
      pending_ = count > 0 ? count - 1 : 0;
      ++generation_;
    }
    wake_.notify_all();
    if (count > 0) {
      try {
        work(0);
      } catch (...) {
        failures[0] = std::current_exception();
      }
    }
    std::unique_lock lock(mutex_);
    while (!done_.wait_for(lock, std::chrono::milliseconds(2), [this] { return pending_ == 0; })) {
      lock.unlock();
      if (whileWaiting) whileWaiting();
      lock.lock();
    }
    lock.unlock();
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }
  }

  // The worker for chunk `index` (1 and up) of every pass that has one.
  void serve(std::size_t index) {
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return generation_ != seen; });
      seen = generation_;
      if (index >= count_) continue;
      const std::function<void(std::size_t)>& work = *work_;
      std::vector<std::exception_ptr>& failures = *failures_;
      lock.unlock();
      try {
        work(index);
      } catch (...) {
        failures[index] = std::current_exception();
      }
      lock.lock();
      if (--pending_ == 0) done_.notify_one();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::size_t started_ = 0;
  const std::function<void(std::size_t)>* work_ = nullptr;
  std::vector<std::exception_ptr>* failures_ = nullptr;
  std::size_t count_ = 0, pending_ = 0;
  std::uint64_t generation_ = 0;
};

bool inRange(std::int32_t index, int count) {
  return index >= 0 && index <= count;
}

void checkLoadedStore(const ModelStore& store) {
  check(store.modelLoaded == kModelRead && store.texVerticesExpanded == 1);
  check(store.facetStream.size() == static_cast<std::size_t>(store.numCornerRecords));
  check(store.texVertices.size() == static_cast<std::size_t>(store.numTVerts));
  check(store.vertices.size() == static_cast<std::size_t>(store.numVerts));
  check(store.baseVertices.size() == store.vertices.size());
  check(store.normals.size() == static_cast<std::size_t>(store.numVNormals));
  check(!store.facetStream.empty() && store.facetStream.back().vertex == kEndOfList);
  int separators = 0;
  for (std::size_t j = 0; j + 1 < store.facetStream.size(); ++j) {
    const CornerRecord& record = store.facetStream[j];
    check(record.flags == 0);
    check(inRange(record.vertex, store.numVerts));
    check(inRange(record.texVertex, store.numTVerts));
    check(inRange(record.normal, store.numVNormals));
    if (record.vertex == kSeparator) ++separators;
    if (record.vertex > 0) {
      check((record.group & kSetIndexMask) < std::max(store.numGroups, 1));
      check((record.material & kSetIndexMask) < std::max(store.numMaterials, 1));
      check((record.region & kSetIndexMask) < std::max(store.numRegions, 1));
    }
  }
  check(separators == store.numFacets);
}

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The byte-at-a-time path on one chunk must load the same model as the quick
// ways on the fuzzed thread count.
void checkBytePathLoadsTheSame(std::string_view bytes, bool loaded, const ModelStore& store,
                               Answer answer) {
  ModelStore other;
  SelectionState selection;
  corvina::testing::ScriptedUserInterface ui;
  ui.answers.push_back(answer);
  ObjMemorySource source(bytes);
  ObjReadOptions options;
  options.chunkSize = ObjLineReader::kMinimumChunkSize;
  options.fastPath = false;
  options.threads = 1;
  check(readObjModel(other, selection, source, "fuzz/model.obj", ui, {}, options) == loaded);
  check(sameBytes(store.facetStream, other.facetStream));
  check(sameBytes(store.texVertices, other.texVertices));
  check(sameBytes(store.normals, other.normals));
  check(sameBytes(store.groups, other.groups) && sameBytes(store.materials, other.materials) &&
        sameBytes(store.regions, other.regions) && sameBytes(store.shapeLines, other.shapeLines));
  check(store.vertices.size() == other.vertices.size());
  for (std::size_t i = 0; i < store.vertices.size(); ++i) {
    check(std::memcmp(&store.vertices[i].x, &other.vertices[i].x, 3 * sizeof(float)) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkLineSplitting(bytes);

  ModelStore store;
  SelectionState selection;
  corvina::testing::ScriptedUserInterface ui;
  // The out-of-range question is answered by the input's length, so both the
  // repair and the refusal get exercised.
  const Answer answer = size % 2 == 0 ? Answer::Yes : Answer::No;
  ui.answers.push_back(answer);
  ObjMemorySource source(bytes);
  ObjReadOptions options;
  options.chunkSize = ObjLineReader::kMinimumChunkSize;
  options.threads = loadThreads();
  options.minimumChunkBytes = 1;
  options.runChunks = KeptWorkers::runChunks;
  const bool loaded = readObjModel(store, selection, source, "fuzz/model.obj", ui, {}, options);
  if (loaded) {
    checkLoadedStore(store);
  } else {
    check(store.modelLoaded == kModelNone && store.numCornerRecords == 0 &&
          store.facetStream.empty());
  }
  checkBytePathLoadsTheSame(bytes, loaded, store, answer);
  check(ui.progressBegun == ui.progressEnded);
  return 0;
}
