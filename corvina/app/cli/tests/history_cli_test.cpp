// corvina-cli's undo and redo steps: a line of steps taken back and done
// again saves what the steps before made; undo and redo without a step to
// take refuse as the window's disabled entries would.

#include <gtest/gtest.h>

#include "app/cli/tests/cli_process.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

constexpr const char* kTwoTriangles =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
    "vt 0.1 0.1\nvt 0.3 0.1\nvt 0.1 0.3\n"
    "vt 0.6 0.6\nvt 0.8 0.6\nvt 0.6 0.8\n"
    "g left\nf 1/1 2/2 3/3\n"
    "g right\nf 2/4 4/5 3/6\n";

TEST(HistoryCliTest, StepsTakenBackAndDoneAgainSaveWhatTheStepsMade) {
  ScratchFolder folder;
  folder.write("model.obj", kTwoTriangles);
  struct Case {
    const char* name;
    std::vector<std::string> edits;     // after load, before save-obj
    std::vector<std::string> expected;  // the same model made without undo
  };
  const Case cases[] = {
      {"undo a mapping", {"box", "undo"}, {}},
      {"undo and redo", {"box", "planar", "undo", "undo", "redo"}, {"box"}},
      {"keys join into one step",
       {"band", "0", "0", "100", "100", "key", "right", "key", "right", "key", "down", "key",
        "enter", "undo", "undo"},
       {"band", "0", "0", "100", "100"}},
      {"a new step drops the redo", {"box", "undo", "spherical", "undo"}, {}},
      {"the generator is a step", {"new-box", "undo"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> edited = {"--view=101x101", "load", "model.obj"};
    edited.insert(edited.end(), c.edits.begin(), c.edits.end());
    edited.insert(edited.end(), {"save-obj", "edited.obj"});
    std::vector<std::string> direct = {"--view=101x101", "load", "model.obj"};
    direct.insert(direct.end(), c.expected.begin(), c.expected.end());
    direct.insert(direct.end(), {"save-obj", "direct.obj"});
    const CliResult first = runCli(folder, edited);
    ASSERT_EQ(first.exitStatus, 0) << first.err;
    const CliResult second = runCli(folder, direct);
    ASSERT_EQ(second.exitStatus, 0) << second.err;
    EXPECT_EQ(folder.read("edited.obj"), folder.read("direct.obj"));
  }
}

TEST(HistoryCliTest, NothingToTakeBackIsRefused) {
  ScratchFolder folder;
  folder.write("model.obj", kTwoTriangles);
  struct Case {
    std::vector<std::string> steps;
    const char* reason;
  };
  const Case cases[] = {
      {{"load", "model.obj", "undo"}, "nothing to undo"},
      {{"load", "model.obj", "box", "redo"}, "nothing to redo"},
      {{"load", "model.obj", "box", "box", "undo", "undo"}, "nothing to undo"},
  };
  for (const Case& c : cases) {
    const CliResult result = runCli(folder, c.steps);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace corvina
