// The UVS import: hand-written files applied to a model of three triangles,
// the structure check, selections, set tables, settings, and round trips
// through the UVS and OBJ writers.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "files/obj_writer.h"
#include "files/uvs_reader.h"
#include "files/uvs_writer.h"
#include "testing/counting_progress.h"
#include "testing/file_bytes.h"
#include "testing/model_builder.h"
#include "tools/degenerate_facets.h"

namespace corvina {
namespace {

using testing::ModelRecipe;
using testing::ScratchFolder;
using Uv = std::pair<float, float>;

// The (u, v) every corner sees, in stream order.
std::vector<Uv> cornerUvs(const ModelStore& store) {
  std::vector<Uv> uvs;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) continue;
    const TexVertex& t = store.texVertices.at(static_cast<std::size_t>(record.texVertex) - 1);
    uvs.emplace_back(t.u, t.v);
  }
  return uvs;
}

// What a value becomes when written with eight decimals and read again.
float eightDecimals(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.8f", value);
  return std::strtof(text, nullptr);
}

//  three triangles over four vertices, each corner with its own coordinate
ModelRecipe threeTriangles() {
  ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  for (int i = 0; i < 9; ++i) {
    recipe.texVertices.push_back({0.05f * static_cast<float>(i), 0.9f - 0.05f * i});
  }
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}}, {{2, 4}, {4, 5}, {3, 6}}, {{1, 7}, {4, 8}, {2, 9}}};
  recipe.groups = {{0, "body"}, {2, "lid"}};
  recipe.materials = {{0, "wood"}};
  return recipe;
}

UvsImportResult importText(ModelStore& store, SelectionState& selection, const std::string& text,
                           const std::string& path = "/models/part.uvs") {
  ObjMemorySource source(text);
  testing::CountingProgress ui;
  const UvsImportResult result =
      readUvs(store, selection, source, path, ui, ObjLineReader::kMinimumChunkSize);
  EXPECT_EQ(ui.progressBegun, ui.progressEnded);
  return result;
}

const std::string kThreeTexVertices = "vt 0.1 0.2\nvt 0.3 0.4\nvt 0.5 0.6\n";
const Uv T1{0.1f, 0.2f}, T2{0.3f, 0.4f}, T3{0.5f, 0.6f};
// A corner left without a coordinate gets the smallest u and largest v.
const Uv kFiller{0.1f, 0.6f};

TEST(UvsImport, CornersTakeTheirTokensIndex) {
  struct Case {
    std::string name;
    std::string path;
    std::string facets;
    std::vector<Uv> expected;
  };
  const std::vector<Case> cases = {
      {"plain indices",
       "a.uvs",
       "f 1 2 3\nf 3 2 1\nf 1 1 1\n",
       {T1, T2, T3, T3, T2, T1, T1, T1, T1}},
      {"obj extension, any case",
       "a.OBJ",
       "f 1/3 2/2 3/1\nf 1/1 2/1/7 3/1\nf 1 2 3\n",
       {T3, T2, T1, T1, T1, T1, kFiller, kFiller, kFiller}},
      {"a slash switches the rest of the file",
       "a.uvs",
       "f 1 2 3\nf 3 2/1 2\nf 2/3 1//3 3/2\n",
       {T1, T2, T3, T3, T1, kFiller, T3, kFiller, T2}},
      {"negative indices count by magnitude",
       "a.uvs",
       "f -1 -2 -3\nf 1 1 1\nf 2 2 2\n",
       {T1, T2, T3, T1, T1, T1, T2, T2, T2}},
      {"beyond the file's coordinates or absent",
       "a.uvs",
       "f 1 2 4\nf 0 +2 99999999999999999999\nf 3 3 3\n",
       {T1, T2, kFiller, kFiller, kFiller, kFiller, T3, T3, T3}},
      {"fo and upper case keywords",
       "a.uvs",
       "fo 3 3 3\nF 2 2 2\nFO 1 1 1\n",
       {T3, T3, T3, T2, T2, T2, T1, T1, T1}},
  };
  for (const Case& c : cases) {
    ModelStore store = testing::buildModel(threeTriangles());
    SelectionState selection;
    const UvsImportResult result =
        importText(store, selection, kThreeTexVertices + "\n" + c.facets, c.path);
    ASSERT_EQ(result.outcome, UvsImportOutcome::Imported) << c.name;
    EXPECT_FALSE(result.outOfRange) << c.name;
    EXPECT_EQ(cornerUvs(store), c.expected) << c.name;
    EXPECT_EQ(store.texVerticesExpanded, 1) << c.name;
    EXPECT_EQ(store.numTVerts, store.numCornerRecords) << c.name;
    EXPECT_TRUE(result.importedCorners.empty()) << c.name;  // every corner took one
  }
}

