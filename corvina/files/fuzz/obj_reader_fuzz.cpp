// Fuzz target for the OBJ reader, run through the whole open operation (the
// statistics, the out-of-range repair, the expansion): any byte sequence must
// load or be refused with a message, never crash, hang or use memory the
// input does not justify. A successful load must leave a store whose indices
// stay inside its arrays, and every progress bar begun must be ended.
//
// The input is read from memory. The load runs on OBJ_FUZZ_THREADS threads
// (1 when unset), its input cut into that many chunks however small it is:
// 1 gets through the most inputs; 2 exercises the chunk borders and the
// per-chunk counts, which the cross-checks below compare with the one-chunk
// byte path. The chunks' threads are kept from one input to the next, as
// starting threads would cost more than reading the inputs.
//
// One input in kCrossCheckEvery is also cross-checked: the line reader's
// in-place fast path must split it exactly like its byte-at-a-time path, and
// the byte path on one chunk must load the same model with the same messages.
// Those checks read the input five more times; run on every input they would
// cost more than the load itself, and the fuzzer reaches far more inputs
// without them. Which inputs are checked follows from a hash of their bytes,
// so an input is always checked the same way and a failure replays from its
// file. OBJ_FUZZ_CHECK_ALL=1 cross-checks every input (the test suite's short
// runs do).

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/obj_open_save.h"
#include "app/user_interface.h"
#include "files/obj_line_reader.h"
#include "files/obj_line_source.h"

namespace {

using namespace corvina;

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::size_t kCrossCheckEvery = 8;

bool crossChecked(std::string_view bytes) {
  static const bool all = [] {
    const char* text = std::getenv("OBJ_FUZZ_CHECK_ALL");
    return text != nullptr && std::string_view(text) == "1";
  }();
  return all || std::hash<std::string_view>{}(bytes) % kCrossCheckEvery == 0;
}

// The user of a fuzzed load, cheaper to make than the tests' scripted one
// (the load is made once or twice per input): answers every question with
// `answer`, keeps what was shown and asked as one text when `keepsText` (an
// input that is cross-checked compares it), and checks that the progress bar
// is stepped only while it is up and never begun twice.
class FuzzUser : public UserInterface {
 public:
  FuzzUser(Answer answer, bool keepsText) : answer_(answer), keepsText_(keepsText) {}

  std::string shown;
  bool progressUp = false;

  void showMessage(const std::string& caption, const std::string& text, MessageIcon) override {
    note(caption, text);
  }
  Answer ask(const std::string& caption, const std::string& text, MessageIcon, QuestionButtons,
             Answer) override {
    note(caption, text);
    return answer_;
  }
  // A load asks for none of these; they answer as a batch run would.
  std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
  bool editOptions(OptionDialog&) override { return true; }
  std::optional<std::vector<int>> chooseFromList(const ListRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> chooseName(const NameRequest&) override { return std::nullopt; }
  void setBusy(bool) override {}
  void beginProgress(int) override {
    check(!progressUp);
    progressUp = true;
  }
  void stepProgress() override { check(progressUp); }
  void endProgress() override {
    check(progressUp);
    progressUp = false;
  }

 private:
  void note(const std::string& caption, const std::string& text) {
    if (!keepsText_) return;
    shown += caption;
    shown += '\n';
    shown += text;
    shown += '\n';
  }

  Answer answer_;
  bool keepsText_;
};

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
// then wait for the next pass. Both sides poll for a while, giving way to
// other threads, before they sleep: a load's three passes follow each other
// within microseconds, and waking a sleeping thread costs more than a small
// input's pass.
class KeptWorkers {
 public:
  static void runChunks(std::size_t count, const std::function<void(std::size_t)>& work,
                        const std::function<void()>& whileWaiting) {
    // Never destroyed: its threads wait on it until the process ends.
    static KeptWorkers* const workers = new KeptWorkers;
    workers->run(count, work, whileWaiting);
  }

 private:
  static constexpr int kPolls = 200;

  template <typename Done>
  static bool poll(Done done) {
    for (int i = 0; i < kPolls; ++i) {
      if (done()) return true;
      std::this_thread::yield();
    }
    return done();
  }

