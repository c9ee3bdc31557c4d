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

// Three triangles: "keep", "edge" with every u = 1 (a selection of it stays
// inactive, its bits set) and "deg", whose first corner comes back.
constexpr const char* kThreeGroups =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
    "vt 0.2 0.2\nvt 0.5 0.2\nvt 0.2 0.5\nvt 1 0.3\nvt 1 0.6\n"
    "g keep\nf 1/1 2/2 3/3\ng edge\nf 2/4 4/5 3/4\ng deg\nf 1/1 2/2 1/3\n";

TEST(MeshStepsDegenerates, RemoveOnlyTheDegenerateFacets) {
  struct Case {
    const char* name;
    std::vector<std::string> before;  // steps between load and degenerates
    std::vector<std::string> groupsKept;
  };
  const Case cases[] = {
      {"no selection", {}, {"keep", "edge"}},
      {"bits left by an inactive selection", {"select-group", "edge"}, {"keep", "edge"}},
      {"an active selection", {"select-group", "keep"}, {"keep", "edge"}},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    folder.write("m.obj", kThreeGroups);
    std::vector<std::string> arguments = {"load", "m.obj"};
    arguments.insert(arguments.end(), c.before.begin(), c.before.end());
    for (const char* word : {"degenerates", "save-obj", "out.obj"}) arguments.push_back(word);
    const testing::CliResult result = runCli(folder, arguments);
    EXPECT_EQ(result.exitStatus, 0) << c.name << result.err;
    EXPECT_NE(result.out.find("[Report]\n1 degenerate facet removed\n"), std::string::npos)
        << c.name;
    const std::string saved = folder.read("out.obj");
    std::vector<std::string> groups;
    std::size_t at = 0;
    while ((at = saved.find("\ng ", at)) != std::string::npos) {
      at += 3;
      groups.push_back(saved.substr(at, saved.find_first_of("\r\n", at) - at));
    }
    std::size_t facets = 0;
    for (at = 0; (at = saved.find("\nf ", at)) != std::string::npos; ++at) ++facets;
    EXPECT_EQ(facets, c.groupsKept.size()) << c.name << "\n" << saved;
    EXPECT_EQ(groups, c.groupsKept) << c.name << "\n" << saved;
  }
}

}  // namespace
}  // namespace corvina