TEST(UvsImport, RefusesAnotherFacetStructureAndKeepsTheModel) {
  struct Case {
    std::string name;
    std::string facets;
  };
  const std::vector<Case> cases = {
      {"third facet with four corners", "f 1 2 3\nf 1 2 3\nf 1 2 3 1\n"},
      {"a facet fewer", "f 1 2 3\nf 1 2 3\n"},
      {"a facet more", "f 1 2 3\nf 1 2 3\nf 1 2 3\nf 1 2 3\n"},
      {"same corner total, other split", "f 1 2\nf 1 2 3 1\nf 1 2 3\n"},
      {"no facets at all", ""},
  };
  for (const Case& c : cases) {
    ModelStore store = testing::buildModel(threeTriangles());
    const std::vector<Uv> before = cornerUvs(store);
    const int groups = store.numGroups;
    SelectionState selection;
    const UvsImportResult result =
        importText(store, selection, kThreeTexVertices + "g other\n" + c.facets);
    EXPECT_EQ(result.outcome, UvsImportOutcome::IncompatibleStructure) << c.name;
    EXPECT_EQ(cornerUvs(store), before) << c.name;
    EXPECT_EQ(store.numGroups, groups) << c.name;
  }
}

TEST(UvsImport, ActiveSelectionChangesOnlySelectedCorners) {
  ModelStore store = testing::buildModel(threeTriangles());
  const std::vector<Uv> before = cornerUvs(store);
  for (std::size_t j = 5; j < 8; ++j) store.facetStream[j].group |= kSelectedBit;  // facet 2
  store.facetStream[1].group |= kSelectedBit;  // and the first corner of facet 1
  SelectionState selection;
  selection.selectionActive = true;
  const UvsImportResult result =
      importText(store, selection, kThreeTexVertices + "f 3 3 3\nf 1 2 0\nf 2 2 2\n");
  ASSERT_EQ(result.outcome, UvsImportOutcome::Imported);
  std::vector<Uv> expected = before;
  expected[0] = T3;
  expected[3] = T1;
  expected[4] = T2;
  // An absent index leaves the corner without a coordinate: it gets the
  // smallest u and largest v of all, here of the kept coordinates.
  expected[5] = {0.0f, 0.9f};
  EXPECT_EQ(cornerUvs(store), expected);
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_NE(store.facetStream[5].group & kSelectedBit, 0);
  EXPECT_EQ(result.importedCorners, (std::vector<std::size_t>{1, 5, 6, 7}));
}

