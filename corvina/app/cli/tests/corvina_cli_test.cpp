// corvina-cli as scripts see it: exact output streams, exit statuses and the
// files it writes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "app/cli/tests/cli_process.h"
#include "app/tests/square_model.h"
#include "files/obj_writer.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

using testing::kSquare;

// One triangle whose texture coordinates reach u = 2.
constexpr const char* kWide = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 2 0\nvt 0 1\nf 1/1 2/2 3/3\n";

// One triangle without texture coordinates.
constexpr const char* kPlain = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
const std::string kPlainStatistics =
    "[Statistics]\nvertices = 3\ntextures = 0\nnormals = 0\nfacets = 1\ngroups = 0\n"
    "materials = 0\nregions = 0\n\n";

const std::string kSquareStatistics =
    "[Statistics]\nvertices = 4\ntextures = 4\nnormals = 1\nfacets = 2\ngroups = 1\n"
    "materials = 1\nregions = 0\n\n";
const std::string kWideStatistics =
    "[Statistics]\nvertices = 3\ntextures = 3\nnormals = 0\nfacets = 1\ngroups = 0\n"
    "materials = 0\nregions = 0\n\n";
const std::string kOutOfRangeQuestion =
    "[Warning]\nThe model you have loaded contains\nout of range UV coordinate data\n\n"
    "Would you like to correct this?\n";

std::string wideDimensions(const char* maxU) {
  return std::string("[Dimensions]\nmin x =  0.00000\tmax x =  1.00000\n") +
         "min y =  0.00000\tmax y =  1.00000\nmin z =  0.00000\tmax z =  0.00000\n\n" +
         "min u =  0.00000\tmax u =  " + maxU + "\nmin v =  0.00000\tmax v =  1.00000\n\n";
}

std::string usage(const std::string& problem) {
  return "corvina-cli: " + problem +
         "\nRun \"corvina-cli --help\" for the steps and their fields.\n";
}

const std::string kNoModel = "[Error]\nPlease load an OBJ file first\n\n";

struct CliCase {
  const char* what;
  std::vector<std::string> arguments;
  int exitStatus;
  std::string out;
  std::string err;
  std::map<std::string, std::string> filesAfter;  // name -> exact bytes; "" = must not exist
  std::vector<std::string> environment = {};
};

void expectCase(const CliCase& c) {
  SCOPED_TRACE(c.what);
  ScratchFolder folder;
  folder.write("square.obj", kSquare);
  folder.write("wide.obj", kWide);
  folder.write("old.obj", "old contents\n");
  folder.write("plain.obj", kPlain);
  folder.write("bad.bmp", "BM not a picture");
  CliResult result = runCli(folder, c.arguments, c.environment);
  EXPECT_EQ(result.exitStatus, c.exitStatus);
  EXPECT_EQ(result.out, c.out);
  EXPECT_EQ(result.err, c.err);
  for (const auto& [name, bytes] : c.filesAfter) {
    if (bytes.empty())
      EXPECT_FALSE(folder.exists(name)) << name;
    else
      EXPECT_EQ(folder.read(name), bytes) << name;
  }
}

