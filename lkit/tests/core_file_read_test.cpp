// Settings files are read defensively: whatever lies at the path, the reader
// answers with the bytes or with a reason, never with an exception or a wait.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "core/configuration.h"
#include "core/file_read.h"
#include "core/file_save.h"
#include "core/project_writer.h"
#include "tests/temp_tree.h"

namespace lkit {
namespace {

using testing::TempTree;

struct ReadCase {
  const char* label;
  std::function<std::string(TempTree&)> prepare;  // returns the path to read
  FileRead::Status status;
  const char* reason;  // expected reason, or null when none
};

TEST(ReadSettingsFile, AnswersForWhateverLiesAtThePath) {
  const ReadCase cases[] = {
      {"file", [](TempTree& t) { return t.file("a.ini", "[Misc]\r\nName=x\r\n"); },
       FileRead::Status::Read, nullptr},
      {"empty file", [](TempTree& t) { return t.file("a.ini", ""); }, FileRead::Status::Read,
       nullptr},
      {"missing", [](TempTree& t) { return t.path("none.ini"); }, FileRead::Status::Missing,
       nullptr},
      {"folder", [](TempTree& t) { return t.folder("dir.ini"); }, FileRead::Status::Unreadable,
       "it is a folder"},
      {"fifo",
       [](TempTree& t) {
         std::string path = t.path("pipe.ini");
         ::mkfifo(path.c_str(), 0644);
         return path;
       },
       FileRead::Status::Unreadable, "it is not a regular file"},
      {"device", [](TempTree&) { return std::string("/dev/zero"); }, FileRead::Status::Unreadable,
       "it is not a regular file"},
      {"below a file", [](TempTree& t) { return t.file("plain", "x") + "/a.ini"; },
       FileRead::Status::Unreadable, "Not a directory"},
      {"no name", [](TempTree&) { return std::string(); }, FileRead::Status::Unreadable,
       "no file name given"},
  };
  for (const ReadCase& c : cases) {
    TempTree tree;
    const std::string path = c.prepare(tree);
    FileRead read = readSettingsFile(path);
    EXPECT_EQ(read.status, c.status) << c.label;
    EXPECT_EQ(read.reason, c.reason ? c.reason : "") << c.label;
    if (c.status == FileRead::Status::Read) {
      EXPECT_EQ(read.bytes, testing::readFile(path)) << c.label;
    } else {
      EXPECT_EQ(read.bytes, "") << c.label;
    }
  }
}

TEST(ReadSettingsFile, AConfigurationThatIsAFolderLoadsAsMissing) {
  TempTree tree;
  FileRead found;
  LoadedConfiguration loaded = loadConfiguration(tree.folder("lkit.ini"), &found);
  EXPECT_EQ(found.status, FileRead::Status::Unreadable);
  EXPECT_EQ(loaded.projectName, "-");
  EXPECT_TRUE(loaded.categories.empty());
  EXPECT_FALSE(loaded.autoOrganize.has_value());
}

struct SaveFailureCase {
  const char* label;
  std::function<std::string(TempTree&)> prepare;  // returns the path to write
  const char* reason;
};

TEST(SaveFile, AFailureComesWithItsReason) {
  const SaveFailureCase cases[] = {
      {"folder", [](TempTree& t) { return t.folder("x.ini"); }, "Is a directory"},
      {"missing folder", [](TempTree& t) { return t.path("no/such/x.ini"); },
       "No such file or directory"},
      {"below a file", [](TempTree& t) { return t.file("plain") + "/x.ini"; }, "Not a directory"},
  };
  for (const SaveFailureCase& c : cases) {
    TempTree tree;
    std::string reason = "unchanged";
    EXPECT_FALSE(saveFile(c.prepare(tree), "bytes", &reason)) << c.label;
    EXPECT_EQ(reason, c.reason) << c.label;
    std::string kept = "unchanged";
    EXPECT_TRUE(saveFile(tree.path("fine.ini"), "bytes", &kept)) << c.label;
    EXPECT_EQ(kept, "unchanged") << c.label;
  }
}

TEST(ProjectWriter, TellsHowManyGroupsListFilesAndWhyAWriteFailed) {
  TempTree tree;
  std::vector<FoundFile> results;
  for (const char* row : {"GUI=/g/ui/a.gui", "Scripts=/g/a.cs", "scripts=/g/b.cs"}) {
    results.push_back({row, std::string_view(row).find('=')});
  }
  struct Case {
    bool autoOrganize;
    std::size_t groups;
  };
  for (const Case& c : {Case{false, 2}, Case{true, 2}}) {
    ProjectInput input;
    input.baseFolder = "/g";
    input.projectName = "p";
    input.results = &results;
    input.categoryDescriptions = {"Scripts", "GUI", "Empty"};
    input.autoOrganize = c.autoOrganize;
    ProjectOutcome outcome = WriteProject(input);
    // "/g" cannot be written here: the outcome names the reason.
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.failure.empty());
    EXPECT_EQ(outcome.filesWritten, 3u);
    EXPECT_EQ(outcome.groupsWithFiles, c.groups) << c.autoOrganize;
  }
  ProjectInput input;
  input.baseFolder = tree.root();
  input.projectName = "p";
  tree.folder("p.prj");
  input.results = &results;
  ProjectOutcome outcome = WriteProject(input);
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(outcome.failure, "Is a directory");
}

}  // namespace
}  // namespace lkit
