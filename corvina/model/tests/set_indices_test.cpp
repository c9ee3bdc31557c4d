// Set-index assignment: which group, material or region each facet's corners
// receive from the statements around it.

#include <gtest/gtest.h>

#include "model/model_store.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::FacetSpec;
using testing::Statements;

enum class Table { Group, Material, Region };

struct SetCase {
  const char* name;
  int facets;
  Statements statements;
  std::vector<int> expectedPerFacet;
  int expectedDistinct;
};

const SetCase kSetCases[] = {
    // a, triangle, b, triangle, a, triangle.
    {"names_repeat", 3, {{0, "a"}, {1, "b"}, {2, "a"}}, {0, 1, 0}, 2},
    {"facet_before_first_statement", 3, {{1, "a"}, {2, "b"}}, {0, 0, 1}, 2},
    {"no_statements", 2, {}, {0, 0}, 0},
    {"one_distinct_name", 3, {{0, "a"}, {1, "a"}, {2, "a"}}, {0, 0, 0}, 1},
    {"two_statements_without_facet_between", 3, {{0, "a"}, {1, "b"}, {1, "c"}}, {0, 2, 2}, 3},
    {"statement_after_last_facet", 2, {{0, "a"}, {1, "b"}, {2, "c"}}, {0, 1}, 3},
    {"many_sets", 5, {{0, "a"}, {1, "b"}, {2, "c"}, {3, "b"}, {4, "d"}}, {0, 1, 2, 1, 3}, 4},
};

class AssignSetIndicesTest : public ::testing::TestWithParam<std::tuple<SetCase, Table>> {};

TEST_P(AssignSetIndicesTest, EveryCornerTakesTheStatementBeforeItsFacet) {
  const auto& [c, table] = GetParam();
  std::vector<FacetSpec> facets(c.facets, FacetSpec{{1}, {2}, {3}});
  ModelStore store = testing::buildModel(std::vector<Vertex>(3), {}, facets);
  std::vector<SetRecord>& target = table == Table::Group      ? store.groups
                                   : table == Table::Material ? store.materials
                                                              : store.regions;
  int& distinct = table == Table::Group      ? store.numGroups
                  : table == Table::Material ? store.numMaterials
                                             : store.numRegions;
  int& statements = table == Table::Group      ? store.numGroupStatements
                    : table == Table::Material ? store.numMaterialStatements
                                               : store.numRegionStatements;
  testing::fillSetTable(target, distinct, statements, c.statements, store.numCornerRecords);
  ASSERT_EQ(distinct, c.expectedDistinct);
  // Stale values that assignment must overwrite: set bits, selection, hiding.
  for (CornerRecord& record : store.facetStream) {
    record.group = kSelectedBit | 7;
    record.material = 9;
    record.region = 11;
    record.flags = kHiddenBit;
  }

  assignSetIndices(store);

  int facet = 0;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    EXPECT_EQ(record.flags, 0);
    if (record.vertex == 0) {
      ++facet;
      continue;
    }
    const int expected = c.expectedPerFacet[facet - 1];
    EXPECT_EQ(record.group, table == Table::Group ? expected : 0) << "facet " << facet;
    EXPECT_EQ(record.material, table == Table::Material ? expected : 0) << "facet " << facet;
    EXPECT_EQ(record.region, table == Table::Region ? expected : 0) << "facet " << facet;
  }
  EXPECT_EQ(facet, c.facets);
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<SetCase, Table>>& info) {
  static const char* const kTableNames[] = {"group", "material", "region"};
  return std::string(std::get<0>(info.param).name) + "_" +
         kTableNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Cases, AssignSetIndicesTest,
                         ::testing::Combine(::testing::ValuesIn(kSetCases),
                                            ::testing::Values(Table::Group, Table::Material,
                                                              Table::Region)),
                         caseName);

}  // namespace
}  // namespace corvina
