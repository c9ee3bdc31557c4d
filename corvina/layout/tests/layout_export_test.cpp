// The layout pictures as other programs read them: Pillow finds the outlines
// where the facets' edges are, transparency away from them and fills inside;
// Python's XML parser finds one polygon per facet at (u * W, (1 - v) * H).

#include "layout/layout_export.h"

#include <gtest/gtest.h>

#include <sstream>

#include "testing/external_tools.h"
#include "testing/model_builder.h"
#include "testing/scratch_folder.h"

namespace corvina {
namespace {

using testing::ScratchFolder;

// A square facet over u, v in 0.25..0.75 (group "frame") and a triangle in
// the lower left corner of the map (group "corner").
ModelStore squareAndTriangle() {
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {3, 0, 0}, {2, 1, 0}};
  recipe.texVertices = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.75f},
                        {0.05f, 0.05f}, {0.2f, 0.05f},  {0.05f, 0.2f}};
  recipe.facets = {{{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {{5, 5}, {6, 6}, {7, 7}}};
  recipe.groups = {{0, "frame"}, {1, "corner"}};
  return testing::buildModel(recipe);
}

// RGBA of each pixel (x, y from the top left), as Pillow reads the file.
std::vector<std::array<int, 4>> pixelsOf(const std::string& python, const ScratchFolder& folder,
                                         const std::string& path,
                                         const std::vector<std::array<int, 2>>& at) {
  const std::string script = folder.write("pixels.py",
                                          "import sys\n"
                                          "from PIL import Image\n"
                                          "im = Image.open(sys.argv[1])\n"
                                          "assert im.mode == 'RGBA'\n"
                                          "for i in range(2, len(sys.argv), 2):\n"
                                          "  print(*im.getpixel((int(sys.argv[i]), "
                                          "int(sys.argv[i + 1]))))\n");
  std::string command = python + " " + script + " " + path;
  for (const auto& p : at) command += " " + std::to_string(p[0]) + " " + std::to_string(p[1]);
  std::istringstream out(testing::commandOutput(command));
  std::vector<std::array<int, 4>> pixels;
  std::array<int, 4> pixel{};
  while (out >> pixel[0] >> pixel[1] >> pixel[2] >> pixel[3]) pixels.push_back(pixel);
  return pixels;
}

TEST(LayoutExportTest, PngHasOutlinesFillsAndTransparency) {
  const std::string python = testing::pythonWithPillow();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
  ScratchFolder folder;
  struct Case {
    const char* what;
    bool flipV, flipH;
    int fill;
    int colorMode;
    // Pixels to read: on the square's left edge (x 15 and 16 share it), its
    // centre, a far corner, inside the triangle and where the triangle would
    // be mirrored.
    std::array<int, 2> triangle, mirrored;
    int centreAlpha;
    std::array<int, 3> lineColour;
  };
  const Case cases[] = {
      {"plain", false, false, 0, kColorModeBlackWhite, {5, 58}, {5, 5}, 0, {0, 0, 0}},
      {"fills by group", false, false, 1, kColorModeBlackWhite, {5, 58}, {5, 5}, 128, {0, 0, 0}},
      {"flipped vertically", true, false, 1, kColorModeGroup, {5, 5}, {5, 58}, 128, {0, 0, 0}},
      {"flipped both ways", true, true, 1, kColorModeGroup, {58, 5}, {5, 58}, 128, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store = squareAndTriangle();
    store.colorMode = c.colorMode;
    LayoutExportOptions options;
    options.width = options.height = 64;
    options.flipV = c.flipV;
    options.flipH = c.flipH;
    options.fill = c.fill;
    const std::string path = folder.path("layout.png");
    ASSERT_EQ(exportLayoutPng(store, options, path), LayoutExportOutcome::Written);
    const auto pixels = pixelsOf(python, folder, path,
                                 {{15, 32}, {16, 32}, {32, 32}, {1, 1}, c.triangle, c.mirrored});
    ASSERT_EQ(pixels.size(), 6u);
    // The edge at x = 16 lies between two pixel centres: each half covered.
    EXPECT_EQ(pixels[0][3], 128);
    EXPECT_EQ(pixels[1][3], c.fill ? 191 : 128);  // the fill shows under the inner half
    EXPECT_EQ(pixels[0][0], c.lineColour[0]);
    EXPECT_EQ(pixels[2][3], c.centreAlpha);
    EXPECT_EQ(pixels[3][3], 0);  // far from every facet
    EXPECT_EQ(pixels[4][3], c.fill ? 128 : 0);
    if (c.fill) {
      // The triangle is group "corner", set 1: red.
      EXPECT_EQ(pixels[4][0], 255);
      EXPECT_EQ(pixels[4][1], 0);
    }
    EXPECT_EQ(pixels[5][3], 0);
  }
}

TEST(LayoutExportTest, PngLinesFollowTheColourModeAndWidth) {
  const std::string python = testing::pythonWithPillow();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
  ScratchFolder folder;
  ModelStore store = squareAndTriangle();
  store.colorMode = kColorModeGroup;
  LayoutExportOptions options;
  options.width = options.height = 64;
  options.lineWidth = 5;
  const std::string path = folder.path("wide.png");
  ASSERT_EQ(exportLayoutPng(store, options, path), LayoutExportOutcome::Written);
  // Five pixels wide about x = 16: full from 14 to 17, none at 11 or 20.
  const auto pixels = pixelsOf(python, folder, path, {{14, 32}, {17, 32}, {11, 32}, {20, 32}});
  ASSERT_EQ(pixels.size(), 4u);
  EXPECT_EQ(pixels[0][3], 255);
  EXPECT_EQ(pixels[1][3], 255);
  EXPECT_EQ(pixels[2][3], 0);
  EXPECT_EQ(pixels[3][3], 0);
  // Group "frame" is set 0: black.
  EXPECT_EQ(pixels[0][0], 0);
}

TEST(LayoutExportTest, SvgHasOnePolygonPerFacetByGroup) {
  ScratchFolder folder;
  const std::string script =
      folder.write("polygons.py",
                   "import sys, xml.etree.ElementTree as ET\n"
                   "ns = {'s': 'http://www.w3.org/2000/svg'}\n"
                   "root = ET.parse(sys.argv[1]).getroot()\n"
                   "print(root.get('width'), root.get('height'))\n"
                   "for g in root.findall('s:g', ns):\n"
                   "  print(g.get('data-name'), g.get('stroke'), g.find('s:title', ns).text)\n"
                   "  for p in g.findall('s:polygon', ns): print(' ', p.get('points'))\n");
  struct Case {
    const char* what;
    LayoutExportOptions options;
    std::string expected;
  };
  LayoutExportOptions plain;
  plain.width = 64;
  plain.height = 32;
  LayoutExportOptions flipped = plain;
  flipped.flipV = flipped.flipH = true;
  LayoutExportOptions byMaterial = plain;
  byMaterial.groupBy = 1;
  const Case cases[] = {
      {"by group", plain,
       "64 32\nframe #000000 frame\n  16,24 48,24 48,8 16,8\ncorner #ff0000 corner\n"
       "  3.2,30.4 12.8,30.4 3.2,25.6\n"},
      {"flipped", flipped,
       "64 32\nframe #000000 frame\n  48,8 16,8 16,24 48,24\ncorner #ff0000 corner\n"
       "  60.8,1.6 51.2,1.6 60.8,6.4\n"},
      {"by material, which the model has none of", byMaterial,
       "64 32\n #000000 None\n  16,24 48,24 48,8 16,8\n  3.2,30.4 12.8,30.4 3.2,25.6\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = folder.path("layout.svg");
    ASSERT_EQ(exportLayoutSvg(squareAndTriangle(), c.options, path), LayoutExportOutcome::Written);
    EXPECT_EQ(testing::commandOutput("python3 " + script + " " + path), c.expected);
  }
}

TEST(LayoutExportTest, HiddenAndUnmappedFacetsAreLeftOut) {
  ScratchFolder folder;
  const std::string script = folder.write("count.py",
                                          "import sys, xml.etree.ElementTree as ET\n"
                                          "print(len(ET.parse(sys.argv[1]).getroot().findall('.//"
                                          "{http://www.w3.org/2000/svg}polygon')))\n");
  struct Case {
    const char* what;
    bool excludeHidden;
    bool hideSquare;
    bool unmapTriangle;
    int polygons;
  };
  const Case cases[] = {
      {"all drawn", false, false, false, 2},
      {"hidden drawn when not excluded", false, true, false, 2},
      {"hidden excluded", true, true, false, 1},
      {"a corner without coordinate", false, false, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelStore store = squareAndTriangle();
    if (c.hideSquare) store.facetStream[2].flags |= kHiddenBit;
    if (c.unmapTriangle) store.texVertices[7] = {kNoUvU, kNoUvV, 0};
    LayoutExportOptions options;
    options.excludeHidden = c.excludeHidden;
    const std::string path = folder.path("count.svg");
    ASSERT_EQ(exportLayoutSvg(store, options, path), LayoutExportOutcome::Written);
    EXPECT_EQ(testing::commandOutput("python3 " + script + " " + path),
              std::to_string(c.polygons) + "\n");
    // The PNG takes the same facets and is written too.
    EXPECT_EQ(exportLayoutPng(store, options, folder.path("count.png")),
              LayoutExportOutcome::Written);
  }
}

TEST(LayoutExportTest, UnwritableFolderIsReported) {
  ScratchFolder folder;
  const ModelStore store = squareAndTriangle();
  EXPECT_EQ(exportLayoutPng(store, LayoutExportOptions{}, folder.path("no/such.png")),
            LayoutExportOutcome::CannotOpen);
  EXPECT_EQ(exportLayoutSvg(store, LayoutExportOptions{}, folder.path("no/such.svg")),
            LayoutExportOutcome::CannotOpen);
}

}  // namespace
}  // namespace corvina
