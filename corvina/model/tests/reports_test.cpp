// The statistics and dimensions texts, byte for byte.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "model/reports.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::FacetSpec;

// One triangle and one untextured corner of a second facet.
ModelStore reportModel() {
  ModelStore store =
      testing::buildModel({{1.5f, 2, -3}, {-0.5f, 0, 4}, {2, -1, 0.25f}, {10, 10, 10}},
                          {{0, 0.25f, 0}, {1, 0.5f, 0}, {0.5f, 1.0f, 0}},
                          {FacetSpec{{1, 1}, {2, 2}, {3, 3}}, FacetSpec{{2, 2}, {3, 3}, {4, 0}}});
  return store;
}

const std::string kAllCorners =
    "min x = -0.50000\tmax x =  10.00000\n"
    "min y = -1.00000\tmax y =  10.00000\n"
    "min z = -3.00000\tmax z =  10.00000\n\n"
    "min u =  0.00000\tmax u =  1.00000\n"
    "min v =  0.25000\tmax v =  1.00000";

const std::string kNothingWidened =
    "min x =  100000.00000\tmax x = -100000.00000\n"
    "min y =  100000.00000\tmax y = -100000.00000\n"
    "min z =  100000.00000\tmax z = -100000.00000\n\n"
    "min u =  100000.00000\tmax u = -100000.00000\n"
    "min v =  100000.00000\tmax v = -100000.00000";

struct DimensionsCase {
  const char* name;
  std::vector<int> selectedCorners;  // 0-based over the six corners
  bool selectionActive;
  bool dropTexCoords;  // every corner on the no-UV marker
  std::string expected;
};

const DimensionsCase kDimensionsCases[] = {
    {"all_corners", {}, false, false, kAllCorners},
    {"bits_ignored_without_selection", {0}, false, false, kAllCorners},
    {"selection_of_one_corner",
     {1},
     true,
     false,
     "min x = -0.50000\tmax x = -0.50000\n"
     "min y =  0.00000\tmax y =  0.00000\n"
     "min z =  4.00000\tmax z =  4.00000\n\n"
     "min u =  1.00000\tmax u =  1.00000\n"
     "min v =  0.50000\tmax v =  0.50000"},
    {"active_selection_with_nothing_selected", {}, true, false, kNothingWidened},
    {"no_texture_coordinates",
     {},
     false,
     true,
     "min x = -0.50000\tmax x =  10.00000\n"
     "min y = -1.00000\tmax y =  10.00000\n"
     "min z = -3.00000\tmax z =  10.00000\n\n"
     "min u =  100000.00000\tmax u =  100000.00000\n"
     "min v = -100000.00000\tmax v = -100000.00000"},
};

class DimensionsTest : public ::testing::TestWithParam<DimensionsCase> {};

TEST_P(DimensionsTest, TextMatchesByteForByte) {
  const DimensionsCase& c = GetParam();
  ModelStore store = reportModel();
  if (c.dropTexCoords) {
    for (CornerRecord& record : store.facetStream) record.texVertex = 0;
    store.texVertices.clear();
    store.numTVerts = 0;
  }
  expandTextureVertices(store, false);
  int corner = 0;
  for (CornerRecord& record : store.facetStream) {
    if (record.vertex <= 0) continue;
    for (int selected : c.selectedCorners) {
      if (selected == corner) record.group |= kSelectedBit;
    }
    ++corner;
  }
  EXPECT_EQ(dimensionsText(store, c.selectionActive), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DimensionsTest, ::testing::ValuesIn(kDimensionsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Dimensions, IndicesOutsideTheArraysAreSkipped) {
  ModelStore store = reportModel();
  store.facetStream[1].vertex = 99;
  store.facetStream[1].texVertex = 99;
  store.facetStream[2].texVertex = -4;
  store.numVerts = 40;  // a count larger than its array must not be trusted
  const std::string text = dimensionsText(store, false);
  EXPECT_EQ(text.substr(0, text.find('\n')), "min x = -0.50000\tmax x =  10.00000");
  EXPECT_NE(text.find("min u =  0.50000\tmax u =  1.00000"), std::string::npos) << text;
}

// A German numeric locale writes "0,5" through printf; the report must not.
TEST(Dimensions, IgnoresTheNumericLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  const char* german = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"}) {
    if ((german = std::setlocale(LC_NUMERIC, name)) != nullptr) break;
  }
  if (german == nullptr) GTEST_SKIP() << "no German locale installed";
  const std::string decimalPoint = std::localeconv()->decimal_point;
  const std::string text = dimensionsText(reportModel(), false);
  std::setlocale(LC_NUMERIC, previous.c_str());
  ASSERT_EQ(decimalPoint, ",") << "the locale must really use a decimal comma";
  // The compact model reports the same ranges as the expanded one.
  EXPECT_EQ(text, kAllCorners);
}

TEST(Statistics, CountsAsTheyStand) {
  ModelStore store = reportModel();
  store.numVNormals = 5;
  store.numGroups = 2;
  store.numGroupStatements = 3;  // statements are not reported
  store.numMaterials = 1;
  store.numRegions = 0;
  const std::string compact =
      "vertices = 4\ntextures = 3\nnormals = 5\nfacets = 2\ngroups = 2\nmaterials = 1\n"
      "regions = 0";
  EXPECT_EQ(statisticsText(store), compact);
  expandTextureVertices(store, false);
  EXPECT_NE(statisticsText(store).find("\ntextures = 9\n"), std::string::npos);
}

}  // namespace
}  // namespace corvina