TEST(CorvinaCliTest, UsageErrorsRunNothing) {
  struct UsageCase {
    const char* what;
    std::vector<std::string> arguments;
    std::string problem;
  };
  const UsageCase cases[] = {
      {"no step", {}, "no step given"},
      {"unknown step", {"frobnicate"}, "unknown step \"frobnicate\""},
      {"unknown field",
       {"load", "square.obj", "save-obj", "out.obj", "bogus=on"},
       "save-obj: unknown field \"bogus\""},
      {"bad boolean",
       {"load", "square.obj", "save-obj", "out.obj", "singleGroup=maybe"},
       "save-obj: singleGroup: \"maybe\" is not on/off, yes/no, true/false or 1/0"},
      {"out of range",
       {"load", "square.obj", "settings", "pixelsPerUnit=0"},
       "settings: pixelsPerUnit: \"0\" is not between 1 and 10000"},
      {"decimal comma",
       {"settings", "pixelsPerUnit=12,5"},
       "settings: pixelsPerUnit: \"12,5\" is not a number"},
      {"missing path", {"load", "stats"}, "load: missing PATH"},
      {"missing mode", {"color"}, "color: missing MODE"},
      {"unknown mode",
       {"color", "purple"},
       "color: \"purple\" is not one of bw, group, material, region or 0 to 3"},
      {"extra argument", {"stats", "now"}, "stats: unexpected argument \"now\""},
      {"answer where nothing is asked",
       {"save-obj", "out.obj", "answer=yes"},
       "save-obj: unknown field \"answer\""},
      {"bad step answer",
       {"load", "wide.obj", "answer=maybe"},
       "load: answer must be yes or no, not \"maybe\""},
      {"bad global answer",
       {"--answer=perhaps", "stats"},
       "--answer must be yes or no, not \"perhaps\""},
      {"bad view",
       {"--view=0x512", "stats"},
       "--view must be WIDTHxHEIGHT with sides from 1 to 8192, not \"0x512\""},
      {"unknown option", {"--bogus", "stats"}, "unknown option \"--bogus\""},
      {"option after a step",
       {"stats", "--answer=yes"},
       "stats: options such as \"--answer=yes\" go before the first step"},
      {"a usage error wins over --help",
       {"stats", "nonsense", "--help"},
       "stats: unexpected argument \"nonsense\""},
      {"--help does not excuse a bad option", {"--help", "--bogus"}, "unknown option \"--bogus\""},
      {"a field of the step is a field, not the path",
       {"load", "square.obj", "save-obj", "singleGroup=on"},
       "save-obj: missing PATH"},
      {"a path that names a field has a bad value",
       {"save-obj", "exportNormals=x.obj"},
       "save-obj: exportNormals: \"x.obj\" is not on/off, yes/no, true/false or 1/0"},
  };
  for (const UsageCase& c : cases)
    expectCase({c.what, c.arguments, 2, "", usage(c.problem), {{"out.obj", ""}}});
}

TEST(CorvinaCliTest, StepsPrintMessagesAndAnswerQuestions) {
  const CliCase cases[] = {
      {"load shows statistics", {"load", "square.obj"}, 0, kSquareStatistics, "", {}},
      {"statistics without a model", {"stats"}, 1, "", kNoModel, {}},
      {"dimensions without a model", {"dims"}, 1, "", kNoModel, {}},
      {"save without a model", {"save-obj", "out.obj"}, 1, "", kNoModel, {{"out.obj", ""}}},
      {"save into a missing folder",
       {"load", "square.obj", "save-obj", "nowhere/out.obj"},
       1,
       kSquareStatistics,
       "[Error]\nError writing to file\n\n",
       {{"nowhere", ""}}},
      {"a failed load stops the run",
       {"load", "missing.obj", "load", "square.obj"},
       1,
       "",
       "[Error]\nError opening file\n\n",
       {}},
      {"out-of-range offer declined by default",
       {"--view=640x480", "load", "wide.obj", "dims"},
       0,
       kWideStatistics + kOutOfRangeQuestion + "-> No\n\n" + wideDimensions("2.00000"),
       "",
       {}},
      {"offer accepted by the step",
       {"load", "wide.obj", "answer=yes", "dims"},
       0,
       kWideStatistics + kOutOfRangeQuestion + "-> Yes\n\n" + wideDimensions("1.00000"),
       "",
       {}},
      {"offer accepted for the run",
       {"--answer=yes", "load", "wide.obj", "dims"},
       0,
       kWideStatistics + kOutOfRangeQuestion + "-> Yes\n\n" + wideDimensions("1.00000"),
       "",
       {}},
      {"the step's answer wins",
       {"--answer=yes", "load", "wide.obj", "answer=no"},
       0,
       kWideStatistics + kOutOfRangeQuestion + "-> No\n\n",
       "",
       {}},
      {"colour and settings print nothing",
       {"color", "region", "settings", "pixelsPerUnit=12.5", "color", "1"},
       0,
       "",
       "",
       {}},
  };
  for (const CliCase& c : cases) expectCase(c);
}

