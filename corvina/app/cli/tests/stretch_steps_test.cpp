// corvina-cli's stretch report end to end: the text on hand-made models with
// known answers, the selection's density, and the steps that refuse.

#include <gtest/gtest.h>

#include "app/cli/tests/cli_process.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

// Two unit squares: the first given a 0.5 x 0.5 corner of the map, the
// second the right half. Map 0.75 over surface 2: the first has 1/3 of the
// map for 1/2 of the surface (2/3), the second 4/3; the right angles stay.
// 0.75 of 512 x 512 texels over 2 units of surface: sqrt(98304) = 313.53.
constexpr const char* kTwoSquares =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 3 0 0\nv 3 1 0\nv 2 1 0\n"
    "vt 0 0\nvt 0.5 0\nvt 0.5 0.5\nvt 0 0.5\nvt 0.5 0\nvt 1 0\nvt 1 1\nvt 0.5 1\n"
    "f 1/1 2/2 3/3 4/4\nf 5/5 6/6 7/7 8/8\n";

// A right triangle given a sheared triangle (45 degrees lost at two
// corners), and a facet flat on the model, which is left out.
constexpr const char* kShearedAndFlat =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 5 0 0\nv 6 0 0\nv 7 0 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\n"
    "f 1/1 2/2 3/3\nf 4/1 5/2 6/3\n";

TEST(StretchStepsTest, ReportsAreaAngleAndDensity) {
  struct Case {
    const char* what;
    const char* model;
    std::vector<std::string> steps;
    std::string report;
  };
  const Case cases[] = {
      {"two squares",
       kTwoSquares,
       {},
       "area min=0.667 median=1.000 max=1.333 beyond2x=0.0%\n"
       "angle min=0.00 median=0.00 max=0.00\n"
       "density model=313.53 selection=none"},
      {"two squares, the second selected",
       kTwoSquares,
       {"band", "300", "0", "511", "511"},
       "area min=0.667 median=1.000 max=1.333 beyond2x=0.0%\n"
       "angle min=0.00 median=0.00 max=0.00\n"
       "density model=313.53 selection=362.04"},
      {"sheared, and flat on the model",
       kShearedAndFlat,
       {},
       "area min=1.000 median=1.000 max=1.000 beyond2x=0.0%\n"
       "angle min=45.00 median=45.00 max=45.00\n"
       "density model=512.00 selection=none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    folder.write("model.obj", c.model);
    std::vector<std::string> arguments = {"load", "model.obj"};
    arguments.insert(arguments.end(), c.steps.begin(), c.steps.end());
    arguments.push_back("stretch");
    const CliResult result = runCli(folder, arguments);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    // The load's statistics come first.
    const std::size_t at = result.out.find("[Stretch]");
    ASSERT_NE(at, std::string::npos) << result.out;
    EXPECT_EQ(result.out.substr(at), "[Stretch]\n" + c.report + "\n\n");
  }
}

// The render step draws the fill while a mode is on; off again, the picture
// is the plain one byte for byte.
TEST(StretchStepsTest, RenderShowsTheFillOnlyWhileOn) {
  ScratchFolder folder;
  folder.write("model.obj", kTwoSquares);
  const CliResult result =
      runCli(folder, {"--view=64x64", "load", "model.obj", "render", "plain.png", "show-stretch",
                      "render", "area.png", "show-angle-stretch", "render", "angle.png",
                      "show-angle-stretch", "render", "off.png"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::string plain = folder.read("plain.png");
  ASSERT_FALSE(plain.empty());
  EXPECT_NE(folder.read("area.png"), plain);
  // The squares keep their right angles: white fill, the plain picture.
  EXPECT_EQ(folder.read("angle.png"), plain);
  EXPECT_EQ(folder.read("off.png"), plain);
}

TEST(StretchStepsTest, NeedsAModelWithTextureCoordinates) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    std::string err;
  };
  const Case cases[] = {
      {"no model", {"stretch"}, "[Error]\nPlease load an OBJ file first\n\n"},
      {"no texture coordinates",
       {"load", "bare.obj", "stretch"},
       "[Error]\nneeds a model with texture coordinates\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    folder.write("bare.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const CliResult result = runCli(folder, c.arguments);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out.find("[Stretch]"), std::string::npos);
    EXPECT_EQ(result.err, c.err);
  }
}

}  // namespace
}  // namespace corvina
