// Select all, none and inverse, selecting by set, the select method, and
// assigning the selection to a set that may have to be created.

#include "tools/selection_sets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::FacetSpec;

// Four triangles side by side along u, each corner owning its texture
// vertex; facet f (1..4) spans u 0.2f-0.1 .. 0.2f, v 0.1 .. 0.3. Groups by
// statements: facets 1 and 3 "wood", 2 "metal", 4 "glass"; no materials;
// regions "outer" for all.
ModelStore fourFacets() {
  std::vector<TexVertex> uvs;
  std::vector<FacetSpec> facets;
  for (int f = 1; f <= 4; ++f) {
    const float right = 0.2f * static_cast<float>(f);
    uvs.push_back({right - 0.1f, 0.1f, 0});
    uvs.push_back({right, 0.1f, 0});
    uvs.push_back({right, 0.3f, 0});
    const int t = static_cast<int>(uvs.size());
    facets.push_back(FacetSpec{{1, t - 2}, {2, t - 1}, {3, t}});
  }
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), uvs, facets);
  testing::fillSetTable(store.groups, store.numGroups, store.numGroupStatements,
                        {{0, "wood"}, {1, "metal"}, {2, "wood"}, {3, "glass"}},
                        store.numCornerRecords);
  testing::fillSetTable(store.regions, store.numRegions, store.numRegionStatements, {{0, "outer"}},
                        store.numCornerRecords);
  assignSetIndices(store);
  store.texVerticesExpanded = 1;
  return store;
}

// Per facet: whether all its corners are selected (1), none (0) or some (2).
std::vector<int> facetSelection(const ModelStore& store) {
  std::vector<int> result;
  int selected = 0, corners = 0;
  auto close = [&] {
    if (corners > 0) result.push_back(selected == corners ? 1 : selected == 0 ? 0 : 2);
    selected = corners = 0;
  };
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) {
      close();
      continue;
    }
    ++corners;
    if (record.group & kSelectedBit) ++selected;
  }
  close();
  return result;
}

std::vector<int> cornerSets(const ModelStore& store, SetKind kind) {
  std::vector<int> sets;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) continue;
    const int group = record.group & kSetIndexMask;
    sets.push_back(kind == SetKind::Group      ? group
                   : kind == SetKind::Material ? record.material
                                               : record.region);
  }
  return sets;
}

void selectFacets(ModelStore& store, const std::vector<int>& chosen) {
  int facet = 0;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) {
      ++facet;
      continue;
    }
    if (std::find(chosen.begin(), chosen.end(), facet) != chosen.end()) {
      record.group |= kSelectedBit;
    }
  }
}

TEST(SelectionSets, FixtureGroupsAsStated) {
  const ModelStore store = fourFacets();
  EXPECT_EQ(cornerSets(store, SetKind::Group),
            (std::vector<int>{0, 0, 0, 1, 1, 1, 0, 0, 0, 2, 2, 2}));
}

struct SelectBySetCase {
  const char* name;
  SetKind kind;
  std::vector<int> chosen;
  std::vector<int> facets;
  bool active;
};

const SelectBySetCase kSelectBySetCases[] = {
    {"one_group_two_facets", SetKind::Group, {0}, {1, 0, 1, 0}, true},
    {"two_groups", SetKind::Group, {1, 2}, {0, 1, 0, 1}, true},
    {"no_group_chosen", SetKind::Group, {}, {0, 0, 0, 0}, false},
    {"index_outside_the_table_ignored", SetKind::Group, {7, -1, 20000}, {0, 0, 0, 0}, false},
    {"region_of_every_facet", SetKind::Region, {0}, {1, 1, 1, 1}, true},
    {"material_zero_without_materials", SetKind::Material, {0}, {1, 1, 1, 1}, true},
};

class SelectBySetTest : public ::testing::TestWithParam<SelectBySetCase> {};

TEST_P(SelectBySetTest, ReplacesTheSelection) {
  const SelectBySetCase& c = GetParam();
  ModelStore store = fourFacets();
  selectFacets(store, {2, 4});  // an earlier selection, partly replaced
  store.facetStream[1].group &= static_cast<std::uint16_t>(~kSelectedBit);
  SelectionState selection;
  selectBySets(store, selection, c.kind, c.chosen, 100, 100);
  EXPECT_EQ(facetSelection(store), c.facets);
  EXPECT_EQ(selection.selectionActive, c.active);
}

