// What the OBJ reader returns and leaves behind for each way a read can end:
// the store's state and whether a progress bar is left up.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "files/obj_reader.h"
#include "testing/counting_progress.h"
#include "testing/scratch_folder.h"

namespace corvina {
namespace {

using testing::CountingProgress;

const std::string kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n";

// Serves `first` to the counting pass and `later` to the passes after it; with
// `failLater` the later passes see a read error instead.
class TwoFacedSource : public ObjByteSource {
 public:
  TwoFacedSource(std::string_view first, std::string_view later, bool failLater)
      : first_(first), later_(later), failLater_(failLater) {}
  std::size_t read(char* destination, std::size_t capacity) override {
    if (rewinds_ == 0) return first_.read(destination, capacity);
    if (failLater_) {
      failed_ = true;
      return 0;
    }
    return later_.read(destination, capacity);
  }
  bool rewind() override {
    ++rewinds_;
    return later_.rewind();
  }
  bool failed() const override { return failed_; }

 private:
  ObjMemorySource first_, later_;
  bool failLater_;
  bool failed_ = false;
  int rewinds_ = 0;
};

bool refuseAllocation(ModelStore&) {
  return false;
}

TEST(ObjReaderOutcome, EachEndLeavesTheStoreAndProgressAsSaid) {
  struct Case {
    const char* name;
    std::string first, later;
    bool failLater = false;
    ObjReadOptions options = {};
    ObjReadOutcome outcome;
    bool progressLeftUp = false;
  };
  ObjReadOptions noMemory;
  noMemory.allocate = refuseAllocation;
  ObjReadOptions tooMany;
  tooMany.countLimit = 2;
  const Case cases[] = {
      {"read", kTriangle, kTriangle, false, {}, ObjReadOutcome::Read, true},
      {"no facets", "v 0 0 0\n", "v 0 0 0\n", false, {}, ObjReadOutcome::NoFacets},
      {"no vertices", "f 1 2 3\n", "f 1 2 3\n", false, {}, ObjReadOutcome::NoVertices},
      {"changed",
       kTriangle,
       kTriangle + "f 1 2 3\n",
       false,
       {},
       ObjReadOutcome::ChangedWhileReading},
      {"read error", kTriangle, kTriangle, true, {}, ObjReadOutcome::ReadFailed},
      {"no memory", kTriangle, kTriangle, false, noMemory, ObjReadOutcome::InsufficientMemory},
      {"counts too large", kTriangle, kTriangle, false, tooMany,
       ObjReadOutcome::InsufficientMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelStore store;
    store.modelLoaded = kModelRead;
    store.texVerticesExpanded = 1;
    TwoFacedSource source(c.first, c.later, c.failLater);
    CountingProgress progress;
    EXPECT_EQ(readObjFile(store, source, progress, c.options), c.outcome);
    EXPECT_EQ(store.modelLoaded, kModelNone);
    EXPECT_EQ(store.texVerticesExpanded, 0);
    EXPECT_EQ(progress.progressBegun - progress.progressEnded, c.progressLeftUp ? 1 : 0);
    if (c.outcome == ObjReadOutcome::Read) {
      // The elements and the facet stream, texture vertices in the compact form.
      EXPECT_EQ(store.numVerts, 3);
      EXPECT_EQ(store.numTVerts, 1);
      EXPECT_EQ(store.numFacets, 1);
      EXPECT_EQ(store.vertices[1].x, 1.0f);
      EXPECT_EQ(store.facetStream[1].texVertex, 1);
      EXPECT_EQ(store.facetStream[3].texVertex, 1);
    } else {
      EXPECT_EQ(store.numCornerRecords, 0);
      EXPECT_EQ(store.numVerts, 0);
      EXPECT_TRUE(store.facetStream.empty());
    }
  }
}

TEST(ObjReaderOutcome, AFileThatCannotBeOpenedLeavesTheStoreAlone) {
  testing::ScratchFolder folder;
  ModelStore store;
  store.modelLoaded = kModelRead;
  store.numVerts = 7;
  CountingProgress progress;
  EXPECT_EQ(readObjFile(store, folder.file("absent.obj"), progress), ObjReadOutcome::CannotOpen);
  EXPECT_EQ(readObjFile(store, folder.path().string(), progress), ObjReadOutcome::CannotOpen);
  EXPECT_EQ(store.modelLoaded, kModelRead);
  EXPECT_EQ(store.numVerts, 7);
  EXPECT_EQ(progress.progressBegun, 0);
}

}  // namespace
}  // namespace corvina
