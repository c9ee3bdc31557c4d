// A load that runs out of memory anywhere on its way ends in "Insufficient
// memory" and an empty model, never in an escaped exception.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

#include "app/obj_open_save.h"
#include "testing/scratch_folder.h"
#include "testing/scripted_user_interface.h"

#if defined(__SANITIZE_ADDRESS__)
#define CORVINA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVINA_ADDRESS_SANITIZER 1
#endif
#endif

namespace corvina {
namespace {

using testing::ScriptedUserInterface;

// Serves the text once, then fails every later pass with bad_alloc, as an
// allocation inside a pass would.
class FailingSecondPass : public ObjByteSource {
 public:
  explicit FailingSecondPass(std::string_view text) : first_(text) {}
  std::size_t read(char* destination, std::size_t capacity) override {
    if (rewinds_ > 0) throw std::bad_alloc();
    return first_.read(destination, capacity);
  }
  bool rewind() override {
    ++rewinds_;
    return first_.rewind();
  }
  bool failed() const override { return false; }

 private:
  ObjMemorySource first_;
  int rewinds_ = 0;
};

bool emptyModel(const ModelStore& store) {
  return store.modelLoaded == kModelNone && store.numVerts == 0 && store.numFacets == 0 &&
         store.numCornerRecords == 0 && store.numGroups == 0 && store.vertices.empty() &&
         store.facetStream.empty() && store.groups.empty();
}

TEST(ObjReaderMemoryTest, AnAllocationFailingInsideAPassEndsInInsufficientMemory) {
  ModelStore store;
  SelectionState selection;
  ScriptedUserInterface ui;
  FailingSecondPass source("v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1 2 3\n");
  EXPECT_FALSE(readObjModel(store, selection, source, "m.obj", ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Error");
  EXPECT_EQ(ui.messages[0].text, "Insufficient memory");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui.progressBegun, ui.progressEnded);
  EXPECT_TRUE(emptyModel(store));
}

// The bytes of the address space this process maps now.
long long mappedBytes() {
  long long pages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  if (std::fscanf(statm, "%lld", &pages) != 1) pages = -1;
  std::fclose(statm);
  return pages < 0 ? -1 : pages * sysconf(_SC_PAGESIZE);
}

// The child's side: run as a fresh copy of this test program (so no memory
// freed by earlier tests is at hand), it loads CORVINA_MEMORY_CHILD_PATH
// with its address space limited to what it maps now plus
// CORVINA_MEMORY_CHILD_MB megabytes, and exits 0 when the model loaded, 1
// when it was refused with "Insufficient memory" and left empty, 2 otherwise.
TEST(ObjReaderMemoryChild, LoadUnderTheLimitGiven) {
  const char* path = std::getenv("CORVINA_MEMORY_CHILD_PATH");
  const char* megabytes = std::getenv("CORVINA_MEMORY_CHILD_MB");
  if (path == nullptr || megabytes == nullptr) GTEST_SKIP() << "run by the test below";
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max =
      static_cast<rlim_t>(mappedBytes() + (std::atoll(megabytes) << 20));
  setrlimit(RLIMIT_AS, &limit);
  ModelStore store;
  SelectionState selection;
  ScriptedUserInterface ui;
  bool loaded = openObjModel(store, selection, path, ui);
  bool refused = !loaded && ui.messages.size() == 1 &&
                 ui.messages[0].text == "Insufficient memory" && emptyModel(store);
  std::_Exit(loaded ? 0 : refused ? 1 : 2);
}

// Runs the child above; its exit status, or 128 + the signal that ended it.
[[maybe_unused]] int loadUnderLimit(const std::string& path, long long megabytes) {
  pid_t child = fork();
  if (child == 0) {
    // The child's own test report would only clutter this one's.
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    setenv("CORVINA_MEMORY_CHILD_PATH", path.c_str(), 1);
    setenv("CORVINA_MEMORY_CHILD_MB", std::to_string(megabytes).c_str(), 1);
    execl("/proc/self/exe", "obj_reader_memory_child",
          "--gtest_filter=ObjReaderMemoryChild.LoadUnderTheLimitGiven",
          static_cast<char*>(nullptr));
    std::_Exit(3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ObjReaderMemoryTest, ManyDistinctNamesUnderALimitedAddressSpace) {
#ifdef CORVINA_ADDRESS_SANITIZER
  GTEST_SKIP() << "AddressSanitizer cannot run in a small address space";
#else
  // 300,000 groups of one triangle each, every group with a name of its own.
  const testing::ScratchFolder folder;
  const std::string path = folder.file("many_groups.obj");
  {
    std::ofstream out(path, std::ios::binary);
    out << "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (int i = 0; i < 300000; ++i) out << "g group_with_a_long_name_" << i << "\nf 1 2 3\n";
  }
  // From too little for the arrays, through enough for the arrays but not
  // the name table, to enough for everything.
  bool refusedOnce = false;
  for (long long megabytes : {48, 64, 72, 80}) {
    SCOPED_TRACE(megabytes);
    int result = loadUnderLimit(path, megabytes);
    EXPECT_TRUE(result == 0 || result == 1) << "exit " << result;
    refusedOnce = refusedOnce || result == 1;
  }
  EXPECT_TRUE(refusedOnce);
  EXPECT_EQ(loadUnderLimit(path, 400), 0) << "enough memory loads the model";
#endif
}

}  // namespace
}  // namespace corvina
