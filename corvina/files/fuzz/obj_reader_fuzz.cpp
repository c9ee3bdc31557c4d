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
// starting threads would cost more than reading the inputs (kept_workers.h).
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
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/obj_open_save.h"
#include "app/user_interface.h"
#include "files/fuzz/kept_workers.h"
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
  options.runChunks = runKeptChunkWorkers;
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
