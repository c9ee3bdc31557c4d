// The exporter as the host drives it: whole files, the dialog, the results
// and when the model is released.

#include "plugin/map_exporter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host_api/platform_dialogs.h"
#include "tests/test_support.h"

namespace brushwright_test {
namespace {

const std::string kHeader =
    "// Generic Map Export created by MilkShape 3D\r\n{\r\n\"classname\" \"worldspawn\"\r\n";

// The example model: a 64 x 64 x 16 wall box of 12 triangles (each quad's
// first triangle listed first), a light of two triangles and a glass pane.
msModel exampleModel() {
  MeshRecipe wall{"wall",
                  "stone",
                  {{-32, 0, 0},
                   {32, 0, 0},
                   {32, 64, 0},
                   {-32, 64, 0},
                   {-32, 0, 16},
                   {32, 0, 16},
                   {32, 64, 16},
                   {-32, 64, 16}},
                  {{4, 5, 6},
                   {4, 6, 7},
                   {1, 0, 3},
                   {1, 3, 2},
                   {5, 1, 2},
                   {5, 2, 6},
                   {0, 4, 7},
                   {0, 7, 3},
                   {7, 6, 2},
                   {7, 2, 3},
                   {0, 1, 5},
                   {0, 5, 4}}};
  MeshRecipe light{"light1",
                   "lamp",
                   {{10.5f, 40, -2.5f}, {0, 0, 0}, {1.4f, 50.6f, -7.5f}},
                   {{0, 1, 2}, {2, 1, 0}}};
  MeshRecipe glass{"glassB1pane",
                   "glass",
                   {{0, 0, 0}, {16, 0, 0}, {16, 16, 0}, {0, 16, 0}},
                   {{0, 1, 2}, {0, 2, 3}}};
  return buildModel({wall, light, glass});
}

struct Export {
  int32_t result;
  std::optional<std::string> file;
};

Export exportTo(msModel& model, const TempFolder& folder) {
  ScriptedDialogs dialogs(folder.path("out.map"));
  const int32_t result = exportMapFile(&model);
  return {result, readFile(folder.path("out.map"))};
}

std::string planeLine(int first, const std::string& material) {
  return "( " + std::to_string(first + 2) + " 0 0 ) ( " + std::to_string(first + 1) + " 0 0 ) ( " +
         std::to_string(first) + " 0 0 )  " + material + " 0 0 0 1 1 0 0 0\r\n";
}

TEST(MapExporter, WritesTheExampleModelByteForByte) {
  TempFolder folder;
  msModel model = exampleModel();
  const Export written = exportTo(model, folder);
  ASSERT_EQ(written.result, 0);
  EXPECT_EQ(written.file, readFile(BRUSHWRIGHT_TEST_DATA "/wall_light_glass.map"));
  EXPECT_EQ(model.destroyCount, 1);
}

TEST(MapExporter, UsesEveryOtherTriangleForPlanes) {
  struct Case {
    int triangles;
    std::string brushBody;
  };
  const Case cases[] = {
      {0, ""},
      {1, planeLine(0, "m")},
      {3, planeLine(0, "m") + planeLine(6, "m")},
      {4, planeLine(0, "m") + planeLine(6, "m")},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    msModel model = buildModel({stripMesh("brush", "m", c.triangles)});
    const Export written = exportTo(model, folder);
    EXPECT_EQ(written.file, kHeader + "// Brush Name: brush\r\n// Material Name: m\r\n{\r\n" +
                                c.brushBody + "}\r\n}\r\n")
        << c.triangles << " triangles";
  }
}

TEST(MapExporter, ClassifiesMeshesByCaseSensitivePrefix) {
  struct Case {
    std::string name;
    std::string becomes;  // "world" or the entity's class name
  };
  const Case cases[] = {
      {"Light", "world"},
      {"lights", "light"},
      {"lightning", "light"},
      {"light_02", "light"},
      {"ligh", "world"},
      {"xlight", "world"},
      {"deathmatch2", "info_player_deathmatch"},
      {"Deathmatch", "world"},
      {"deathmatc", "world"},
      {"glassB1", "func_breakable"},
      {"glassb1pane", "world"},
      {"glassB2", "world"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    msModel model = buildModel({stripMesh(c.name, "m", 1)});
    const std::string file = exportTo(model, folder).file.value_or("");
    const bool inWorld =
        file.find("\"worldspawn\"\r\n// Brush Name: " + c.name) != std::string::npos;
    EXPECT_EQ(inWorld, c.becomes == "world") << c.name;
    if (c.becomes != "world") {
      EXPECT_NE(file.find("}\r\n{\r\n\"classname\" \"" + c.becomes + "\""), std::string::npos)
          << c.name;
    }
  }
}

TEST(MapExporter, WritesEntitiesInMeshOrderAfterTheWorld) {
  TempFolder folder;
  msModel model = buildModel({stripMesh("deathmatch1", "", 1), stripMesh("light_a", "", 1),
                              stripMesh("wall", "stone", 2), stripMesh("glassB1x", "g", 1),
                              stripMesh("lightb", "", 1), stripMesh("deathmatch2", "", 1)});
  const std::string file = exportTo(model, folder).file.value_or("");
  std::vector<std::string> classes;
  for (size_t at = file.find("\"classname\" \""); at != std::string::npos;
       at = file.find("\"classname\" \"", at + 1)) {
    const size_t start = at + 13;
    classes.push_back(file.substr(start, file.find('"', start) - start));
  }
  EXPECT_EQ(classes,
            (std::vector<std::string>{"worldspawn", "info_player_deathmatch", "light",
                                      "func_breakable", "light", "info_player_deathmatch"}));
  EXPECT_NE(file.find("\"worldspawn\"\r\n// Brush Name: wall\r\n"), std::string::npos);
  EXPECT_NE(file.find("\"origin\" \"2 0 0\"\r\n"), std::string::npos);
}

TEST(MapExporter, MapsAxesAndRoundsHalvesAwayFromZero) {
  struct Case {
    std::array<float, 3> vertex;
    std::string point;
  };
  const Case cases[] = {
      {{1.5f, 0.0f, -2.5f}, "2 3 0"},   {{-2.5f, 0.5f, 2.5f}, "-3 -3 1"},
      {{-0.3f, 0.0f, 0.3f}, "-0 -0 0"}, {{0.3f, -0.0f, -0.0f}, "0 0 0"},
      {{0.0f, 0.0f, 0.0f}, "0 0 0"},    {{2.4999f, -1.5f, -0.5f}, "2 1 -2"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    msModel model = buildModel({{"light", "", {c.vertex, c.vertex, c.vertex}, {{0, 1, 2}}},
                                {"b", "m", {c.vertex, c.vertex, c.vertex}, {{0, 1, 2}}}});
    const std::string file = exportTo(model, folder).file.value_or("");
    const std::string point = "( " + c.point + " ) ";
    EXPECT_NE(file.find(point + point + point + " m 0"), std::string::npos) << c.point << file;
    EXPECT_NE(file.find("\"origin\" \"" + c.point + "\"\r\n"), std::string::npos) << c.point;
  }
}

TEST(MapExporter, CutsLongNamesToTheirBuffers) {
  TempFolder folder;
  const std::string meshName(70, 'n');
  const std::string materialName(40, 'm');
  msModel model = buildModel(
      {stripMesh(meshName, materialName, 1), stripMesh("glassB1" + meshName, materialName, 1)});
  const std::string file = exportTo(model, folder).file.value_or("");
  const std::string cutMaterial = materialName.substr(0, 31);
  EXPECT_NE(file.find("// Brush Name: " + meshName.substr(0, 63) +
                      "\r\n// Material Name: " + cutMaterial + "\r\n"),
            std::string::npos);
  EXPECT_NE(file.find("// Brush Name: " + ("glassB1" + meshName).substr(0, 63) + "\r\n"),
            std::string::npos);
  EXPECT_NE(file.find(" ) ( 0 0 0 )  " + cutMaterial + " 0 0 0 1 1 0 0 0\r\n"), std::string::npos);
  EXPECT_EQ(file.find(materialName.substr(0, 32)), std::string::npos);
}

TEST(MapExporter, LeavesOutPointEntitiesWithoutTriangles) {
  TempFolder folder;
  msModel model = buildModel({stripMesh("light0", "", 0), stripMesh("deathmatch0", "", 0),
                              stripMesh("glassB1empty", "g", 0)});
  EXPECT_EQ(exportTo(model, folder).file,
            kHeader +
                "}\r\n{\r\n\"classname\" \"func_breakable\"\r\n\"rendercolor\" \"0 0 0\"\r\n"
                "\"renderamt\" \"160\"\r\n\"health\" \"1\"\r\n\"rendermode\" \"2\"\r\n"
                "// Brush Name: glassB1empty\r\n// Material Name: g\r\n{\r\n}\r\n}\r\n");
}

TEST(MapExporter, ReportsEarlyEndsWithoutReleasingTheModel) {
  struct Case {
    std::string label;
    std::optional<std::string> savePath;  // "@" stands for a folder named like a map file
    bool emptyModel;
    int32_t result;
    size_t dialogs, messages;
  };
  const Case cases[] = {
      {"cancelled", std::nullopt, false, 0, 1, 0},
      {"empty model", "out.map", true, 0, 0, 1},
      {"target is a folder", "@", false, -1, 1, 0},
      {"folder not writable", "/proc/brushwright.map", false, -1, 1, 0},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    std::optional<std::string> path = c.savePath;
    if (path == "@") {
      path = folder.path("taken.map");
      std::filesystem::create_directory(*path);
    }
    if (path == "out.map") path = folder.path("out.map");
    msModel model = c.emptyModel ? msModel() : buildModel({stripMesh("b", "m", 2)});
    ScriptedDialogs dialogs(path);
    EXPECT_EQ(exportMapFile(&model), c.result) << c.label;
    EXPECT_EQ(model.destroyCount, 0) << c.label;
    EXPECT_EQ(dialogs.saveRequests.size(), c.dialogs) << c.label;
    EXPECT_EQ(dialogs.messages.size(), c.messages) << c.label;
    EXPECT_FALSE(readFile(folder.path("out.map"))) << c.label;
  }
}

TEST(MapExporter, ReportsAFileThatCouldNotBeWrittenCompletely) {
  TempFolder folder;
  writeFile(folder.path("out.map"), "previous");
  msModel model = buildModel({stripMesh("b", "m", 4000)});
  ScriptedDialogs dialogs(folder.path("out.map"));
  {
    FileSizeLimit limit(4096);
    EXPECT_EQ(exportMapFile(&model), -1);
  }
  EXPECT_EQ(model.destroyCount, 0);
  EXPECT_EQ(readFile(folder.path("out.map")), "previous");
}

TEST(MapExporter, WarnsAboutAnEmptyModelAndIgnoresANullOne) {
  ScriptedDialogs dialogs(std::string("/nonexistent/out.map"));
  EXPECT_EQ(exportMapFile(nullptr), -1);
  EXPECT_TRUE(dialogs.messages.empty());
  msModel empty;
  EXPECT_EQ(exportMapFile(&empty), 0);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "MAP Export");
  EXPECT_EQ(dialogs.messages[0].text, "The model is empty!  Nothing exported!");
  EXPECT_EQ(dialogs.messages[0].type, MB_OK | MB_ICONWARNING);
  EXPECT_TRUE(dialogs.saveRequests.empty());
}

TEST(MapExporter, AsksForAMapFileWithOverwriteQuestion) {
  TempFolder folder;
  msModel model = buildModel({stripMesh("b", "m", 1)});
  ScriptedDialogs dialogs(folder.path("typed"));
  ASSERT_EQ(exportMapFile(&model), 0);
  ASSERT_EQ(dialogs.saveRequests.size(), 1u);
  const SaveDialogRequest& request = dialogs.saveRequests[0];
  EXPECT_FALSE(request.hasOwner);
  EXPECT_EQ(request.title, "Export MAP");
  using Filters = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(request.filters, (Filters{{"MAP Files (*.map)", "*.map"}, {"All Files (*.*)", "*.*"}}));
  EXPECT_EQ(request.filterIndex, 1u);
  EXPECT_EQ(request.defaultExtension, "map");
  EXPECT_EQ(request.flags, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  EXPECT_EQ(request.startName, "");
  EXPECT_EQ(request.fileBufferSize, 256u);
  EXPECT_EQ(request.fileTitleBufferSize, 256u);
  EXPECT_TRUE(readFile(folder.path("typed.map")));  // the default extension was added
}

TEST(MapExporter, ReplacesAnExistingFileOnlyWhenConfirmed) {
  for (const bool confirm : {false, true}) {
    TempFolder folder;
    writeFile(folder.path("old.map"), "previous");
    msModel model = buildModel({stripMesh("b", "m", 1)});
    ScriptedDialogs dialogs(folder.path("old.map"), confirm);
    EXPECT_EQ(exportMapFile(&model), 0);
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(readFile(folder.path("old.map")) == "previous", !confirm);
    EXPECT_EQ(model.destroyCount, confirm ? 1 : 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path("")),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
  }
}

}  // namespace
}  // namespace brushwright_test