TEST(UvsImport, SetStatementsReplaceOnlyTheirTables) {
  ModelStore store = testing::buildModel(threeTriangles());
  store.facetStream[1].group |= kSelectedBit;
  store.vertices[0].mark = 1;
  SelectionState selection;
  selection.selectionActive = true;
  const UvsImportResult result =
      importText(store, selection,
                 kThreeTexVertices + "g x\nf 1 2 3\ng y\n# r left side\nf 1 2 3\ng x\nf 1 2 3\n");
  ASSERT_EQ(result.outcome, UvsImportOutcome::Imported);
  EXPECT_EQ(store.numGroups, 2);
  EXPECT_EQ(store.numGroupStatements, 3);
  EXPECT_STREQ(store.groups[0].name, "x");
  EXPECT_STREQ(store.groups[1].name, "y");
  EXPECT_EQ(store.groups[3].firstFacet, store.numCornerRecords);
  EXPECT_EQ(store.numRegions, 1);
  EXPECT_STREQ(store.regions[0].name, "left side");
  EXPECT_EQ(store.numMaterials, 1);
  EXPECT_STREQ(store.materials[0].name, "wood");
  const std::vector<int> groupOfFacet = {0, 1, 0};
  for (int facet = 0; facet < 3; ++facet) {
    for (int corner = 1; corner <= 3; ++corner) {
      const CornerRecord& record = store.facetStream[static_cast<std::size_t>(4 * facet + corner)];
      EXPECT_EQ(record.group, groupOfFacet[static_cast<std::size_t>(facet)]) << facet;
      EXPECT_EQ(record.region, 0);
      EXPECT_EQ(record.material, 0);
    }
  }
  // Reassigning the set indices cleared the selected bits: the selection is
  // over, and the result names the corners it limited the import to.
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_EQ(store.vertices[0].mark, 0);
  EXPECT_EQ(result.importedCorners, std::vector<std::size_t>{1});
}

TEST(UvsImport, FileWithoutGroupsKeepsTheModelsGroups) {
  ModelStore store = testing::buildModel(threeTriangles());
  const std::vector<SetRecord> groups = store.groups;
  SelectionState selection;
  ASSERT_EQ(importText(store, selection, kThreeTexVertices + "f 1 2 3\nf 1 2 3\nf 1 2 3\n").outcome,
            UvsImportOutcome::Imported);
  EXPECT_EQ(store.numGroups, 2);
  EXPECT_EQ(store.numGroupStatements, 2);
  EXPECT_STREQ(store.groups[1].name, "lid");
  EXPECT_EQ(store.facetStream[9].group, 1);  // the third facet is in "lid"
}

TEST(UvsImport, SettingsLineSetsTheValuesInRange) {
  struct Case {
    std::string line;
    int width, height, colorMode;
    float pixelsPerUnit;
  };
  const std::vector<Case> cases = {
      {"# x/y/color/ppu   256/128/3/20.5", 256, 128, 3, 20.5f},
      {"# x/y/color/ppu 0/512/2/50", 512, 512, 2, 50.0f},
      {"# x/y/color/ppu 64/64/9/0.5", 64, 64, 0, 50.0f},
      {"# x/y/color/ppu 64/64", 512, 512, 0, 50.0f},
  };
  for (const Case& c : cases) {
    ModelStore store = testing::buildModel(threeTriangles());
    SelectionState selection;
    ASSERT_EQ(importText(store, selection,
                         c.line + "\n" + kThreeTexVertices + "f 1 2 3\nf 1 2 3\nf 1 2 3\n")
                  .outcome,
              UvsImportOutcome::Imported)
        << c.line;
    EXPECT_EQ(store.mapWidth, c.width) << c.line;
    EXPECT_EQ(store.mapHeight, c.height) << c.line;
    EXPECT_EQ(store.colorMode, c.colorMode) << c.line;
    EXPECT_EQ(store.pixelsPerUnit, c.pixelsPerUnit) << c.line;
  }
}

TEST(UvsImport, ReportsCoordinatesOutsideTheUnitSquareWithoutChangingThem) {
  ModelStore store = testing::buildModel(threeTriangles());
  SelectionState selection;
  const UvsImportResult result =
      importText(store, selection, "vt 1.5 0\nvt 0 -0.25\nf 1 2 1\nf 1 1 1\nf 2 2 2\n");
  ASSERT_EQ(result.outcome, UvsImportOutcome::Imported);
  EXPECT_TRUE(result.outOfRange);
  EXPECT_EQ(cornerUvs(store)[0], Uv(1.5f, 0.0f));
}

// Bytes that differ after the first rewind, like a file rewritten between
// the passes.
class ChangingSource : public ObjByteSource {
 public:
  ChangingSource(std::string first, std::string later)
      : first_(std::move(first)), later_(std::move(later)) {}
  std::size_t read(char* destination, std::size_t capacity) override {
    const std::string& bytes = rewound_ ? later_ : first_;
    const std::size_t count = std::min(capacity, bytes.size() - position_);
    bytes.copy(destination, count, position_);
    position_ += count;
    return count;
  }
  bool rewind() override {
    rewound_ = true;
    position_ = 0;
    return true;
  }
  bool failed() const override { return false; }

