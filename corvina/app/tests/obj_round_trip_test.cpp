// What the writer writes, the reader reads back as the same model: positions,
// the texture coordinate and normal of every corner, the facets, the set names
// of every facet, the settings and the shape lines.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/obj_open_save.h"
#include "model/model_walk.h"
#include "model/reports.h"
#include "testing/file_bytes.h"
#include "testing/model_builder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using testing::ModelRecipe;

// Eight decimals keep every digit of a float of magnitude 0.1 and up; smaller
// ones lose digits below the eighth decimal.
void expectNearlySame(float read, float written, const char* what, std::size_t at) {
  const float tolerance = 5.1e-9f + std::abs(written) * 1.2e-7f;
  EXPECT_LE(std::abs(read - written), tolerance) << what << " " << at;
}

std::string setName(const std::vector<SetRecord>& table, int names, std::uint16_t field,
                    const char* none) {
  if (names == 0) return none;
  return table[field & kSetIndexMask].name;
}

// Corner by corner: both streams hold the same records in the same order.
void expectSameModel(const ModelStore& read, const ModelStore& written,
                     const ObjExportOptions& options) {
  ASSERT_EQ(read.numVerts, written.numVerts);
  for (std::size_t i = 0; i < written.vertices.size(); ++i) {
    const Vertex& source = options.useRotation ? written.vertices[i] : written.baseVertices[i];
    expectNearlySame(read.vertices[i].x, source.x, "vertex x", i);
    expectNearlySame(read.vertices[i].y, source.y, "vertex y", i);
    expectNearlySame(read.vertices[i].z, source.z, "vertex z", i);
  }
  ASSERT_EQ(read.numCornerRecords, written.numCornerRecords);
  EXPECT_EQ(read.numFacets, written.numFacets);
  for (std::size_t j = 0; j < written.facetStream.size(); ++j) {
    const CornerRecord& r = read.facetStream[j];
    const CornerRecord& w = written.facetStream[j];
    ASSERT_EQ(r.vertex, w.vertex) << j;
    if (w.vertex < 1) continue;
    const TexVertex& rt = read.texVertices[static_cast<std::size_t>(r.texVertex - 1)];
    const TexVertex& wt = written.texVertices[static_cast<std::size_t>(w.texVertex - 1)];
    expectNearlySame(rt.u, wt.u, "u of corner", j);
    expectNearlySame(rt.v, wt.v, "v of corner", j);
    ASSERT_EQ(r.normal == 0, w.normal == 0) << j;
    if (w.normal != 0) {
      const Normal& rn = read.normals[static_cast<std::size_t>(r.normal - 1)];
      const Normal& wn = written.normals[static_cast<std::size_t>(w.normal - 1)];
      expectNearlySame(rn.x, wn.x, "normal x of corner", j);
      expectNearlySame(rn.y, wn.y, "normal y of corner", j);
      expectNearlySame(rn.z, wn.z, "normal z of corner", j);
    }
    EXPECT_EQ(setName(read.groups, read.numGroups, r.group, ""),
              setName(written.groups, written.numGroups, w.group, "Figure 1"))
        << j;
    EXPECT_EQ(setName(read.materials, read.numMaterials, r.material, ""),
              setName(written.materials, written.numMaterials, w.material, ""))
        << j;
    EXPECT_EQ(setName(read.regions, read.numRegions, r.region, ""),
              setName(written.regions, written.numRegions, w.region, ""))
        << j;
  }
  EXPECT_EQ(read.mapWidth, written.mapWidth);
  EXPECT_EQ(read.mapHeight, written.mapHeight);
  EXPECT_EQ(read.colorMode, written.colorMode);
  EXPECT_EQ(read.pixelsPerUnit, written.pixelsPerUnit);
  // Shape lines after the last facet are not written.
  std::vector<std::pair<std::string, int>> expectedLines, readLines;
  for (const TextLine& line : written.shapeLines) {
    if (line.facetOrdinal < written.numFacets)
      expectedLines.emplace_back(line.text, line.facetOrdinal);
  }
  for (const TextLine& line : read.shapeLines) readLines.emplace_back(line.text, line.facetOrdinal);
  EXPECT_EQ(readLines, expectedLines);
}

ModelRecipe quadsWithSets() {
  ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, -0.25f}};
  recipe.texVertices = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
  recipe.normals = {{0, 0, 1}};
  recipe.facets = {{{1, 1, 1}, {2, 2, 1}, {3, 3, 1}, {4, 4, 1}},
                   {{1, 1, 0}, {2, 2, 0}, {5, 5, 0}},
                   {{2, 0, 1}, {3, 0, 1}, {5, 0, 1}}};
  recipe.groups = {{1, "lid top"}, {2, "base"}};
  recipe.materials = {{0, "Metal"}, {2, "metal"}};
  recipe.regions = {{0, "r1"}};
  recipe.shapeLines = {{0, "s 1"}, {2, "s off"}, {3, "l 1 2"}};
  return recipe;
}