INSTANTIATE_TEST_SUITE_P(Sets, SelectBySetTest, ::testing::ValuesIn(kSelectBySetCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelectionSets, SelectBySetCommitsAPendingMoveFirst) {
  ModelStore store = fourFacets();
  selectFacets(store, {1});
  SelectionState selection;
  fitFrameToSelection(store, selection, 100, 100);
  selection.target.left += 0.5f;
  selection.target.right += 0.5f;
  selectBySets(store, selection, SetKind::Group, {2}, 100, 100);
  EXPECT_NEAR(testing::cornerUvs(store)[0].first, 0.6f, 1e-6);
  EXPECT_EQ(facetSelection(store), (std::vector<int>{0, 0, 0, 1}));
}

TEST(SelectionSets, SelectAllFitsTheFrameAroundEverything) {
  ModelStore store = fourFacets();
  SelectionState selection;
  selectAll(store, selection, 100, 50);
  EXPECT_EQ(facetSelection(store), (std::vector<int>{1, 1, 1, 1}));
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_FLOAT_EQ(selection.source.left, 0.1f);
  EXPECT_FLOAT_EQ(selection.source.right, 0.8f);
  EXPECT_FLOAT_EQ(selection.target.top, 0.7f);
  EXPECT_FLOAT_EQ(selection.target.bottom, 0.9f);
  EXPECT_EQ(selection.framePixels.right, 80);
  EXPECT_EQ(selection.framePixels.top, 35);
  for (const Vertex& v : store.vertices) EXPECT_EQ(v.mark, 1);
}

TEST(SelectionSets, SelectNoneCommitsTheMove) {
  ModelStore store = fourFacets();
  SelectionState selection;
  selectAll(store, selection, 100, 100);
  selection.target.top -= 0.25f;
  selection.target.bottom -= 0.25f;
  selectNone(store, selection);
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_EQ(facetSelection(store), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_NEAR(testing::cornerUvs(store)[0].second, 0.35f, 1e-6);
}

TEST(SelectionSets, InverseTogglesAndDropsThePendingMove) {
  ModelStore store = fourFacets();
  selectFacets(store, {1, 2});
  SelectionState selection;
  fitFrameToSelection(store, selection, 100, 100);
  selection.target.left += 0.5f;
  selectInverse(store, selection, 100, 100);
  EXPECT_EQ(facetSelection(store), (std::vector<int>{0, 0, 1, 1}));
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_FLOAT_EQ(selection.source.left, 0.5f);
  EXPECT_EQ(testing::cornerUvs(store), testing::cornerUvs(fourFacets()));
  // The inverse of everything is nothing, and no frame.
  selectAll(store, selection, 100, 100);
  selectInverse(store, selection, 100, 100);
  EXPECT_EQ(facetSelection(store), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_FALSE(selection.selectionActive);
}

TEST(SelectionSets, SelectMethodCommitsOnlyWhenItChanges) {
  for (SelectMethod method : {SelectMethod::ByFacet, SelectMethod::ByVertex}) {
    ModelStore store = fourFacets();
    SelectionState selection;
    selectAll(store, selection, 100, 100);
    selection.target.left += 0.1f;
    const bool changes = method != SelectMethod::ByFacet;
    EXPECT_EQ(changeSelectMethod(store, selection, method), changes);
    EXPECT_EQ(selection.selectMethod, method);
    EXPECT_EQ(selection.selectionActive, !changes);
    EXPECT_NEAR(testing::cornerUvs(store)[0].first, changes ? 0.2f : 0.1f, 1e-6);
  }
}

TEST(SetNames, ListedAlphabeticallyAndFoundExactly) {
  ModelStore store = fourFacets();
  EXPECT_EQ(setNamesForDialog(store, SetKind::Group),
            (std::vector<std::string>{"glass", "metal", "wood"}));
  EXPECT_TRUE(setNamesForDialog(store, SetKind::Material).empty());
  testing::fillSetTable(store.materials, store.numMaterials, store.numMaterialStatements,
                        {{0, "b"}, {1, "Apple"}, {2, "apple"}, {3, "C"}}, store.numCornerRecords);
  EXPECT_EQ(setNamesForDialog(store, SetKind::Material),
            (std::vector<std::string>{"Apple", "apple", "b", "C"}));
  EXPECT_EQ(findSetByName(store, SetKind::Material, "apple"), 2);
  EXPECT_EQ(findSetByName(store, SetKind::Material, "Apple"), 1);
  EXPECT_EQ(findSetByName(store, SetKind::Material, "APPLE"), std::nullopt);
  EXPECT_EQ(findSetByName(store, SetKind::Group, "glass"), 2);
  EXPECT_EQ(findSetByName(store, SetKind::Region, "glass"), std::nullopt);
}

struct NameCase {
  std::string typed;
  std::string name;
};

TEST(SetNames, TypedNamesAreCutToWhatASetHolds) {
  const NameCase cases[] = {
      {"paint", "paint"},
      {std::string(120, 'n'), std::string(95, 'n')},
      {std::string(95, 'a'), std::string(95, 'a')},
      {"two\nlines", "two"},
      {"carriage\rreturn", "carriage"},
      {std::string("nul\0after", 9), "nul"},
      {"", ""},
  };
  for (const NameCase& c : cases) EXPECT_EQ(assignmentSetName(c.typed), c.name) << c.typed;
}

TEST(CreateSet, FirstSetOfAKindComesAfterDefault) {
  ModelStore store = fourFacets();
  selectFacets(store, {2});
  const std::optional<int> index = createSet(store, SetKind::Material, "paint");
  ASSERT_EQ(index, 1);
  assignSelectionToSet(store, SetKind::Material, *index);
  EXPECT_EQ(store.numMaterials, 2);
  EXPECT_EQ(store.numMaterialStatements, 2);
  EXPECT_STREQ(store.materials[0].name, "default");
  EXPECT_STREQ(store.materials[1].name, "paint");
  EXPECT_EQ(store.materials[1].firstFacet, 4);
  EXPECT_EQ(store.materials[1].setIndex, 1);
  EXPECT_EQ(cornerSets(store, SetKind::Material),
            (std::vector<int>{0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
  // The group fields kept their indices and selected bits.
  EXPECT_EQ(cornerSets(store, SetKind::Group), cornerSets(fourFacets(), SetKind::Group));
  EXPECT_EQ(facetSelection(store), (std::vector<int>{0, 1, 0, 0}));
}

TEST(CreateSet, TypingDefaultInAnEmptyTableMakesOneSet) {
  ModelStore store = fourFacets();
  EXPECT_EQ(createSet(store, SetKind::Material, "default"), 0);
  EXPECT_EQ(store.numMaterials, 1);
}

TEST(CreateSet, GroupsKeepTheirStatementsAndSentinel) {
  ModelStore store = fourFacets();
  const std::vector<SetRecord> before = store.groups;
  selectFacets(store, {1});
  const std::optional<int> index = createSet(store, SetKind::Group, "stone");
  ASSERT_EQ(index, 3);
  EXPECT_EQ(store.numGroups, 4);
  EXPECT_EQ(store.numGroupStatements, 5);
  EXPECT_STREQ(store.groups[3].name, "stone");
  for (std::size_t s = 0; s < 4; ++s) {
    EXPECT_EQ(store.groups[s].firstFacet, before[s].firstFacet) << s;
    EXPECT_EQ(store.groups[s].setIndex, before[s].setIndex) << s;
  }
  EXPECT_EQ(store.groups[4].firstFacet, 4);
  EXPECT_EQ(store.groups[4].setIndex, 3);
  EXPECT_EQ(store.groups[5].firstFacet, store.numCornerRecords);
  // The table still gives every facet its group when read again.
  assignSetIndices(store);
  EXPECT_EQ(cornerSets(store, SetKind::Group), cornerSets(fourFacets(), SetKind::Group));
}

TEST(CreateSet, LongNameIsFoundAgainByItsCutForm) {
  ModelStore store = fourFacets();
  const std::string typed(120, 'q');
  ASSERT_FALSE(findSetByName(store, SetKind::Region, assignmentSetName(typed)).has_value());
  const std::optional<int> index = createSet(store, SetKind::Region, typed);
  ASSERT_EQ(index, 1);
  EXPECT_EQ(std::strlen(store.regions[1].name), 95u);
  EXPECT_EQ(findSetByName(store, SetKind::Region, assignmentSetName(typed)), 1);
}

TEST(CreateSet, FourteenBitIndexUsedUpRefusesANewSet) {
  ModelStore store = fourFacets();
  store.groups.assign(16385, SetRecord{});
  store.numGroups = 16384;
  store.numGroupStatements = 16384;
  EXPECT_EQ(createSet(store, SetKind::Group, "one more"), std::nullopt);
  EXPECT_EQ(store.numGroups, 16384);
  store.numGroups = 16383;
  EXPECT_EQ(createSet(store, SetKind::Group, "last"), 16383);
}

TEST(AssignSelection, OnlySelectedCornersMoveAndBitsStay) {
  ModelStore store = fourFacets();
  selectFacets(store, {3, 4});
  assignSelectionToSet(store, SetKind::Group, 1);
  EXPECT_EQ(cornerSets(store, SetKind::Group),
            (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(facetSelection(store), (std::vector<int>{0, 0, 1, 1}));
  assignSelectionToSet(store, SetKind::Region, -1);  // not a set: no change
  EXPECT_EQ(cornerSets(store, SetKind::Region), cornerSets(fourFacets(), SetKind::Region));
}

}  // namespace
}  // namespace corvina