 private:
  std::string first_, later_;
  bool rewound_ = false;
  std::size_t position_ = 0;
};

TEST(UvsImport, FileChangedBetweenPassesLeavesTheModel) {
  const std::string good = kThreeTexVertices + "g a\nf 1 2 3\nf 1 2 3\nf 1 2 3\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"more texture vertices", "vt 0 0\n" + good},
      {"a facet with another corner count", kThreeTexVertices + "g a\nf 1 2 3 1\nf 1 2\nf 1 2 3\n"},
      {"a facet less", kThreeTexVertices + "g a\nf 1 2 3\nf 1 2 3\n"},
      {"another group statement", "g b\n" + good},
  };
  for (const auto& [name, later] : cases) {
    ModelStore store = testing::buildModel(threeTriangles());
    const std::vector<Uv> before = cornerUvs(store);
    SelectionState selection;
    ChangingSource source(good, later);
    testing::CountingProgress ui;
    EXPECT_EQ(readUvs(store, selection, source, "/m/a.uvs", ui).outcome,
              UvsImportOutcome::ReadFailed)
        << name;
    EXPECT_EQ(cornerUvs(store), before) << name;
    EXPECT_STREQ(store.groups[0].name, "body") << name;
  }
}

TEST(UvsImport, UnreadablePathIsReported) {
  ModelStore store = testing::buildModel(threeTriangles());
  SelectionState selection;
  testing::CountingProgress ui;
  ScratchFolder folder;
  EXPECT_EQ(importUvsFile(store, selection, folder.file("absent.uvs"), ui).outcome,
            UvsImportOutcome::CannotOpen);
  EXPECT_EQ(importUvsFile(store, selection, folder.path().string(), ui).outcome,
            UvsImportOutcome::CannotOpen);
}

struct RoundTrip {
  std::string name;
  unsigned seed;
  UvsExportOptions options;
};

TEST(UvsImport, ExportedFileGivesTheCoordinatesBackToEightDecimals) {
  UvsExportOptions separate;
  separate.separateUVs = true;
  UvsExportOptions named;
  named.exportGroups = named.exportMaterials = named.exportRegions = true;
  named.noLinefeeds = true;
  const std::vector<RoundTrip> cases = {
      {"start values", 1, UvsExportOptions{}},
      {"separate coordinates", 2, separate},
      {"all names, line feeds only", 3, named},
  };
  ScratchFolder folder;
  for (const RoundTrip& c : cases) {
    ModelStore store = testing::buildModel(testing::randomModelRecipe(c.seed, 60));
    std::vector<Uv> expected = cornerUvs(store);
    for (Uv& uv : expected) uv = {eightDecimals(uv.first), eightDecimals(uv.second)};
    const std::vector<SetRecord> groups = store.groups;
    const std::string path = folder.file("trip.uvs");
    testing::CountingProgress ui;
    ASSERT_EQ(exportUvsFile(store, path, c.options, ui), WriteOutcome::Written) << c.name;
    for (TexVertex& t : store.texVertices) t = {0.5f, 0.5f, 0};

    SelectionState selection;
    const UvsImportResult result = importUvsFile(store, selection, path, ui);
    ASSERT_EQ(result.outcome, UvsImportOutcome::Imported) << c.name;
    EXPECT_EQ(cornerUvs(store), expected) << c.name;
    EXPECT_EQ(store.numGroups,
              static_cast<int>(std::count_if(groups.begin(), groups.end(),
                                             [](const SetRecord& r) { return r.name[0] != 0; })))
        << c.name;
  }
}

// A model whose every facet was removed is one separator and the end of the
// list; its export has no facet line, and imports onto it again.
TEST(UvsImport, ModelWithoutFacetsTakesItsOwnExport) {
  struct Case {
    std::string name;
    std::string text;
    UvsImportOutcome outcome;
  };
  const std::vector<Case> cases = {
      {"its export", "", UvsImportOutcome::Imported},
      {"a settings line only", "# x/y/color/ppu 64/32/1/5.0\n", UvsImportOutcome::Imported},
      {"one facet line", "vt 0 0\nf 1 1 1\n", UvsImportOutcome::IncompatibleStructure},
  };
  ScratchFolder folder;
  for (const Case& c : cases) {
    ModelStore store = testing::buildModel(threeTriangles());
    for (CornerRecord& record : store.facetStream) record.group |= kSelectedBit;
    ASSERT_TRUE(removeSelectedFacets(store));
    std::string text = c.text;
    if (c.name == "its export") {
      const std::string path = folder.file("empty.uvs");
      testing::CountingProgress ui;
      ASSERT_EQ(exportUvsFile(store, path, UvsExportOptions{}, ui), WriteOutcome::Written);
      text = testing::readBytes(path);
    }
    SelectionState selection;
    EXPECT_EQ(importText(store, selection, text).outcome, c.outcome) << c.name;
    EXPECT_EQ(store.facetStream.size(), 2u) << c.name;
  }
}

// The import reads names with the OBJ reader's rules, where a backslash
// escapes the next character and joins lines at a line's end: exported names
// holding one must come back as they were, facets and all.
TEST(UvsImport, NamesWithBackslashesComeBackFromAnExport) {
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  recipe.texVertices = {{0, 0}, {1, 0}, {0, 1}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 3}, {2, 2}}, {{2, 2}, {3, 3}, {1, 1}}};
  recipe.groups = {{0, "ends in\\"}, {1, "mid\\dle"}, {2, "plain"}};
  recipe.materials = {{0, "\\"}};
  recipe.regions = {{1, "two\\\\slashes"}};
  ModelStore store = testing::buildModel(recipe);
  const ModelStore exported = store;
  UvsExportOptions options;
  options.exportGroups = options.exportMaterials = options.exportRegions = true;
  ScratchFolder folder;
  const std::string path = folder.file("names.uvs");
  testing::CountingProgress ui;
  ASSERT_EQ(exportUvsFile(store, path, options, ui), WriteOutcome::Written);

  SelectionState selection;
  ASSERT_EQ(importUvsFile(store, selection, path, ui).outcome, UvsImportOutcome::Imported);
  const std::pair<const std::vector<SetRecord>*, const std::vector<SetRecord>*> tables[] = {
      {&exported.groups, &store.groups},
      {&exported.materials, &store.materials},
      {&exported.regions, &store.regions}};
  for (const auto& [before, after] : tables) {
    ASSERT_EQ(before->size(), after->size());
    for (std::size_t i = 0; i < before->size(); ++i)
      EXPECT_STREQ((*after)[i].name, (*before)[i].name) << i;
  }
  EXPECT_EQ(store.numGroups, 3);
  EXPECT_EQ(store.facetStream[5].group & kSetIndexMask, 1);  // the second facet's corners
}

TEST(UvsImport, ObjFileOfTheSameModelGivesItsTextureIndices) {
  ScratchFolder folder;
  for (unsigned seed : {4u, 5u}) {
    ModelStore store = testing::buildModel(testing::randomModelRecipe(seed, 40));
    std::vector<Uv> expected = cornerUvs(store);
    for (Uv& uv : expected) uv = {eightDecimals(uv.first), eightDecimals(uv.second)};
    const std::string path = folder.file("same.obj");
    testing::CountingProgress ui;
    ASSERT_EQ(writeObjFile(store, path, ObjExportOptions{}, ui), WriteOutcome::Written);
    for (TexVertex& t : store.texVertices) t = {0.5f, 0.5f, 0};

    SelectionState selection;
    ASSERT_EQ(importUvsFile(store, selection, path, ui).outcome, UvsImportOutcome::Imported);
    EXPECT_EQ(cornerUvs(store), expected) << seed;
  }
}

}  // namespace
}  // namespace corvina