TEST(ObjRoundTrip, ReaderGetsTheWrittenModelBack) {
  struct Case {
    const char* name;
    ModelRecipe recipe;
    ObjExportOptions options;
    void (*prepare)(ModelStore&) = nullptr;
  };
  ObjExportOptions separate, rawLineFeeds, rotated;
  separate.separateUVs = true;
  rawLineFeeds.noLinefeeds = true;
  rotated.useRotation = true;
  std::vector<Case> cases = {
      {"QuadsWithSets", quadsWithSets(), {}},
      {"QuadsSeparateUVs", quadsWithSets(), separate},
      {"QuadsLineFeedsOnly", quadsWithSets(), rawLineFeeds,
       [](ModelStore& s) {
         s.mapWidth = 2048;
         s.mapHeight = 64;
         s.colorMode = 3;
         s.pixelsPerUnit = 12.75f;
       }},
  };
  for (unsigned seed = 1; seed <= 4; ++seed) {
    cases.push_back({"Random", testing::randomModelRecipe(seed, 200 * seed),
                     seed % 2 ? ObjExportOptions{} : separate});
  }
  cases.push_back({"RandomRotated", testing::randomModelRecipe(9, 300), rotated, [](ModelStore& s) {
                     for (Vertex& v : s.vertices) v.x = -v.x;
                   }});

  testing::ScratchFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelStore written = testing::buildModel(c.recipe);
    if (c.prepare) c.prepare(written);
    corvina::testing::ScriptedUserInterface ui;
    const std::string path = folder.file("round.obj");
    ASSERT_TRUE(writeObjModel(written, path, c.options, ui));

    ModelStore read;
    SelectionState selection;
    ASSERT_TRUE(openObjModel(read, selection, path, ui));
    EXPECT_TRUE(ui.questions.empty());  // nothing out of range was written
    expectSameModel(read, written, c.options);
  }
}

// Each facet with corners, in stream order: its vertices and set names.
std::vector<std::string> facetsWithCorners(const ModelStore& store) {
  std::vector<std::string> facets;
  forEachFacetSpan(store, [&](std::size_t first, std::size_t end) {
    if (first == end) return;
    std::string facet =
        setName(store.groups, store.numGroups, store.facetStream[first].group, "") + "|" +
        setName(store.materials, store.numMaterials, store.facetStream[first].material, "") + "|";
    for (std::size_t j = first; j < end; ++j)
      facet += " " + std::to_string(store.facetStream[j].vertex);
    facets.push_back(facet);
  });
  return facets;
}

// Each kept line with the number of facets with corners before it.
std::vector<std::pair<std::string, int>> placedLines(const ModelStore& store) {
  std::vector<int> cornersBefore;  // facets with corners before each facet ordinal
  int withCorners = 0;
  forEachFacetSpan(store, [&](std::size_t first, std::size_t end) {
    cornersBefore.push_back(withCorners);
    withCorners += first < end;
  });
  cornersBefore.push_back(withCorners);
  std::vector<std::pair<std::string, int>> lines;
  for (const TextLine& line : store.shapeLines)
    lines.emplace_back(
        line.text,
        cornersBefore[std::min<std::size_t>(line.facetOrdinal, cornersBefore.size() - 1)]);
  return lines;
}

TEST(ObjRoundTrip, BackslashesAndFacetsWithoutCornersReadBackTheSame) {
  ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  // The second facet's first corner resolved to nothing: a facet without
  // corners, then the facet 2 3.
  recipe.facets = {{{1}, {2}, {3}}, {{0}, {2}, {3}}, {{1}, {3}, {2}}};
  recipe.groups = {{0, "ends in a backslash\\"}, {2, "a\\b"}};
  recipe.materials = {{0, "\\\\"}, {3, "plain"}};
  recipe.shapeLines = {{1, "s 1\\"}, {2, "s \\x"}, {3, "l 1 2"}};
  ModelStore written = testing::buildModel(recipe);

  testing::ScratchFolder folder;
  corvina::testing::ScriptedUserInterface ui;
  const std::string path = folder.file("escaped.obj");
  ASSERT_TRUE(writeObjModel(written, path, ObjExportOptions{}, ui));
  ModelStore read;
  SelectionState selection;
  ASSERT_TRUE(openObjModel(read, selection, path, ui));

  EXPECT_EQ(facetsWithCorners(read), facetsWithCorners(written));
  // The statistics agree; only the texture count of the expanded model,
  // one per stream record, lacks the record of the facet without corners.
  auto withoutTextures = [](std::string text) {
    const std::size_t at = text.find("textures = ");
    return text.erase(at, text.find('\n', at) + 1 - at);
  };
  EXPECT_EQ(withoutTextures(statisticsText(read)), withoutTextures(statisticsText(written)));
  EXPECT_EQ(read.numFacets, 3);
  EXPECT_EQ(placedLines(read), placedLines(written));
  ASSERT_EQ(read.numGroups, 2);
  EXPECT_STREQ(read.groups[0].name, "ends in a backslash\\");
  EXPECT_STREQ(read.groups[1].name, "a\\b");
  EXPECT_STREQ(read.materials[0].name, "\\\\");

  // Written again, the file is the same: nothing more is lost or moved.
  const std::string again = folder.file("again.obj");
  ASSERT_TRUE(writeObjModel(read, again, ObjExportOptions{}, ui));
  EXPECT_EQ(testing::readBytes(again), testing::readBytes(path));
}

}  // namespace
}  // namespace corvina
