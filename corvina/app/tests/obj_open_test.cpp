// The whole open operation on small files: messages, the out-of-range
// question and its repair, settings, kept lines, set assignment, the state
// after success and after each kind of failure.

#include "app/obj_open_save.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "testing/scratch_folder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUserInterface;

// Records the progress range as well.
struct RecordingUi : ScriptedUserInterface {
  int progressRange = -1;
  void beginProgress(int range) override {
    progressRange = range;
    ScriptedUserInterface::beginProgress(range);
  }
};

class ObjReaderTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  bool load(const std::string& text, RecordingUi& ui) {
    return openObjModel(store_, selection_, write("model.obj", text), ui, [&] { ++undoCleared_; });
  }

  testing::ScratchFolder scratch_;
  const fs::path folder_ = scratch_.path();
  ModelStore store_;
  SelectionState selection_;
  int undoCleared_ = 0;
};

const std::string kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

void expectEmptyModel(const ModelStore& store) {
  EXPECT_EQ(store.modelLoaded, 0);
  const int counts[] = {store.numVerts,
                        store.numTVerts,
                        store.numVNormals,
                        store.numFacets,
                        store.numCornerRecords,
                        store.numGroups,
                        store.numMaterials,
                        store.numRegions,
                        store.numGroupStatements,
                        store.numMaterialStatements,
                        store.numRegionStatements,
                        store.numShapeLines};
  for (int count : counts) EXPECT_EQ(count, 0);
  EXPECT_TRUE(store.facetStream.empty());
  EXPECT_TRUE(store.vertices.empty());
}