// A step whose menu entry or key the window would disable at that moment
// does not run: an error with the reason, and the later steps do not run.
// Where the command answers a missing model itself, its message stands.
TEST(CorvinaCliTest, StepsTheWindowWouldDisableAreRefused) {
  auto refused = [](const std::string& reason) { return "[Error]\n" + reason + "\n\n"; };
  const std::string noUvs = refused("needs a model with texture coordinates");
  const CliCase cases[] = {
      {"export without texture coordinates",
       {"load", "plain.obj", "export-uvs", "out.uvs", "stats"},
       1,
       kPlainStatistics,
       noUvs,
       {{"out.uvs", ""}}},
      {"template without texture coordinates",
       {"load", "plain.obj", "save-bmp", "out.bmp"},
       1,
       kPlainStatistics,
       noUvs,
       {{"out.bmp", ""}}},
      {"tiling without groups",
       {"load", "plain.obj", "tile-group"},
       1,
       kPlainStatistics,
       refused("needs a model with groups"),
       {}},
      {"selecting a material of a model without materials",
       {"load", "plain.obj", "select-material", "paint"},
       1,
       kPlainStatistics,
       refused("needs a model with materials"),
       {}},
      {"projection with a selection made by vertex",
       {"load", "square.obj", "select-method", "vertex", "select-all", "planar"},
       1,
       kSquareStatistics,
       refused("not while a selection made by vertex is active"),
       {}},
      {"assignment without a selection",
       {"load", "square.obj", "assign-group", "lid"},
       1,
       kSquareStatistics,
       refused("needs an active selection"),
       {}},
      {"last projection before any projection",
       {"load", "square.obj", "last-projection"},
       1,
       kSquareStatistics,
       refused("needs a projection to repeat"),
       {}},
      {"last projection without a model", {"last-projection"}, 1, "", kNoModel, {}},
      {"export without a model keeps its own message",
       {"export-uvs", "out.uvs"},
       1,
       "",
       kNoModel,
       {{"out.uvs", ""}}},
      {"weld without a model keeps its own caption",
       {"weld"},
       1,
       "",
       "[Corvina]\nPlease load an OBJ file first\n\n",
       {}},
  };
  for (const CliCase& c : cases) expectCase(c);
}

// A file the step was given that cannot be loaded fails the step, also
// where the message is only a warning.
TEST(CorvinaCliTest, AFailedLoadOfTheStepsFileEndsTheRun) {
  const CliCase cases[] = {
      {"background picture",
       {"background", "bad.bmp", "load", "square.obj"},
       1,
       "[Corvina]\nbad.bmp has a bad format.\n\n",
       "",
       {}},
      {"missing background picture",
       {"background", "absent.bmp"},
       1,
       "[Corvina]\nabsent.bmp has a bad format.\n\n",
       "",
       {}},
      {"model",
       {"load", "bad.bmp", "stats"},
       1,
       "",
       "[Error]\nThis OBJ file has no facet information\n\n",
       {}},
  };
  for (const CliCase& c : cases) expectCase(c);
}

