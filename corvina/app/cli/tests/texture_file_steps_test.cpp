// corvina-cli's export-uvs, import-uvs and save-bmp steps: their fields,
// answers, messages, exit statuses and files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/tests/cli_process.h"
#include "app/tests/square_model.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

struct StepCase {
  std::string what;
  std::vector<std::string> arguments;  // after "load square.obj"
  int exitStatus;
  std::string inOut;  // expected within standard output ("" for no check)
  std::string err;    // expected standard error, exactly
};

TEST(TextureFileSteps, MessagesAnswersAndExitStatuses) {
  const std::string wideUvs = "vt 2 0\nvt 0 1\nvt 1 1\nvt 0 0\nf 1 2 3\nf 1 3 4\n";
  const std::string question =
      "[Warning]\nThe file you have loaded contains\nout of range UV coordinate data\n\n"
      "Would you like to correct this?\n";
  const std::vector<StepCase> cases = {
      {"other facet structure",
       {"import-uvs", "triangle.uvs"},
       1,
       "",
       "[Error]\nIncompatable facet stucture\n\n"},
      {"missing file", {"import-uvs", "absent.uvs"}, 1, "", "[Error]\nError opening file\n\n"},
      {"out of range kept by default", {"import-uvs", "wide.uvs"}, 0, question + "-> No\n", ""},
      {"out of range corrected when asked",
       {"import-uvs", "wide.uvs", "answer=yes"},
       0,
       question + "-> Yes\n",
       ""},
      {"export into a missing folder",
       {"export-uvs", "missing/out.uvs"},
       1,
       "",
       "[Error]\nError writing to file\n\n"},
      {"template into a missing folder",
       {"save-bmp", "missing/out.bmp"},
       1,
       "",
       "[Corvina]\nError writing to file\n\n"},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    folder.write("square.obj", testing::kSquare);
    folder.write("triangle.uvs", "vt 0 0\nf 1 1 1\n");
    folder.write("wide.uvs", wideUvs);
    std::vector<std::string> arguments = {"load", "square.obj"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CliResult result = runCli(folder, arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    EXPECT_NE(result.out.find(c.inOut), std::string::npos) << result.out;
    EXPECT_EQ(result.err, c.err);
  }
}

TEST(TextureFileSteps, FieldsShapeTheFiles) {
  ScratchFolder folder;
  folder.write("square.obj", testing::kSquare);
  const CliResult result =
      runCli(folder, {"load", "square.obj", "export-uvs", "out.uvs", "exportGroups=on", "flipV=on",
                      "noLinefeeds=on", "baseModel=/models/square.obj", "save-bmp", "out.bmp",
                      "width=33", "height=9", "flipH=on"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const std::string uvs = folder.read("out.uvs");
  EXPECT_NE(uvs.find("# base_model   \"/models/square.obj\"\n#\n\n"
                     "vt  0.00000000  1.00000000\nvt  1.00000000  1.00000000\n"
                     "vt  1.00000000  0.00000000\nvt  0.00000000  0.00000000\n\n"
                     "g front\nf 1 2 3\nf 1 3 4\n"),
            std::string::npos)
      << uvs;
  EXPECT_EQ(uvs.find('\r'), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(folder.path("out.bmp")), 1078u + 36u * 9u);
}

TEST(TextureFileSteps, TemplateSidesOutsideTheirRangeAreUsageErrors) {
  for (const char* side : {"width=0", "height=8193", "width=wide"}) {
    ScratchFolder folder;
    folder.write("square.obj", testing::kSquare);
    const CliResult result = runCli(folder, {"load", "square.obj", "save-bmp", "out.bmp", side});
    EXPECT_EQ(result.exitStatus, 2) << side;
    EXPECT_FALSE(folder.exists("out.bmp")) << side;
  }
}

}  // namespace
}  // namespace corvina