TEST_F(ObjReaderTest, LoadsAModelAndShowsItsStatistics) {
  RecordingUi ui;
  selection_.selectionActive = true;
  ASSERT_TRUE(
      load("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
           "vn 0 0 1\ng quad\nusemtl red\n# r front\nf 1/1/1 2/2/1 3/3/1 4/4/1\n",
           ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Statistics");
  EXPECT_EQ(ui.messages[0].text,
            "vertices = 4\ntextures = 4\nnormals = 1\nfacets = 1\ngroups = 1\nmaterials = 1\n"
            "regions = 1");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(store_.modelLoaded, 1);
  EXPECT_EQ(store_.texVerticesExpanded, 1);
  EXPECT_FALSE(selection_.selectionActive);
  EXPECT_EQ(undoCleared_, 1);
  EXPECT_EQ(ui.progressBegun, 1);
  EXPECT_EQ(ui.progressEnded, 1);
  EXPECT_EQ(store_.numTVerts, store_.numCornerRecords);
  ASSERT_EQ(store_.baseVertices.size(), 4u);
  EXPECT_EQ(store_.baseVertices[2].x, 1.0f);
  EXPECT_EQ(store_.baseVertices[2].y, 1.0f);
  EXPECT_EQ(store_.lastDirectory, folder_.string());
  EXPECT_EQ(store_.modelBaseName, (folder_ / "model").string());
  // The third corner's own texture vertex holds the third "vt".
  EXPECT_EQ(store_.texVertices[store_.facetStream[3].texVertex - 1].u, 1.0f);
  EXPECT_EQ(store_.texVertices[store_.facetStream[3].texVertex - 1].v, 1.0f);
  for (const CornerRecord& r : store_.facetStream) EXPECT_EQ(r.flags, 0);
}

TEST_F(ObjReaderTest, RefusesFilesWithoutFacetsOrVertices) {
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"only vertices", "v 0 0 0\nvt 0 0\n# f 1 2 3\n", "This OBJ file has no facet information"},
      {"empty file", "", "This OBJ file has no facet information"},
      {"lone f is no facet", "v 0 0 0\nf\n", "This OBJ file has no facet information"},
      {"facets without vertices", "f 1 2 3\nvt 0 0\n", "This OBJ file has no vertex information"},
  };
  for (const Case& c : cases) {
    RecordingUi ui;
    ASSERT_TRUE(load(kTriangle, ui)) << c.name;
    RecordingUi second;
    EXPECT_FALSE(load(c.text, second)) << c.name;
    ASSERT_EQ(second.messages.size(), 1u) << c.name;
    EXPECT_EQ(second.messages[0].caption, "Error");
    EXPECT_EQ(second.messages[0].text, c.message);
    EXPECT_EQ(second.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(second.progressBegun, 0);
    expectEmptyModel(store_);
  }
}

TEST_F(ObjReaderTest, FileThatCannotBeOpenedLeavesThePreviousModel) {
  RecordingUi ui;
  ASSERT_TRUE(load(kTriangle, ui));
  for (const std::string& path : {(folder_ / "missing.obj").string(), folder_.string()}) {
    RecordingUi second;
    EXPECT_FALSE(openObjModel(store_, selection_, path, second)) << path;
    ASSERT_EQ(second.messages.size(), 1u);
    EXPECT_EQ(second.messages[0].caption, "Error");
    EXPECT_EQ(second.messages[0].text, "Error opening file");
    EXPECT_EQ(store_.modelLoaded, 1);
    EXPECT_EQ(store_.numFacets, 1);
    EXPECT_EQ(store_.modelBaseName, (folder_ / "model").string());
  }
}

TEST_F(ObjReaderTest, OffersToRepairOutOfRangeTextureCoordinates) {
  struct Case {
    const char* name;
    const char* texVertices;
    std::vector<Answer> answers;
    bool asked;
    float firstU;  // u of the first corner after the load
  };
  const Case cases[] = {
      {"corners of the unit square", "vt 1.0 0.0\nvt 0 1\nvt 0.5 0.5\n", {}, false, 1.0f},
      {"just outside, unattended", "vt 1.0001 0.5\nvt 0 0\nvt 0.5 1\n", {}, true, 1.0001f},
      {"just outside, No", "vt 1.0001 0.5\nvt 0 0\nvt 0.5 1\n", {Answer::No}, true, 1.0001f},
      {"just outside, Yes", "vt 2 0.5\nvt 0 0\nvt 1 1\n", {Answer::Yes}, true, 1.0f},
      {"negative, Yes", "vt -1 0.5\nvt 1 0\nvt 0 1\n", {Answer::Yes}, true, 0.0f},
  };
  for (const Case& c : cases) {
    RecordingUi ui;
    ui.answers.assign(c.answers.begin(), c.answers.end());
    ASSERT_TRUE(
        load(std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\n") + c.texVertices + "f 1/1 2/2 3/3\n", ui))
        << c.name;
    ASSERT_EQ(ui.questions.size(), c.asked ? 1u : 0u) << c.name;
    if (c.asked) {
      EXPECT_EQ(ui.questions[0].caption, "Warning");
      EXPECT_EQ(ui.questions[0].text,
                "The model you have loaded contains\nout of range UV coordinate data\n\n"
                "Would you like to correct this?");
      EXPECT_EQ(ui.questions[0].icon, MessageIcon::Question);
    }
    EXPECT_EQ(store_.texVertices[store_.facetStream[1].texVertex - 1].u, c.firstU) << c.name;
  }
}

TEST_F(ObjReaderTest, ReadsMapSettingsValueByValue) {
  struct Case {
    const char* line;
    int width, height, colorMode;
    float pixelsPerUnit;
  };
  const Case cases[] = {
      {"# x/y/color/ppu 0/512/2/50", 100, 200, 2, 50.0f},
      {"# x/y/color/ppu 256/128/3/20.5", 256, 128, 3, 20.5f},
      {"# X/Y/COLOR/PPU 8192/1/0/10000", 8192, 1, 0, 10000.0f},
      {"# x/y/color/ppu 8193/64/4/0.5", 100, 200, 1, 7.0f},
      {"# x/y/color/ppu 64/64/2", 100, 200, 1, 7.0f},  // three values are not four
      {"# x/y/color/ppu 64 /64/2/9", 100, 200, 1, 7.0f},
      {"# x/y/color/ppu 64/64/2/9.5x", 64, 64, 2, 9.5f},
  };
  for (const Case& c : cases) {
    store_.mapWidth = 100;
    store_.mapHeight = 200;
    store_.colorMode = 1;
    store_.pixelsPerUnit = 7.0f;
    RecordingUi ui;
    ASSERT_TRUE(load(std::string(c.line) + "\n" + kTriangle, ui)) << c.line;
    EXPECT_EQ(store_.mapWidth, c.width) << c.line;
    EXPECT_EQ(store_.mapHeight, c.height) << c.line;
    EXPECT_EQ(store_.colorMode, c.colorMode) << c.line;
    EXPECT_EQ(store_.pixelsPerUnit, c.pixelsPerUnit) << c.line;
  }
}

TEST_F(ObjReaderTest, KeepsShapeLinesAndCutsNames) {
  const std::string longName(120, 'n');
  RecordingUi ui;
  ASSERT_TRUE(load("s 1\n" + kTriangle + "L\t1   2\nS " + longName + "\nf 1 2 3\ng " + longName +
                       "x\nf 1 2 3\ng " + longName + "y\nf 1 2 3\n",
                   ui));
  ASSERT_EQ(store_.numShapeLines, 3);
  EXPECT_STREQ(store_.shapeLines[0].text, "s 1");
  EXPECT_EQ(store_.shapeLines[0].facetOrdinal, 0);
  EXPECT_STREQ(store_.shapeLines[1].text, "L 1 2");
  EXPECT_EQ(store_.shapeLines[1].facetOrdinal, 1);
  EXPECT_EQ(std::string(store_.shapeLines[2].text), "S " + longName.substr(0, 93));
  // Two names that differ only after 95 characters name one group.
  EXPECT_EQ(store_.numGroupStatements, 2);
  EXPECT_EQ(store_.numGroups, 1);
  EXPECT_EQ(std::string(store_.groups[0].name), longName.substr(0, 95));
}

TEST_F(ObjReaderTest, AssignsFacetsToTheirSets) {
  RecordingUi ui;
  // The first facet precedes every group statement and joins the first group;
  // names differing in case are different groups.
  ASSERT_TRUE(load(kTriangle + "G Arm\nf 1 2 3\ng arm\nf 1 2 3\nusemtl m\ng Arm left\n"
                               "f 1 2 3\n",
                   ui));
  EXPECT_EQ(store_.numGroups, 3);
  EXPECT_STREQ(store_.groups[2].name, "Arm left");
  std::vector<int> groups, materials;
  for (const CornerRecord& r : store_.facetStream) {
    if (r.vertex > 0) {
      groups.push_back(r.group & kSetIndexMask);
      materials.push_back(r.material & kSetIndexMask);
    }
  }
  EXPECT_EQ(groups, (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(materials, (std::vector<int>(12, 0)));
}

TEST_F(ObjReaderTest, StepsProgressOncePer256Lines) {
  std::string text = kTriangle;
  for (int i = 0; i < 596; ++i) text += "# comment\n";  // 600 lines in all
  RecordingUi ui;
  ASSERT_TRUE(load(text, ui));
  EXPECT_EQ(ui.progressRange, 2 * 600 / 256);
  // Parse pass: the 4 statements that are no comment; index pass: all 600.
  EXPECT_EQ(ui.progressSteps, (4 + 600) / 256);
}

// Counts beyond what the store can address are refused like memory that
// cannot be had; the limit is lowered so a small file can reach it.
TEST_F(ObjReaderTest, RefusesCountsTheStoreCannotHoldAndFailedAllocations) {
  struct Case {
    const char* name;
    ObjReadOptions options;
  };
  ObjReadOptions tooMany;
  tooMany.countLimit = 4;  // the triangle has 5 stream records
  ObjReadOptions noMemory;
  noMemory.allocate = [](ModelStore&) { return false; };
  for (const Case& c : {Case{"count limit", tooMany}, Case{"allocation", noMemory}}) {
    RecordingUi ui;
    ASSERT_TRUE(load(kTriangle, ui));
    RecordingUi second;
    ObjMemorySource source(kTriangle);
    EXPECT_FALSE(readObjModel(store_, selection_, source, "b.obj", second, {}, c.options))
        << c.name;
    ASSERT_EQ(second.messages.size(), 1u) << c.name;
    EXPECT_EQ(second.messages[0].caption, "Error");
    EXPECT_EQ(second.messages[0].text, "Insufficient memory");
    EXPECT_EQ(second.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(second.progressBegun, second.progressEnded);
    expectEmptyModel(store_);
  }
}

// A source whose content changes after the counting pass, as a file being
// rewritten while it is read.
class ChangingSource : public ObjByteSource {
 public:
  ChangingSource(std::string first, std::string later)
      : firstText_(std::move(first)),
        laterText_(std::move(later)),
        first_(firstText_),
        later_(laterText_) {}
  std::size_t read(char* destination, std::size_t capacity) override {
    return (rewinds_ == 0 ? first_ : later_).read(destination, capacity);
  }
  bool rewind() override {
    ++rewinds_;
    return first_.rewind() && later_.rewind();
  }
  bool failed() const override { return false; }

 private:
  std::string firstText_, laterText_;
  ObjMemorySource first_, later_;
  int rewinds_ = 0;
};

TEST_F(ObjReaderTest, FileChangedBetweenPassesLeavesAnEmptyModel) {
  const std::string counted = kTriangle;
  const std::string cases[] = {kTriangle + "f 1 2 3\n", "v 0 0 0\nf 1 2 3\n",
                               "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3 1\n", kTriangle + "g a\n"};
  for (const std::string& later : cases) {
    ChangingSource source(counted, later);
    RecordingUi ui;
    EXPECT_FALSE(readObjModel(store_, selection_, source, "c.obj", ui)) << later;
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error opening file");
    expectEmptyModel(store_);
  }
}

TEST_F(ObjReaderTest, ReadsNumbersTheSameUnderADecimalCommaLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr) {
    GTEST_SKIP() << "no German locale installed";
  }
  RecordingUi ui;
  const bool loaded = load(
      "# x/y/color/ppu 64/64/1/12.5\nv 0.5 1.25 -2.75e-1\nv 1 0 0\n"
      "v 0 1 0\nvt 0.5 0.25\nf 1/1 2/1 3/1\n",
      ui);
  std::setlocale(LC_NUMERIC, saved.c_str());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(store_.vertices[0].x, 0.5f);
  EXPECT_EQ(store_.vertices[0].y, 1.25f);
  EXPECT_EQ(store_.vertices[0].z, -0.275f);
  EXPECT_EQ(store_.texVertices[store_.facetStream[1].texVertex - 1].v, 0.25f);
  EXPECT_EQ(store_.pixelsPerUnit, 12.5f);
}

}  // namespace
}  // namespace corvina