TEST(CorvinaCliTest, SaveObjWritesTheFileItsOptionsDescribe) {
  const std::string squareHeader =
      "# file generated by Corvina\n"
      "# NumVerts/NumTVerts/NumVNormals/NumFacets   4/4/0/2\n"
      "# NumGroups/NumMaterials/NumRegions   1/1/0\n";
  const std::string squareBody =
      "\n"
      "v  0.00000000  0.00000000  0.00000000\n"
      "v  1.00000000  0.00000000  0.00000000\n"
      "v  1.00000000  1.00000000  0.00000000\n"
      "v  0.00000000  1.00000000  0.00000000\n"
      "\n"
      "vt  0.00000000  0.00000000\n"
      "vt  1.00000000  0.00000000\n"
      "vt  1.00000000  1.00000000\n"
      "vt  0.00000000  1.00000000\n"
      "\n"
      "g Figure 1\n"
      "usemtl paint\n"
      "f 1/1 2/2 3/3\n"
      "f 1/1 3/3 4/4\n";
  const CliCase cases[] = {
      {"options, settings and colour reach the file",
       {"settings", "pixelsPerUnit=12.5", "color", "region", "load", "square.obj", "save-obj",
        "out.obj", "exportNormals=off", "singleGroup=on", "noLinefeeds=yes"},
       0,
       kSquareStatistics,
       "",
       {{"out.obj", squareHeader + "# x/y/color/ppu   512/512/3/12.50000000\n" + squareBody}},
       {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"}},
      {"options stay set for a later save",
       {"load", "square.obj", "save-obj", "old.obj", "exportNormals=0", "singleGroup=true",
        "noLinefeeds=1", "save-obj", "out.obj"},
       0,
       kSquareStatistics,
       "",
       {{"out.obj", squareHeader + "# x/y/color/ppu   512/512/0/50.00000000\n" + squareBody},
        {"old.obj", squareHeader + "# x/y/color/ppu   512/512/0/50.00000000\n" + squareBody}}},
  };
  for (const CliCase& c : cases) expectCase(c);
}

TEST(CorvinaCliTest, TheSetupScriptsJobOnTheExampleSucceeds) {
  ScratchFolder folder;
  std::filesystem::create_directories(folder.path("out"));
  CliResult result = runCli(folder, {"load", std::string(CORVINA_EXAMPLES_DIR) + "/crate.obj",
                                     "stats", "dims", "save-obj", "out/crate.obj"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  // The statistics after loading and on request, then the dimensions.
  std::size_t first = result.out.find("[Statistics]\nvertices = 8\n");
  std::size_t second = result.out.find("[Statistics]\nvertices = 8\n", first + 1);
  std::size_t dimensions = result.out.find("[Dimensions]\nmin x = -0.50000\tmax x =  0.50000\n");
  EXPECT_NE(first, std::string::npos) << result.out;
  EXPECT_NE(second, std::string::npos) << result.out;
  EXPECT_NE(dimensions, std::string::npos) << result.out;
  EXPECT_LT(second, dimensions);
  // Saved in text mode: every line ends in CR LF.
  std::string saved = folder.read("out/crate.obj");
  EXPECT_EQ(saved.rfind("# file generated by Corvina\r\n", 0), 0u);
  EXPECT_EQ(saved.find("\n\n"), std::string::npos);

  CliResult reloaded = runCli(folder, {"load", "out/crate.obj"});
  EXPECT_EQ(reloaded.exitStatus, 0);
  EXPECT_EQ(reloaded.out, result.out.substr(0, second));
}

TEST(CorvinaCliTest, PathsHoldingAnEqualsSign) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"a word naming no field of the step", {"load", "a=b.obj", "save-obj", "c=d.obj"}},
      {"after the step's own fields",
       {"load", "answer=no", "a=b.obj", "save-obj", "exportNormals=on", "c=d.obj"}},
      {"with its folder", {"load", "./a=b.obj", "save-obj", "./c=d.obj"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    folder.write("a=b.obj", kSquare);
    CliResult result = runCli(folder, c.arguments);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, kSquareStatistics);
    EXPECT_TRUE(folder.exists("c=d.obj"));
  }
}

TEST(CorvinaCliTest, HelpAfterTheStepsIsStillHelp) {
  ScratchFolder folder;
  CliResult result = runCli(folder, {"load", "square.obj", "--help"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(result.out.starts_with("Usage: corvina-cli")) << result.out;
}

// --help as it stands, byte for byte, in help.golden beside this file. After a
// deliberate change of the steps or their fields, run the test once with
// CORVINA_UPDATE_GOLDEN=1 to write the new text, and read the difference.
TEST(CorvinaCliTest, HelpIsTheGoldenText) {
  ScratchFolder folder;
  CliResult result = runCli(folder, {"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  const std::string golden = std::string(CORVINA_CLI_TESTS_DIR) + "/help.golden";
  if (std::getenv("CORVINA_UPDATE_GOLDEN") != nullptr)
    std::ofstream(golden, std::ios::binary) << result.out;
  std::ifstream in(golden, std::ios::binary);
  const std::string expected(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(result.out, expected);
}

}  // namespace
}  // namespace corvina
