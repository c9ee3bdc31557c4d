// The layout steps of corvina-cli end to end: pack and equalize-density on a
// generated model, read back through the dimensions report and the files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/cli/tests/cli_process.h"
#include "testing/external_tools.h"

namespace corvina {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::ScratchFolder;

struct UvRange {
  float minU = -1, maxU = -1, minV = -1, maxV = -1;
};

// The texture-coordinate lines of the dimensions report.
UvRange uvRangeOf(const std::string& out) {
  UvRange range;
  const std::size_t at = out.rfind("min u =");
  if (at != std::string::npos)
    std::sscanf(out.c_str() + at, "min u = %f\tmax u = %f\nmin v = %f\tmax v = %f", &range.minU,
                &range.maxU, &range.minV, &range.maxV);
  return range;
}

std::uint32_t little32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(LayoutStepsTest, PackFillsTheMapInsideTheHalfPadding) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    int width, height;
    float padding;
  };
  const Case cases[] = {
      {"box map, wide map",
       {"new-box", "box", "pack", "width=256", "height=128", "padding=8"},
       256,
       128,
       8},
      {"sphere, rotations off",
       {"new-sphere", "pack", "width=300", "height=300", "padding=3", "allowRotation=off"},
       300,
       300,
       3},
      {"torus, equal density",
       {"new-torus", "pack", "equalDensity=on", "padding=0", "width=1024", "height=1024"},
       1024,
       1024,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    std::vector<std::string> arguments = c.arguments;
    for (const char* more : {"dims", "save-bmp", "map.bmp"}) arguments.push_back(more);
    const CliResult result = runCli(folder, arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const UvRange range = uvRangeOf(result.out);
    const float halfU = c.padding * 0.5f / static_cast<float>(c.width);
    const float halfV = c.padding * 0.5f / static_cast<float>(c.height);
    EXPECT_GE(range.minU, halfU - 1e-5f);
    EXPECT_LE(range.maxU, 1 - halfU + 1e-5f);
    EXPECT_GE(range.minV, halfV - 1e-5f);
    EXPECT_LE(range.maxV, 1 - halfV + 1e-5f);
    // Tight: the islands reach across most of the map one way or the other.
    EXPECT_GT(std::max(range.maxU - range.minU, range.maxV - range.minV), 0.8f);
    // The map size is set, as a projection sets it: the template takes it.
    const std::string bmp = folder.read("map.bmp");
    ASSERT_GT(bmp.size(), 26u);
    EXPECT_EQ(little32(bmp, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(little32(bmp, 22), static_cast<std::uint32_t>(c.height));
  }
}

TEST(LayoutStepsTest, SameStepsWriteTheSameFile) {
  ScratchFolder folder;
  for (const char* name : {"a.obj", "b.obj"}) {
    const CliResult result = runCli(folder, {"new-cylinder", "cylindrical", "equalize-density",
                                             "pack", "padding=6", "save-obj", name});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
  }
  const std::string a = folder.read("a.obj");
  EXPECT_GT(a.size(), 1000u);
  EXPECT_EQ(a, folder.read("b.obj"));
}

TEST(LayoutStepsTest, RefusalsAndUsageErrors) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string out, err;
  };
  const Case cases[] = {
      {"no model", {"pack"}, 1, "", "[Error]\nPlease load an OBJ file first\n\n"},
      {"no model to equalize",
       {"equalize-density"},
       1,
       "",
       "[Error]\nPlease load an OBJ file first\n\n"},
      {"padding leaves no room",
       {"new-sphere", "pack", "width=8", "height=8", "padding=200"},
       1,
       "",
       "[Error]\nThe islands do not fit into the map with this padding\n\n"},
      {"selected only without a selection",
       {"new-box", "pack", "selectedOnly=on"},
       0,
       "[Report]\nThere are no islands to pack\n\n",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const CliResult result = runCli(folder, c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
  }
  for (const char* field : {"padding=300", "padding=-1", "width=0", "height=9000", "rotate=on"}) {
    ScratchFolder folder;
    const CliResult result = runCli(folder, {"new-box", "pack", field});
    EXPECT_EQ(result.exitStatus, 2) << field;
    EXPECT_EQ(result.out, "") << field;
  }
}

TEST(LayoutStepsTest, ExportStepsWriteThePictures) {
  ScratchFolder folder;
  const CliResult result =
      runCli(folder, {"new-box", "box", "export-png", "map.png", "width=200", "height=100",
                      "lineWidth=2", "fill=group", "export-svg", "map.svg", "width=200",
                      "height=100", "flipV=on", "stats"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::size_t at = result.out.find("facets = ");
  ASSERT_NE(at, std::string::npos);
  const int facets = std::atoi(result.out.c_str() + at + 9);
  const std::string count =
      folder.write("count.py",
                   "import sys, xml.etree.ElementTree as ET\n"
                   "root = ET.parse(sys.argv[1]).getroot()\n"
                   "print(root.get('width'), root.get('height'), "
                   "len(root.findall('.//{http://www.w3.org/2000/svg}polygon')))\n");
  EXPECT_EQ(testing::commandOutput("python3 " + count + " " + folder.path("map.svg")),
            "200 100 " + std::to_string(facets) + "\n");
  const std::string python = testing::pythonWithPillow();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
  const std::string size = folder.write("size.py",
                                        "import sys\n"
                                        "from PIL import Image\n"
                                        "im = Image.open(sys.argv[1])\n"
                                        "print(im.format, im.mode, *im.size)\n");
  EXPECT_EQ(testing::commandOutput(python + " " + size + " " + folder.path("map.png")),
            "PNG RGBA 200 100\n");
}

}  // namespace
}  // namespace corvina
