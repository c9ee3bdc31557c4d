// The save command's behaviour around the text: the option dialog and file
// request, the bookkeeping of paths, busy cursor and progress, the recount of
// facets, damaged input, and saves that fail without harming the old file.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "files/obj_writer.h"
#include "files/tests/obj_writer_test_files.h"
#include "files/tests/obj_writer_test_models.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using corvina::testing::ScriptedUserInterface;
using testing::buildModel;
using testing::ScratchFolder;

TEST(ObjWriter, OptionDialogBindsEachCheckBoxToItsField) {
  struct Expected {
    const char* name;
    const char* label;
    bool ObjExportOptions::*field;
  };
  const Expected expected[] = {
      {"singleGroup", "Export As Single Group", &ObjExportOptions::singleGroup},
      {"exportNormals", "Export Normals", &ObjExportOptions::exportNormals},
      {"exportUVs", "Export UV Coordinates", &ObjExportOptions::exportUVs},
      {"flipV", "Flip Texture (UV) Coordinates Vertically", &ObjExportOptions::flipV},
      {"flipH", "Flip Texture (UV) Coordinates Horizontally", &ObjExportOptions::flipH},
      {"reverseWinding", "Reverse Winding Order", &ObjExportOptions::reverseWinding},
      {"invertNormals", "Invert Normals", &ObjExportOptions::invertNormals},
      {"swapYZ", "Swap Coordinates Y and Z", &ObjExportOptions::swapYZ},
      {"exportMaterials", "Export Materials", &ObjExportOptions::exportMaterials},
      {"exportRegions", "Export Corvina Regions", &ObjExportOptions::exportRegions},
      {"useRotation", "Export Using Rotation Settings", &ObjExportOptions::useRotation},
      {"noLinefeeds", "Don't Export Linefeeds (Mac compatible)", &ObjExportOptions::noLinefeeds},
      {"separateUVs", "Don't compess texture coordinates", &ObjExportOptions::separateUVs},
  };
  ObjExportOptions options;
  OptionDialog dialog = objExportOptionsDialog(options);
  EXPECT_EQ(dialog.caption, "OBJ Export Options");
  ASSERT_EQ(dialog.fields.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].name);
    const OptionField& field = dialog.fields[i];
    EXPECT_EQ(field.name, expected[i].name);
    EXPECT_EQ(field.label, expected[i].label);
    EXPECT_EQ(field.kind, OptionField::Kind::Bool);
    EXPECT_EQ(field.boolValue, &(options.*expected[i].field));
  }
  // Start values: normals, UVs, materials and regions on, the rest off.
  const ObjExportOptions start;
  EXPECT_TRUE(start.exportNormals && start.exportUVs && start.exportMaterials &&
              start.exportRegions);
  EXPECT_FALSE(start.singleGroup || start.flipV || start.flipH || start.reverseWinding ||
               start.invertNormals || start.swapYZ || start.useRotation || start.noLinefeeds ||
               start.separateUVs);
}

TEST(ObjWriter, SaveRequestStartsInTheLastFolder) {
  ModelStore store;
  store.lastDirectory = "/models/cars";
  const FileRequest request = objSaveFileRequest(store);
  EXPECT_TRUE(request.save);
  EXPECT_TRUE(request.confirmOverwrite);
  EXPECT_EQ(request.title, "Save OBJ...");
  EXPECT_EQ(request.initialName, "*.obj");
  EXPECT_EQ(request.defaultExtension, "obj");
  EXPECT_EQ(request.directory, "/models/cars");
  const std::vector<std::pair<std::string, std::string>> filters = {
      {"Wavefront Model (*.obj)", "*.obj"}, {"All Files (*.*)", "*.*"}};
  EXPECT_EQ(request.filters, filters);
}

TEST(ObjWriter, SetsPathsRecountsFacetsAndStepsProgressOncePer256Elements) {
  ScratchFolder folder;
  struct Case {
    bool exportUVs, exportNormals;
  };
  for (const Case c : {Case{true, true}, Case{false, true}, Case{true, false}}) {
    ModelStore store = buildModel(testing::randomModelRecipe(7, 900));
    store.numFacets = 12345;  // a stale count the save must correct
    ObjExportOptions options;
    options.exportUVs = c.exportUVs;
    options.exportNormals = c.exportNormals;
    ScriptedUserInterface ui;
    const std::string path = folder.file("car.v2.obj");
    ASSERT_TRUE(writeObjModel(store, path, options, ui));

    EXPECT_EQ(store.numFacets, 900);
    EXPECT_EQ(store.lastDirectory, folder.path().string());
    EXPECT_EQ(store.modelBaseName, folder.file("car.v2"));
    EXPECT_EQ(ui.busyOn, 1);
    EXPECT_EQ(ui.busyOff, 1);
    EXPECT_EQ(ui.progressBegun, 1);
    EXPECT_EQ(ui.progressEnded, 1);
    // One step per 256 written vertices, texture vertices, normals and facets.
    ModelStore compact = buildModel(testing::randomModelRecipe(7, 900));
    compressTextureVertices(compact);
    const int elements = compact.numVerts + 900 + (c.exportUVs ? compact.numTVerts : 0) +
                         (c.exportNormals ? compact.numVNormals : 0);
    EXPECT_EQ(ui.progressSteps, elements / 256);
    EXPECT_NE(testing::readBytes(path).find("/900\r\n"), std::string::npos);
  }
}

