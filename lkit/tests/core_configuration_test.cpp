// The configuration file: what Save writes, what Load makes of a file.

#include <gtest/gtest.h>

#include <string>

#include "core/configuration.h"
#include "tests/temp_tree.h"

namespace lkit {
namespace {

TEST(Configuration, SaveWritesSectionsInTheirOrderAndLoadsBack) {
  Configuration settings;
  settings.projectName = "loom work";
  settings.baseFolder = "/games/demo";
  settings.categories = {{"Scripts", "cs", true}, {"GUI", "gui", false}};
  settings.excludedFolders = {{"CVS", true}, {".git", false}};
  settings.autoOrganize = 1;
  settings.filesBeforeFolders = 0;
  const std::string expected =
      "[Misc]\r\nName=loom work\r\nBase=/games/demo\r\n"
      "[Descrip]\r\n0=Scripts\r\n1=GUI\r\n"
      "[DescripCheck]\r\n0=True\r\n1=False\r\n"
      "[Type]\r\n0=cs\r\n1=gui\r\n"
      "[Exclude]\r\n0=CVS\r\n1=.git\r\n"
      "[ExcludeCheck]\r\n0=True\r\n1=False\r\n"
      "[Flags]\r\nAutoOrg=1\r\nSort=0\r\n";
  testing::TempTree tree;
  std::string path = tree.path("lkit.ini");
  tree.file("lkit.ini", "[Old]\r\nstale=1\r\n");  // a save replaces the whole file
  ASSERT_TRUE(saveConfiguration(settings, path));
  EXPECT_EQ(testing::readFile(path), expected);

  LoadedConfiguration loaded = loadConfiguration(path);
  EXPECT_EQ(loaded.projectName, "loom work");
  EXPECT_EQ(loaded.baseFolder, "/games/demo");
  ASSERT_EQ(loaded.categories.size(), 2u);
  EXPECT_EQ(loaded.categories[1].description, "GUI");
  EXPECT_EQ(loaded.categories[1].type, "gui");
  EXPECT_FALSE(loaded.categories[1].checked);
  ASSERT_EQ(loaded.excludedFolders.size(), 2u);
  EXPECT_TRUE(loaded.excludedFolders[0].checked);
  EXPECT_FALSE(loaded.excludedFolders[1].checked);
  EXPECT_EQ(loaded.autoOrganize, 1);
  EXPECT_EQ(loaded.filesBeforeFolders, 0);
}

TEST(Configuration, EmptyListsWriteNoListSections) {
  Configuration settings;
  settings.projectName = "p";
  settings.baseFolder = "/";
  EXPECT_EQ(configurationProfile(settings).text(),
            "[Misc]\r\nName=p\r\nBase=/\r\n[Flags]\r\nAutoOrg=0\r\nSort=0\r\n");
  LoadedConfiguration loaded = readConfiguration(configurationProfile(settings));
  EXPECT_TRUE(loaded.categories.empty());
  EXPECT_TRUE(loaded.excludedFolders.empty());
}

struct LoadCase {
  const char* name;
  const char* text;
  std::vector<std::string> descriptions;
  std::vector<std::string> types;
  std::vector<bool> checks;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
  *os << c.name;
}

class ConfigurationLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ConfigurationLoadTest, ReadsTheCategoryList) {
  const LoadCase& c = GetParam();
  LoadedConfiguration loaded = readConfiguration(IniProfile::parse(c.text));
  std::vector<std::string> descriptions, types;
  std::vector<bool> checks;
  for (const Category& row : loaded.categories) {
    descriptions.push_back(row.description);
    types.push_back(row.type);
    checks.push_back(row.checked);
  }
  EXPECT_EQ(descriptions, c.descriptions);
  EXPECT_EQ(types, c.types);
  EXPECT_EQ(checks, c.checks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigurationLoadTest,
    ::testing::Values(
        LoadCase{"GapEndsTheList",
                 "[Descrip]\n0=A\n1=B\n3=D\n[Type]\n0=a\n1=b\n3=d\n",
                 {"A", "B"},
                 {"a", "b"},
                 {true, true}},
        LoadCase{"MissingTypeAndCheck", "[Descrip]\n0=A\n", {"A"}, {".???"}, {true}},
        LoadCase{"DashEndsTheList", "[Descrip]\n0=A\n1=-\n2=C\n", {"A"}, {".???"}, {true}},
        LoadCase{"EmptyDescriptionIsKept", "[Descrip]\n0=\n", {""}, {".???"}, {true}},
        LoadCase{"CheckTexts",
                 "[Descrip]\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n"
                 "[DescripCheck]\n0=FALSE\n1=true\n2=0\n3=-2\n4=yes\n5=0.0\n",
                 {"a", "b", "c", "d", "e", "f"},
                 {".???", ".???", ".???", ".???", ".???", ".???"},
                 {false, true, false, true, true, false}},
        LoadCase{"SectionsInAnyCase", "[descrip]\n0=A\n[TYPE]\n0=x\n", {"A"}, {"x"}, {true}},
        LoadCase{"ByteOrderMarkBeforeFirstSection",
                 "\xEF\xBB\xBF[Descrip]\r\n0=Scripts\r\n[Type]\r\n0=cs\r\n",
                 {"Scripts"},
                 {"cs"},
                 {true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Configuration, MissingFileGivesMarkersAndNoFlags) {
  testing::TempTree tree;
  LoadedConfiguration loaded = loadConfiguration(tree.path("none.ini"));
  EXPECT_EQ(loaded.projectName, "-");
  EXPECT_EQ(loaded.baseFolder, "-");
  EXPECT_TRUE(loaded.categories.empty());
  EXPECT_FALSE(loaded.autoOrganize.has_value());
  EXPECT_FALSE(loaded.filesBeforeFolders.has_value());
}

TEST(Configuration, FlagsOtherThanZeroOrOneLeaveTheBoxAlone) {
  LoadedConfiguration loaded =
      readConfiguration(IniProfile::parse("[Flags]\nAutoOrg= 1 \nSort=yes\n"));
  EXPECT_EQ(loaded.autoOrganize, 1);
  EXPECT_FALSE(loaded.filesBeforeFolders.has_value());
  EXPECT_FALSE(readConfiguration(IniProfile::parse("[Flags]\nAutoOrg=2\n")).autoOrganize);
}

TEST(Configuration, LongValuesLoadAs127Characters) {
  std::string text =
      "[Misc]\nName=" + std::string(200, 'n') + "\n[Exclude]\n0=" + std::string(200, 'e') + "\n";
  LoadedConfiguration loaded = readConfiguration(IniProfile::parse(text));
  EXPECT_EQ(loaded.projectName, std::string(127, 'n'));
  ASSERT_EQ(loaded.excludedFolders.size(), 1u);
  EXPECT_EQ(loaded.excludedFolders[0].name, std::string(127, 'e'));
}

TEST(Configuration, ListsStopAtTheirLimits) {
  IniProfile config;
  for (int i = 0; i <= kMaxCategories; ++i) config.write("Descrip", std::to_string(i), "c");
  for (int j = 0; j <= kMaxExcludedFolders; ++j) config.write("Exclude", std::to_string(j), "e");
  LoadedConfiguration loaded = readConfiguration(config);
  EXPECT_EQ(loaded.categories.size(), static_cast<std::size_t>(kMaxCategories));
  EXPECT_EQ(loaded.excludedFolders.size(), static_cast<std::size_t>(kMaxExcludedFolders));
}

}  // namespace
}  // namespace lkit
