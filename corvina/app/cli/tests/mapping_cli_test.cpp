// The mapping steps of corvina-cli end to end: a script loads a model, maps
// it and reads the result back through the dimensions report.

#include <gtest/gtest.h>

#include "app/cli/tests/cli_process.h"
#include "app/tests/square_model.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

const std::string kSquareStatistics =
    "[Statistics]\nvertices = 4\ntextures = 4\nnormals = 1\nfacets = 2\ngroups = 1\n"
    "materials = 1\nregions = 0\n\n";

std::string squareDimensions(const std::string& uv) {
  return "[Dimensions]\nmin x =  0.00000\tmax x =  1.00000\n"
         "min y =  0.00000\tmax y =  1.00000\nmin z =  0.00000\tmax z =  0.00000\n\n" +
         uv;
}

struct StepCase {
  const char* what;
  std::vector<std::string> arguments;
  int exitStatus;
  std::string out;
  std::string err;
};

TEST(MappingCliTest, StepsMapTheModel) {
  const StepCase cases[] = {
      {"planar, defaults: the square faces +Z, so the left half",
       {"load", "square.obj", "planar", "dims"},
       0,
       kSquareStatistics + squareDimensions("min u =  0.01250\tmax u =  0.48750\n"
                                            "min v =  0.02500\tmax v =  0.97500\n\n"),
       ""},
      {"planar without gaps or split fills the square",
       {"load", "square.obj", "planar", "gaps=off", "split=none", "dims"},
       0,
       kSquareStatistics + squareDimensions("min u =  0.00000\tmax u =  1.00000\n"
                                            "min v =  0.00000\tmax v =  1.00000\n\n"),
       ""},
      {"per-facet: two triangles share the top-left cell",
       {"load", "square.obj", "per-facet", "gap=0", "dims"},
       0,
       kSquareStatistics + squareDimensions("min u =  0.00000\tmax u =  0.50000\n"
                                            "min v =  0.50000\tmax v =  1.00000\n\n"),
       ""},
      {"no model", {"planar"}, 1, "", "[Error]\nPlease load an OBJ file first\n\n"},
      {"last projection takes the fields of the mapping it repeats",
       {"load", "square.obj", "planar", "last-projection", "gaps=off", "split=none", "dims"},
       0,
       kSquareStatistics + squareDimensions("min u =  0.00000\tmax u =  1.00000\n"
                                            "min v =  0.00000\tmax v =  1.00000\n\n"),
       ""},
      {"and leaves them in that mapping's record",
       {"load", "square.obj", "planar", "last-projection", "gaps=off", "split=none", "planar",
        "dims"},
       0,
       kSquareStatistics + squareDimensions("min u =  0.00000\tmax u =  1.00000\n"
                                            "min v =  0.00000\tmax v =  1.00000\n\n"),
       ""},
      {"a field the repeated mapping does not have",
       {"load", "square.obj", "box", "last-projection", "offset=0.5", "dims"},
       1,
       kSquareStatistics,
       "[Error]\nlast-projection: \"Box Mapping\" has no field \"offset\"\n\n"},
      {"a value the repeated mapping does not take",
       {"load", "square.obj", "box", "last-projection", "split=orientation"},
       1,
       kSquareStatistics,
       "[Error]\nlast-projection: \"Box Mapping\": split: \"orientation\" is not on/off, "
       "yes/no, true/false or 1/0\n\n"},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    folder.write("square.obj", testing::kSquare);
    const CliResult result = runCli(folder, c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
  }
}

TEST(MappingCliTest, OutOfRangeFieldsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"load", "square.obj", "planar", "mapSize=0"},
      {"load", "square.obj", "spherical", "rotation=360"},
      {"load", "square.obj", "rotate", "x=400"},
      {"load", "square.obj", "per-facet", "gap=2"},
      {"load", "square.obj", "box", "split=maybe"},
      {"load", "square.obj", "last-projection", "mapSize=0"},
      {"load", "square.obj", "last-projection", "bogus=1"},
      {"load", "square.obj", "last-projection", "split=maybe"},
  };
  for (const auto& arguments : cases) {
    ScratchFolder folder;
    folder.write("square.obj", testing::kSquare);
    const CliResult result = runCli(folder, arguments);
    EXPECT_EQ(result.exitStatus, 2) << arguments[2] << " " << arguments[3];
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
}  // namespace corvina
