// The breadth-first search: type matching, exclusion, links, order, Abort
// and the result limit.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "core/folder_search.h"
#include "tests/temp_tree.h"

namespace lkit {
namespace {

struct TypeCase {
  const char* fileName;
  int expectedRow;
};

class CategoryMatchTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(CategoryMatchTest, FirstRowWithTheTypeWins) {
  bool abort = false;
  FolderSearch search({{"Scripts", "cs", true},
                       {"Again", "CS", true},
                       {"Make", "makefile", false},
                       {"Dotted", ".txt", true},
                       {"NoType", "", true}},
                      {}, abort);
  EXPECT_EQ(search.categoryFor(GetParam().fileName), GetParam().expectedRow);
}

INSTANTIATE_TEST_SUITE_P(Cases, CategoryMatchTest,
                         ::testing::Values(TypeCase{"a.cs", 0}, TypeCase{"a.b.CS", 0},
                                           TypeCase{"Makefile", 2}, TypeCase{"MAKEFILE", 2},
                                           TypeCase{"x.txt", -1}, TypeCase{"x.makefile", 2},
                                           TypeCase{"trailing.", 4}, TypeCase{"cs", 0},
                                           TypeCase{"a.csx", -1}));

TEST(FolderSearch, TrimAtNulAndFileType) {
  const char field[8] = {'a', '.', 'c', 's', '\0', 'z', 'z', '\0'};
  EXPECT_EQ(TrimAtNul(std::string_view(field, sizeof(field))), "a.cs");
  EXPECT_EQ(TrimAtNul("no nul"), "no nul");
  EXPECT_EQ(fileType(".hidden"), "hidden");
  EXPECT_EQ(fileType("Makefile"), "Makefile");
}

struct ExcludeCase {
  const char* name;
  bool excluded;
};

class ExclusionTest : public ::testing::TestWithParam<ExcludeCase> {};

TEST_P(ExclusionTest, CheckedRowsByLastComponent) {
  bool abort = false;
  FolderSearch search({}, {{"Old", true}, {"art/Temp", true}, {"skip", false}, {"trail/", true}},
                      abort);
  EXPECT_EQ(search.IsExcludedFolder(GetParam().name), GetParam().excluded);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExclusionTest,
                         ::testing::Values(ExcludeCase{"old", true}, ExcludeCase{"OLD", true},
                                           ExcludeCase{"temp", true}, ExcludeCase{"art", false},
                                           ExcludeCase{"skip", false}, ExcludeCase{"trail", true},
                                           ExcludeCase{"older", false}));

std::vector<std::string> rows(const FolderSearch& search) {
  std::vector<std::string> out;
  for (const FoundFile& f : search.results()) out.push_back(f.row);
  return out;
}

TEST(FolderSearch, FindsSortsExcludesAndSkipsLinks) {
  testing::TempTree tree;
  const std::string d = tree.root() + "/";
  tree.file("main.cs");
  tree.file("readme.txt");
  tree.file("scripts/a.cs");
  tree.file("scripts/client/ui.gui");
  tree.file("old/x.cs");  // excluded, checked
  tree.file("tmp/y.cs");  // excluded row unchecked: searched
  tree.folder("empty/deeper");
  tree.file("empty/deeper/z.cs");
  std::filesystem::create_directory_symlink(tree.path("scripts"), tree.path("link"));
  std::filesystem::create_symlink(tree.path("main.cs"), tree.path("alias.cs"));
  std::filesystem::create_symlink(tree.path("nowhere"), tree.path("broken.cs"));

  bool abort = false;
  FolderSearch search({{"Scripts", "cs", true}, {"GUI", "gui", true}},
                      {{"old", true}, {"tmp", false}}, abort);
  search.SearchTree(tree.root());
  search.sortLists();
  std::vector<std::string> expected = {
      "GUI=" + d + "scripts/client/ui.gui", "Scripts=" + d + "alias.cs",
      "Scripts=" + d + "empty/deeper/z.cs", "Scripts=" + d + "main.cs",
      "Scripts=" + d + "scripts/a.cs",      "Scripts=" + d + "tmp/y.cs"};
  EXPECT_EQ(rows(search), expected);
  // Every scanned folder lists "." and ".."; the link is listed, not entered.
  std::vector<std::string> folders = {".",      ".",      ".",     ".",    ".",       ".",
                                      "..",     "..",     "..",    "..",   "..",      "..",
                                      "client", "deeper", "empty", "link", "scripts", "tmp"};
  EXPECT_EQ(search.folderNames(), folders);
  EXPECT_FALSE(abort);
}

TEST(FolderSearch, WalksLevelByLevel) {
  testing::TempTree tree;
  tree.file("a/b/c/deep.cs");
  tree.file("x/y/mid.cs");
  tree.file("p/top.cs");
  tree.file("q/top2.cs");
  bool abort = false;
  FolderSearch search({{"S", "cs", true}}, {}, abort);
  search.SearchTree(tree.root());
  std::vector<std::size_t> depths;
  for (const FoundFile& f : search.results()) {
    std::string_view rel = f.fullPath().substr(tree.root().size() + 1);
    depths.push_back(static_cast<std::size_t>(std::count(rel.begin(), rel.end(), '/')));
  }
  EXPECT_EQ(depths, (std::vector<std::size_t>{1, 1, 2, 3}));
}

TEST(FolderSearch, AbortStopsAfterTheCurrentEntry) {
  testing::TempTree tree;
  for (int i = 0; i < 5; ++i) tree.file("f" + std::to_string(i) + "/x.cs");
  tree.file("root.cs");
  bool abort = false;
  int calls = 0;
  // The base folder takes 29 event passes (8 entries twice, 8 moves, 5
  // queued folders), the first subfolder 10 more; Abort is clicked in the
  // pass before the second subfolder, whose first entry then ends the scan.
  FolderSearch search({{"S", "cs", true}}, {}, abort, [&] {
    if (++calls == 40) abort = true;
  });
  search.SearchTree(tree.root());
  EXPECT_TRUE(abort);
  EXPECT_EQ(search.results().size(), 2u);
  EXPECT_EQ(search.queuedFolders(), 0u);

  bool early = false;
  FolderSearch first({{"S", "cs", true}}, {}, early, [&] { early = true; });
  first.SearchTree(tree.root());
  EXPECT_TRUE(first.results().empty());  // aborted in the first folder: nothing moved
}

TEST(FolderSearch, CountsNamesWithLineBreaksItLeavesOut) {
  testing::TempTree tree;
  tree.file("good.cs");
  tree.file("bad\nname.cs");
  tree.file("carriage\rreturn.cs");
  tree.file("odd\r\nfolder/inside.cs");
  tree.file("fine/also\nbad.cs");
  tree.file("fine/not\nkept.txt");  // of no category: it would not be listed anyway
  tree.file("fine/kept.cs");
  bool abort = false;
  FolderSearch search({{"S", "cs", true}}, {}, abort);
  search.SearchTree(tree.root());
  search.sortLists();
  EXPECT_EQ(rows(search), (std::vector<std::string>{"S=" + tree.path("fine/kept.cs"),
                                                    "S=" + tree.path("good.cs")}));
  EXPECT_EQ(search.namesWithLineBreaks(), 4u);
  search.SearchTree(tree.path("fine"));
  EXPECT_EQ(search.namesWithLineBreaks(), 1u);  // counted afresh for every search
}

TEST(FolderSearch, UnreadableBaseGivesNothing) {
  bool abort = false;
  FolderSearch search({{"S", "cs", true}}, {}, abort);
  search.SearchTree("/no/such/folder/anywhere");
  EXPECT_TRUE(search.results().empty());
  EXPECT_TRUE(search.folderNames().empty());
}

}  // namespace
}  // namespace lkit
