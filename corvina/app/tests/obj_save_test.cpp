// The save operation around the OBJ writer: its option dialog and file
// request, the bookkeeping of paths and the busy cursor, and the message a
// failed write is told with.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/obj_export_dialog.h"
#include "app/obj_open_save.h"
#include "testing/file_bytes.h"
#include "testing/model_builder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using testing::buildModel;
using testing::ScratchFolder;
using testing::ScriptedUserInterface;

TEST(ObjSave, OptionDialogBindsEachCheckBoxToItsField) {
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

TEST(ObjSave, SaveRequestStartsInTheLastFolder) {
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

TEST(ObjSave, SetsPathsUnderABusyCursorAndTellsAFailedWrite) {
  ScratchFolder folder;
  struct Case {
    const char* name;
    std::string path;
    bool written;
  };
  const Case cases[] = {
      {"written", folder.file("car.v2.obj"), true},
      {"missing folder", folder.file("missing/car.v2.obj"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelStore store = buildModel(testing::randomModelRecipe(7, 300));
    ScriptedUserInterface ui;
    EXPECT_EQ(writeObjModel(store, c.path, ObjExportOptions{}, ui), c.written);
    EXPECT_EQ(store.lastDirectory + "/car.v2.obj", c.path);
    EXPECT_EQ(store.modelBaseName + ".obj", c.path);
    EXPECT_EQ(ui.busyOn, 1);
    EXPECT_EQ(ui.busyOff, 1);
    EXPECT_EQ(ui.progressBegun, 1);
    EXPECT_EQ(ui.progressEnded, 1);
    if (c.written) {
      EXPECT_TRUE(ui.messages.empty());
    } else {
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_EQ(ui.messages[0].caption, "Error");
      EXPECT_EQ(ui.messages[0].text, "Error writing to file");
      EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    }
  }
}

}  // namespace
}  // namespace corvina
