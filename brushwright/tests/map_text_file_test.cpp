// The MAP file is written in text mode through a temporary file: a failed
// write must leave the previous file and no stray temporary behind.

#include "plugin/map_text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/test_support.h"

namespace brushwright_test {
namespace {

size_t entriesIn(const std::string& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                           std::filesystem::directory_iterator()));
}

TEST(MapTextFile, ReplacesTheTargetOnlyWhenEverythingWasWritten) {
  struct Case {
    std::string label;
    std::string text;
    rlim_t sizeLimit;  // 0: none
    bool committed;
    std::string expected;
  };
  const std::string big(100000, 'x');
  const Case cases[] = {
      {"line feeds become CR LF", "a\nb\n\nc", 0, true, "a\r\nb\r\n\r\nc"},
      {"nothing written", "", 0, true, ""},
      {"write fails midway", big + "\n", 4096, false, "previous"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    writeFile(folder.path("level.map"), "previous");
    bool committed = false;
    {
      std::optional<FileSizeLimit> limit;
      if (c.sizeLimit != 0) limit.emplace(c.sizeLimit);
      MapTextFile file;
      ASSERT_TRUE(file.open(folder.path("level.map"))) << c.label;
      file.write(c.text);
      committed = file.commit();
    }
    EXPECT_EQ(committed, c.committed) << c.label;
    EXPECT_EQ(readFile(folder.path("level.map")), c.expected) << c.label;
    EXPECT_EQ(entriesIn(folder.path("")), 1u) << c.label;
  }
}

TEST(MapTextFile, AbandonedWriteLeavesNoTrace) {
  TempFolder folder;
  {
    MapTextFile file;
    ASSERT_TRUE(file.open(folder.path("level.map")));
    file.write("half\n");
  }
  EXPECT_EQ(entriesIn(folder.path("")), 0u);
}

TEST(MapTextFile, KeepsLinksAndPermissionsOfTheTarget) {
  TempFolder folder;
  writeFile(folder.path("real.map"), "old");
  chmod(folder.path("real.map").c_str(), 0640);
  std::filesystem::create_symlink("real.map", folder.path("link.map"));
  MapTextFile file;
  ASSERT_TRUE(file.open(folder.path("link.map")));
  file.write("new\n");
  ASSERT_TRUE(file.commit());
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path("link.map")));
  EXPECT_EQ(readFile(folder.path("real.map")), "new\r\n");
  struct stat status {};
  stat(folder.path("real.map").c_str(), &status);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace brushwright_test
