// The corvina-cli steps of the mesh tools and primitives: their field names
// and ranges, their answers, and the messages they print.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cli/tests/cli_process.h"

namespace corvina {
namespace {

using testing::runCli;
using testing::ScratchFolder;

struct StepCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitStatus;
  std::string out;  // must appear in standard output
  std::string err;  // must appear in standard error
};

class MeshSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(MeshSteps, RunAsTheCommandsWould) {
  const StepCase& c = GetParam();
  ScratchFolder folder;
  const testing::CliResult result = runCli(folder, c.arguments);
  EXPECT_EQ(result.exitStatus, c.exitStatus) << result.out << result.err;
  EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
  EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeshSteps,
    ::testing::Values(
        StepCase{"SphereFieldsReachTheGenerator",
                 {"new-sphere", "verticalDivisions=4", "radialDivisions=4", "stats"},
                 0,
                 "vertices = 14\n",
                 ""},
        StepCase{"TorusFields",
                 {"new-torus", "innerRadius=1", "outerRadius=2", "verticalDivisions=3",
                  "radialDivisions=5", "rotate=-90", "gaps=on", "resolution=10", "stats"},
                 0,
                 "facets = 15\n",
                 ""},
        StepCase{"CylinderFields",
                 {"new-cylinder", "height=1", "topDiameter=0", "bottomDiameter=2",
                  "radialDivisions=3", "gaps=off", "resolution=10", "stats"},
                 0,
                 "facets = 5\n",
                 ""},
        StepCase{"ConeAndBoxFields",
                 {"new-cone", "height=1", "bottomDiameter=2", "radialDivisions=5", "new-box",
                  "height=1", "width=2", "depth=3", "resolution=10", "stats"},
                 0,
                 "vertices = 8\n",
                 ""},
        StepCase{"ConeStopsAt8092Divisions",
                 {"new-cone", "radialDivisions=8093"},
                 2,
                 "",
                 "is not between 3 and 8092"},
        StepCase{"TriangulateAnsweredNo",
                 {"new-box", "triangulate", "answer=no", "stats"},
                 0,
                 "triangulate this object?\n-> No\n",
                 ""},
        StepCase{"TriangulateByDefault",
                 {"new-box", "triangulate", "triangulate"},
                 0,
                 "[Report]\nObject already triangulated\n",
                 ""},
        StepCase{"Degenerates",
                 {"new-box", "degenerates"},
                 0,
                 "[Report]\nNo degenerate facets found\n",
                 ""},
        StepCase{"SmoothScopeByWord",
                 {"new-box", "split-vertices", "weld", "fix-seams", "smooth", "angle=91",
                  "scope=group", "stats"},
                 0,
                 "normals = 24\n",
                 ""},
        StepCase{"SmoothAngleRange", {"smooth", "angle=181"}, 2, "", "between 0 and 180"},
        StepCase{"WeldWithoutModel", {"weld"}, 1, "", "Please load an OBJ file first"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvina
