// corvina-cli's render-3d step end to end: the PNG it writes, read back by
// Pillow, shows the checker, the background picture, the set colours, the
// selection's highlight and the missing-texture colour where the model is,
// and the background colour elsewhere. The drawing needs an OpenGL context
// without a display (Mesa's software renderer gives one); where none can be
// made at all the tests are skipped, except the forced failure's.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/cli/tests/cli_process.h"
#include "testing/external_tools.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

// Prints the picture's format, mode and size, then for each colour given as
// R,G,B how many pixels lie within 4 of it in every channel, then the
// colour of the top-left pixel.
constexpr const char* kCountColours = R"(import sys
from PIL import Image
im = Image.open(sys.argv[1])
print(im.format, im.mode, *im.size)
rgb = im.convert('RGB')
pixels = list(rgb.getdata())
for colour in sys.argv[2:]:
    want = [int(x) for x in colour.split(',')]
    print(sum(1 for p in pixels if all(abs(p[i] - want[i]) <= 4 for i in range(3))))
print(*rgb.getpixel((0, 0)))
)";

const char* kBackground = "56,72,96";
const char* kLight = "240,240,240";
const char* kDark = "224,96,16";

struct Counts {
  std::string header;
  std::vector<int> counts;
  std::string corner;
};

class Render3dStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    python_ = testing::pythonWithPillow();
    if (python_.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
    script_ = folder_.write("count.py", kCountColours);
  }

  // Runs corvina-cli; skips the test when it reports that no OpenGL context
  // can be made here.
  CliResult render(const std::vector<std::string>& arguments) {
    CliResult result = runCli(folder_, arguments);
    if (result.err.find("No OpenGL context") != std::string::npos) noOpenGl_ = result.err;
    return result;
  }

  Counts count(const std::string& picture, const std::vector<std::string>& colours) {
    std::string command = python_ + " " + script_ + " " + folder_.path(picture);
    for (const std::string& colour : colours) command += " " + colour;
    std::istringstream lines(testing::commandOutput(command));
    Counts counts;
    std::getline(lines, counts.header);
    for (std::size_t i = 0; i < colours.size(); ++i) {
      std::string line;
      std::getline(lines, line);
      counts.counts.push_back(line.empty() ? -1 : std::stoi(line));
    }
    std::getline(lines, counts.corner);
    return counts;
  }

  ScratchFolder folder_;
  std::string python_, script_, noOpenGl_;
};

#define SKIP_WITHOUT_OPENGL() \
  if (!noOpenGl_.empty()) GTEST_SKIP() << noOpenGl_

TEST_F(Render3dStepsTest, TheCheckerCoversTheModelOverTheBackground) {
  const CliResult result =
      render({"new-sphere", "render-3d", "sphere.png", "width=160", "height=120"});
  SKIP_WITHOUT_OPENGL();
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const Counts counts = count("sphere.png", {kBackground, kLight, kDark});
  EXPECT_EQ(counts.header, "PNG RGBA 160 120");
  EXPECT_EQ(counts.corner, "56 72 96");
  // The framed sphere covers about a third of the picture, the background
  // the rest; its brightest squares face the camera in the two colours.
  EXPECT_GT(counts.counts[0], 160 * 120 / 3);
  EXPECT_LT(counts.counts[0], 160 * 120 * 3 / 4);
  EXPECT_GT(counts.counts[1], 50);
  EXPECT_GT(counts.counts[2], 50);
}

TEST_F(Render3dStepsTest, TexturesSelectionAndMissingCoordinatesColourTheFrontFace) {
  // A box seen face-on: its front face, lit fully, fills the middle.
  folder_.write("bare.obj", "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\nf 1 2 3 4\n");
  const std::string makeBmp = folder_.write(
      "bmp.py", "from PIL import Image\nImage.new('RGB', (8, 8), (20, 200, 60)).save('bg.bmp')\n");
  ASSERT_EQ(std::system(
                ("cd " + testing::shellQuoted(folder_.folder()) + " && " + python_ + " " + makeBmp)
                    .c_str()),
            0);
  // One run renders the box three times, then a second the bare square.
  const CliResult box =
      render({"new-box", "render-3d", "checker.png", "width=80", "height=60", "yaw=0", "pitch=0",
              "background", "bg.bmp", "render-3d", "picture.png", "texture=background",
              "select-all", "render-3d", "selected.png", "texture=checker"});
  SKIP_WITHOUT_OPENGL();
  ASSERT_EQ(box.exitStatus, 0) << box.err;
  const CliResult bare = render(
      {"load", "bare.obj", "render-3d", "bare.png", "width=80", "height=60", "yaw=0", "pitch=0"});
  ASSERT_EQ(bare.exitStatus, 0) << bare.err;
  struct Case {
    const char* picture;
    std::vector<std::string> colours;  // each must cover much of the face
  };
  const Case cases[] = {
      {"checker.png", {kLight, kDark}},
      {"picture.png", {"20,200,60"}},
      // Both checker colours blended 70% of the way to the selection red.
      {"selected.png", {"206,72,72", "202,29,5"}},
      {"bare.png", {"255,0,255"}},  // no texture coordinates
  };
  for (const Case& c : cases) {
    std::vector<std::string> colours = {kBackground};
    colours.insert(colours.end(), c.colours.begin(), c.colours.end());
    const Counts counts = count(c.picture, colours);
    EXPECT_EQ(counts.header, "PNG RGBA 80 60") << c.picture;
    EXPECT_EQ(counts.corner, "56 72 96") << c.picture;
    EXPECT_GT(counts.counts[0], 200) << c.picture;  // the background around the face
    for (std::size_t i = 1; i < counts.counts.size(); ++i)
      EXPECT_GT(counts.counts[i], 80) << c.picture << " " << colours[i];
  }
}

TEST_F(Render3dStepsTest, AnEmptyStoreShowsOnlyTheBackground) {
  const CliResult result = render({"render-3d", "empty.png", "width=40", "height=30"});
  SKIP_WITHOUT_OPENGL();
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const Counts counts = count("empty.png", {kBackground});
  EXPECT_EQ(counts.header, "PNG RGBA 40 30");
  EXPECT_EQ(counts.counts[0], 40 * 30);
}

TEST_F(Render3dStepsTest, TheDistanceMovesTheCamera) {
  const CliResult framed =
      render({"new-sphere", "render-3d", "framed.png", "width=80", "height=60"});
  SKIP_WITHOUT_OPENGL();
  ASSERT_EQ(framed.exitStatus, 0) << framed.err;
  const CliResult far = render({"new-sphere", "render-3d", "far.png", "width=80", "height=60",
                                "distance=60", "texture=sets"});
  ASSERT_EQ(far.exitStatus, 0) << far.err;
  const int framedBackground = count("framed.png", {kBackground}).counts[0];
  const int farBackground = count("far.png", {kBackground}).counts[0];
  EXPECT_LT(framedBackground, 80 * 60 * 3 / 4);
  EXPECT_GT(farBackground, 80 * 60 - 200);  // a small disc at eight times the distance
  EXPECT_LT(farBackground, 80 * 60);
}

TEST_F(Render3dStepsTest, BadDistancesAndNoOpenGlAreErrors) {
  struct Case {
    std::vector<std::string> environment;
    std::string distance, message;
  };
  const Case cases[] = {
      {{}, "distance=-2", "The camera distance must be a positive number"},
      {{}, "distance=far", "The camera distance must be a positive number"},
      {{"CORVINA_NO_OPENGL=1"},
       "distance=",
       "No OpenGL context for the 3D preview: OpenGL is "
       "turned off (CORVINA_NO_OPENGL)"},
  };
  for (const Case& c : cases) {
    const CliResult result =
        runCli(folder_, {"new-sphere", "render-3d", "bad.png", c.distance}, c.environment);
    EXPECT_EQ(result.exitStatus, 1) << c.distance;
    EXPECT_EQ(result.err, "[Error]\n" + c.message + "\n\n") << c.distance;
    EXPECT_FALSE(std::filesystem::exists(folder_.path("bad.png"))) << c.distance;
  }
}

}  // namespace
}  // namespace corvina
