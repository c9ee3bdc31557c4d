// Selection editing from corvina-cli: bands, clicks, drags and keys in a view
// of the size --view gives, and the set commands, seen in the saved model.

#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/tests/cli_process.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

// Two triangles, one in the left half of the texture square and one in the
// right half; groups "left" and "right".
//   view x = u, y = 1 - v; in a --view=101x101 pixel p is at p / 100.
constexpr const char* kTwoTriangles =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
    "vt 0.1 0.1\nvt 0.3 0.1\nvt 0.1 0.3\n"
    "vt 0.6 0.6\nvt 0.8 0.6\nvt 0.6 0.8\n"
    "g left\nf 1/1 2/2 3/3\n"
    "g right\nf 2/4 4/5 3/6\n";

// The "vt" lines of a saved model, as (u, v).
std::vector<std::pair<double, double>> texVertices(const std::string& obj) {
  std::vector<std::pair<double, double>> uvs;
  std::istringstream lines(obj);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("vt ", 0) != 0) continue;
    std::istringstream words(line.substr(3));
    double u = 0, v = 0;
    words >> u >> v;
    uvs.emplace_back(u, v);
  }
  return uvs;
}

bool hasUv(const std::vector<std::pair<double, double>>& uvs, double u, double v) {
  for (auto [a, b] : uvs) {
    if (std::abs(a - u) < 1e-4 && std::abs(b - v) < 1e-4) return true;
  }
  return false;
}

struct EditCase {
  const char* name;
  std::vector<std::string> steps;  // between load and save-obj
  std::vector<std::pair<double, double>> present;
  std::vector<std::pair<double, double>> absent;
};

const EditCase kEditCases[] = {
    // A band (x 0.05..0.35, y 0.65..0.95) around the left triangle (x
    // 0.1..0.3, y 0.7..0.9); Home puts the band's top-left corner at the
    // view's, Enter commits: u - 0.05 and v + 0.65.
    {"band_home_enter",
     {"band", "5", "65", "35", "95", "key", "home", "key", "enter"},
     {{0.05, 0.75}, {0.25, 0.75}, {0.05, 0.95}},
     {{0.1, 0.1}}},
    // The keypad's 7 with Num Lock on is a digit: nothing moves.
    {"keypad_home_with_num_lock_does_nothing",
     {"band", "5", "65", "35", "95", "key", "home", "numlock=on", "key", "enter"},
     {{0.1, 0.1}, {0.3, 0.1}},
     {{0.05, 0.75}}},
    // Keypad 4 with Num Lock on moves left; Shift makes the step 1/32.
    {"keypad_left_with_shift",
     {"band", "5", "65", "35", "95", "key", "left", "numlock=on", "shift=on", "key", "enter"},
     {{0.06875, 0.1}, {0.26875, 0.1}},
     {{0.1, 0.1}}},
    // "=" stretches the band over the whole square; a right click commits
    // like Enter.
    {"right_click_commits",
     {"band", "5", "65", "35", "95", "key", "=", "right-click", "50", "50"},
     {{1.0 / 6, 1.0 / 6}, {5.0 / 6, 1.0 / 6}, {1.0 / 6, 5.0 / 6}},
     {{0.1, 0.1}}},
    // Esc drops the move.
    {"esc_drops",
     {"band", "5", "65", "35", "95", "key", "=", "key", "esc"},
     {{0.1, 0.1}},
     {{1.0 / 6, 1.0 / 6}}},
    // Dragging the frame's inside by 20 pixels right and up, then a click
    // outside it commits: u + 0.2, v + 0.2.
    {"drag_inside",
     {"band", "5", "65", "35", "95", "drag", "20", "80", "40", "60", "click", "99", "1"},
     {{0.3, 0.3}, {0.5, 0.3}, {0.3, 0.5}},
     {{0.1, 0.1}}},
    // Ctrl+X mirrors the selection inside its frame.
    {"invert_h",
     {"band", "5", "65", "35", "95", "invert-h", "key", "enter"},
     {{0.3, 0.1}, {0.1, 0.1}, {0.3, 0.3}},
     {{0.1, 0.3}}},
    // Select the right group (its frame fits it: x 0.6..0.8, y 0.2..0.4)
    // and move it to the bottom-right corner of the view.
    {"select_group_and_page_down",
     {"select-group", "right", "key", "pagedown", "select-none"},
     {{0.8, 0.0}, {1.0, 0.0}, {0.8, 0.2}},
     {{0.6, 0.6}}},
};

class CliEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(CliEditTest, SavedModelShowsTheEdit) {
  const EditCase& c = GetParam();
  ScratchFolder folder;
  folder.write("in.obj", kTwoTriangles);
  std::vector<std::string> arguments = {"--view=101x101", "load", "in.obj"};
  arguments.insert(arguments.end(), c.steps.begin(), c.steps.end());
  arguments.insert(arguments.end(), {"save-obj", "out.obj"});
  const CliResult result = runCli(folder, arguments);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const auto uvs = texVertices(folder.read("out.obj"));
  for (auto [u, v] : c.present) EXPECT_TRUE(hasUv(uvs, u, v)) << u << "," << v;
  for (auto [u, v] : c.absent) EXPECT_FALSE(hasUv(uvs, u, v)) << u << "," << v;
}

INSTANTIATE_TEST_SUITE_P(Steps, CliEditTest, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliSelection, AssignToANewGroupAsksAndNamesTheGroupInTheFile) {
  ScratchFolder folder;
  folder.write("in.obj", kTwoTriangles);
  const CliResult result =
      runCli(folder, {"load", "in.obj", "select-group", "left", "assign-group", "wood",
                      "assign-group", "glass", "answer=no", "save-obj", "out.obj"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("[New Group]\nGroup wood does not exist\ndo you want to create "
                            "it?\n-> Yes\n\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("Group glass does not exist\ndo you want to create it?\n-> No\n\n"),
            std::string::npos);
  const std::string saved = folder.read("out.obj");
  EXPECT_NE(saved.find("g wood"), std::string::npos) << saved;
}

TEST(CliSelection, UsageErrorsAndStepsWithoutAModel) {
  ScratchFolder folder;
  struct Case {
    std::vector<std::string> arguments;
    int exitStatus;
  } cases[] = {
      {{"key", "f1"}, 2},
      {{"key", "home", "numlock=maybe"}, 2},
      {{"band", "1", "2", "3"}, 2},
      {{"select-method", "edge"}, 2},
      {{"select-method", "vertex", "key", "home", "band", "0", "0", "9", "9"}, 0},
      {{"select-all"}, 1},
  };
  for (const Case& c : cases) {
    const CliResult result = runCli(folder, c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.arguments.front() << " " << result.err;
  }
}

}  // namespace
}  // namespace corvina