  void run(std::size_t count, const std::function<void(std::size_t)>& work,
           const std::function<void()>& whileWaiting) {
    // A single chunk is run where it is, as runParts runs it.
    if (count == 1) {
      work(0);
      return;
    }
    // Kept from pass to pass, so a pass allocates nothing.
    std::vector<std::exception_ptr>& failures = failures_;
    failures.assign(count, nullptr);
    {
      const std::lock_guard lock(mutex_);
      while (started_ + 1 < count) std::thread(&KeptWorkers::serve, this, ++started_).detach();
      work_ = &work;
      count_ = count;
      pending_.store(count > 0 ? count - 1 : 0);
      generation_.fetch_add(1);
    }
    if (count > 1) wake_.notify_all();
    if (count > 0) {
      try {
        work(0);
      } catch (...) {
        failures[0] = std::current_exception();
      }
    }
    const auto finished = [this] { return pending_.load() == 0; };
    if (!poll(finished)) {
      std::unique_lock lock(mutex_);
      while (!done_.wait_for(lock, std::chrono::milliseconds(2), finished)) {
        lock.unlock();
        if (whileWaiting) whileWaiting();
        lock.lock();
      }
    }
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }
  }

  // The worker for chunk `index` (1 and up) of every pass that has one.
  void serve(std::size_t index) {
    std::uint64_t seen = 0;
    for (;;) {
      const auto published = [&] { return generation_.load() != seen; };
      if (!poll(published)) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, published);
      }
      std::unique_lock lock(mutex_);
      seen = generation_.load();
      if (index >= count_) continue;
      const std::function<void(std::size_t)>& work = *work_;
      std::exception_ptr& failure = failures_[index];
      lock.unlock();
      try {
        work(index);
      } catch (...) {
        failure = std::current_exception();
      }
      if (pending_.fetch_sub(1) == 1) {
        lock.lock();
        lock.unlock();
        done_.notify_one();
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::size_t started_ = 0;
  const std::function<void(std::size_t)>* work_ = nullptr;
  std::vector<std::exception_ptr> failures_;
  std::size_t count_ = 0;
  std::atomic<std::size_t> pending_ = 0;
  std::atomic<std::uint64_t> generation_ = 0;
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
// ways on the fuzzed thread count, and tell the user the same.
void checkBytePathLoadsTheSame(std::string_view bytes, bool loaded, const ModelStore& store,
                               const FuzzUser& user, Answer answer) {
  ModelStore other;
  SelectionState selection;
  FuzzUser ui(answer, true);
  ObjMemorySource source(bytes);
  ObjReadOptions options;
  options.chunkSize = ObjLineReader::kMinimumChunkSize;
  options.fastPath = false;
  options.threads = 1;
  check(readObjModel(other, selection, source, "fuzz/model.obj", ui, {}, options) == loaded);
  check(!ui.progressUp && ui.shown == user.shown);
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
  const bool crossCheck = crossChecked(bytes);
  if (crossCheck) checkLineSplitting(bytes);

  ModelStore store;
  SelectionState selection;
  // The out-of-range question is answered by the input's length, so both the
  // repair and the refusal get exercised.
  const Answer answer = size % 2 == 0 ? Answer::Yes : Answer::No;
  FuzzUser ui(answer, crossCheck);
  ObjMemorySource source(bytes);
  ObjReadOptions options;
  options.chunkSize = ObjLineReader::kMinimumChunkSize;
  options.threads = loadThreads();
  options.minimumChunkBytes = 1;
  options.runChunks = KeptWorkers::runChunks;
  const bool loaded = readObjModel(store, selection, source, "fuzz/model.obj", ui, {}, options);
  check(!ui.progressUp);
  if (loaded) {
    checkLoadedStore(store);
  } else {
    check(store.modelLoaded == kModelNone && store.numCornerRecords == 0 &&
          store.facetStream.empty());
  }
  if (crossCheck) checkBytePathLoadsTheSame(bytes, loaded, store, ui, answer);
  return 0;
}