// Facets whose only corners resolved to nothing, set indices beyond their
// tables and names that fill their field: written without reading past an
// array. The facet left without corners is not written (no line reads back
// as a facet without corners) and not counted.
TEST(ObjWriter, DamagedModelIsWrittenWithinItsArrays) {
  ScratchFolder folder;
  testing::ModelRecipe recipe;
  recipe.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  recipe.facets = {{{1}, {2}, {3}}, {{0}, {2}, {3}}};
  recipe.groups = {{0, "a"}};
  ModelStore store = buildModel(recipe);
  std::memset(store.groups[0].name, 'n', kSetNameSize);  // no terminating NUL
  store.facetStream[6].group = 7;                        // no group 7
  ScriptedUserInterface ui;
  ASSERT_TRUE(writeObjModel(store, folder.file("d.obj"), ObjExportOptions{}, ui));
  const std::string text = testing::readBytes(folder.file("d.obj"));
  EXPECT_NE(text.find(" 3/0/0/2\r\n"), std::string::npos);
  EXPECT_EQ(store.numFacets, 2);
  const std::string facets = "g " + std::string(kSetNameSize, 'n') +
                             "\r\n"
                             "f 1 2 3\r\n"
                             "f 2 3\r\n";
  EXPECT_EQ(text.substr(text.size() - facets.size()), facets);
}

TEST(ObjWriter, ReplacingAFileKeepsItsPermissions) {
  ScratchFolder folder;
  const std::string path = folder.file("kept.obj");
  testing::writeBytes(path, "old");
  ::chmod(path.c_str(), 0640);
  ModelStore store = buildModel(testing::randomModelRecipe(3, 10));
  ScriptedUserInterface ui;
  ASSERT_TRUE(writeObjModel(store, path, ObjExportOptions{}, ui));
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(testing::readBytes(path).rfind("# file generated by Corvina\r\n", 0), 0u);
}

// Makes every write beyond `limit` bytes fail for the life of the object, the
// way a full disk does.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(ObjWriter, FailedSaveReportsAnErrorAndLeavesTheOldFileAndModelAlone) {
  struct Case {
    const char* name;
    // Prepares the folder and returns the path to save to.
    std::function<std::string(const ScratchFolder&)> target;
    bool limitFileSize = false;
    bool needsPermissionChecks = false;  // the superuser may write anything
  };
  const Case cases[] = {
      {"MissingFolder", [](const ScratchFolder& f) { return f.file("missing/m.obj"); }},
      {"TargetIsAFolder",
       [](const ScratchFolder& f) {
         std::filesystem::create_directory(f.file("taken.obj"));
         testing::writeBytes(f.file("taken.obj/inside"), "keep");
         return f.file("taken.obj");
       }},
      {"ReadOnlyTarget",
       [](const ScratchFolder& f) {
         testing::writeBytes(f.file("locked.obj"), "locked bytes");
         ::chmod(f.file("locked.obj").c_str(), 0444);
         return f.file("locked.obj");
       },
       false, true},
      {"DiskFullWhileWriting",
       [](const ScratchFolder& f) {
         testing::writeBytes(f.file("old.obj"), "old model bytes\r\n");
         return f.file("old.obj");
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsPermissionChecks && ::geteuid() == 0) continue;
    ScratchFolder folder;
    const std::string path = c.target(folder);
    std::vector<std::pair<std::string, std::string>> filesBefore;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
      if (entry.is_regular_file()) {
        filesBefore.emplace_back(entry.path().string(), testing::readBytes(entry.path()));
      }
    }
    ModelStore store = buildModel(testing::randomModelRecipe(11, 3000));
    ModelStore rotated = store;
    rotated.vertices[0].x += 1;  // rotated positions differ from baseVertices
    store = rotated;
    ScriptedUserInterface ui;
    bool written;
    {
      std::optional<FileSizeLimit> limit;
      if (c.limitFileSize) limit.emplace(64 * 1024);
      written = writeObjModel(store, path, ObjExportOptions{}, ui);
    }

    EXPECT_FALSE(written);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text, "Error writing to file");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ui.progressBegun, ui.progressEnded);
    EXPECT_EQ(ui.busyOff, 1);
    std::vector<std::pair<std::string, std::string>> filesAfter;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
      if (entry.is_regular_file()) {
        filesAfter.emplace_back(entry.path().string(), testing::readBytes(entry.path()));
      }
    }
    EXPECT_EQ(filesAfter, filesBefore);  // old bytes whole, no temporary file left
    EXPECT_EQ(store.vertices[0].x, rotated.vertices[0].x);
    EXPECT_EQ(store.baseVertices[0].x, rotated.baseVertices[0].x);
    EXPECT_EQ(store.texVerticesExpanded, 1);
    EXPECT_EQ(store.numTVerts, rotated.numTVerts);
  }
}

}  // namespace
}  // namespace corvina
