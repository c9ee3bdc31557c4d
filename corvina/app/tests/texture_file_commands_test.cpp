// The UVS export and import commands and the texture-map template command:
// their dialogs, messages and questions, and the files they leave.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/tests/scratch_folder.h"
#include "app/tests/square_model.h"
#include "app/tests/typing_user_interface.h"
#include "editor/texture_map_raster.h"
#include "testing/external_tools.h"

namespace corvina {
namespace {

using testing::fieldNamed;
using testing::ScratchFolder;
using testing::TypingUserInterface;

// An application with the unit square loaded from `folder`.
struct LoadedSquare {
  ScratchFolder folder;
  ApplicationState app{folder.folder()};
  TypingUserInterface ui;
  CommandContext context{app, ui};

  LoadedSquare() {
    const std::string path = folder.write("square.obj", testing::kSquare);
    EXPECT_TRUE(app.document.openModel(path, ui));
    ui.messages.clear();
  }

  void run(int id, const std::string& path) {
    ui.files.push_back(path);
    EXPECT_TRUE(runCommand(context, id));
  }
};

std::vector<std::pair<float, float>> cornerUvs(const ModelStore& store) {
  std::vector<std::pair<float, float>> uvs;
  for (const CornerRecord& record : store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0) continue;
    const TexVertex& t = store.texVertices.at(static_cast<std::size_t>(record.texVertex) - 1);
    uvs.emplace_back(t.u, t.v);
  }
  return uvs;
}

TEST(TextureFileCommands, EnablementFollowsModelAndTextureCoordinates) {
  ScratchFolder folder;
  ApplicationState app(folder.folder());
  TypingUserInterface ui;
  const std::string plain = folder.write("plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  struct State {
    std::string name;
    std::string model;  // "" for none
    bool import, exportAndSave;
  };
  const std::vector<State> states = {
      {"no model", "", false, false},
      {"model without texture coordinates", plain, true, false},
      {"model with texture coordinates", folder.write("square.obj", testing::kSquare), true, true},
  };
  for (const State& state : states) {
    if (!state.model.empty()) {
      ASSERT_TRUE(app.document.openModel(state.model, ui));
    }
    EXPECT_EQ(isCommandEnabled(app, kCommandImportUvs), state.import) << state.name;
    EXPECT_EQ(isCommandEnabled(app, kCommandExportUvs), state.exportAndSave) << state.name;
    EXPECT_EQ(isCommandEnabled(app, kCommandSaveTextureMap), state.exportAndSave) << state.name;
  }
}

TEST(TextureFileCommands, EveryCommandRefusesWithoutAModel) {
  for (int id : {kCommandExportUvs, kCommandImportUvs, kCommandSaveTextureMap}) {
    ScratchFolder folder;
    ApplicationState app(folder.folder());
    TypingUserInterface ui;
    CommandContext context{app, ui};
    ui.files.push_back(folder.path("any"));
    EXPECT_TRUE(runCommand(context, id));
    ASSERT_EQ(ui.messages.size(), 1u) << id;
    EXPECT_EQ(ui.messages[0].text, "Please load an OBJ file first") << id;
    EXPECT_EQ(ui.messages[0].caption, "Error") << id;
    EXPECT_TRUE(ui.fileRequests.empty()) << id;
    EXPECT_TRUE(std::filesystem::is_empty(folder.folder())) << id;
  }
}

TEST(TextureFileCommands, ExportAndImportGiveTheCoordinatesBack) {
  LoadedSquare square;
  square.app.store.lastModelPath = "/models/square.obj";
  const std::vector<std::pair<float, float>> before = cornerUvs(square.app.store);
  square.ui.typing.push_back([](OptionDialog& dialog) {
    EXPECT_EQ(dialog.caption, "UVs Export Options");
    OptionField& baseModel = fieldNamed(dialog, "baseModel");
    EXPECT_EQ(*baseModel.textValue, "/models/square.obj");
    ASSERT_TRUE(baseModel.browse.has_value());
    EXPECT_EQ(baseModel.browse->title, "Specify UVS Base Model...");
    *fieldNamed(dialog, "exportGroups").boolValue = true;
  });
  const std::string path = square.folder.path("square.uvs");
  square.run(kCommandExportUvs, path);
  EXPECT_TRUE(square.ui.messages.empty());
  ASSERT_EQ(square.ui.fileRequests.size(), 1u);
  EXPECT_EQ(square.ui.fileRequests[0].title, "Export UVS...");
  EXPECT_TRUE(square.ui.fileRequests[0].confirmOverwrite);
  const std::string text = square.folder.read("square.uvs");
  EXPECT_NE(text.find("# base_model   \"/models/square.obj\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("g front\r\nf 1 2 3\r\nf 1 3 4\r\n"), std::string::npos);
  EXPECT_TRUE(square.app.options.uvsExport.exportGroups);

  for (TexVertex& t : square.app.store.texVertices) t = {0.5f, 0.5f, 0};
  square.run(kCommandImportUvs, path);
  EXPECT_TRUE(square.ui.messages.empty());
  EXPECT_EQ(square.ui.fileRequests.back().title, "Import UVs...");
  EXPECT_EQ(cornerUvs(square.app.store), before);
  EXPECT_EQ(square.app.store.modelBaseName, square.folder.path("square"));
}

TEST(TextureFileCommands, ExportCancelledOrUnwritable) {
  LoadedSquare square;
  square.ui.optionResults.push_back(false);
  EXPECT_TRUE(runCommand(square.context, kCommandExportUvs));
  EXPECT_TRUE(square.ui.fileRequests.empty());

  square.run(kCommandExportUvs, square.folder.path("missing/out.uvs"));
  ASSERT_EQ(square.ui.messages.size(), 1u);
  EXPECT_EQ(square.ui.messages[0].text, "Error writing to file");
  EXPECT_EQ(square.app.store.texVerticesExpanded, 1);
  // The next dialogs start where the user last pointed, written or not.
  EXPECT_EQ(square.app.store.lastDirectory, square.folder.path("missing"));
  EXPECT_EQ(square.app.store.modelBaseName, square.folder.path("missing/out"));
}

TEST(TextureFileCommands, ImportMessagesAndTheRangeQuestion) {
  struct Case {
    std::string name;
    std::string file;  // "" for a path that does not exist
    std::vector<Answer> answers;
    std::string message;
    std::pair<float, float> firstCorner;
  };
  const std::string header = "vt 2 0\nvt 0 1\nvt 1 1\nvt 0 -1\n";
  const std::vector<Case> cases = {
      {"missing file", "", {}, "Error opening file", {0, 0}},
      {"other structure", "vt 0 0\nf 1 1 1\n", {}, "Incompatable facet stucture", {0, 0}},
      {"out of range kept", header + "f 1 2 3\nf 1 3 4\n", {Answer::No}, "", {2, 0}},
      {"out of range corrected", header + "f 1 2 3\nf 1 3 4\n", {Answer::Yes}, "", {1, 0.5f}},
  };
  for (const Case& c : cases) {
    LoadedSquare square;
    const std::string path =
        c.file.empty() ? square.folder.path("absent.uvs") : square.folder.write("in.uvs", c.file);
    for (Answer answer : c.answers) square.ui.answers.push_back(answer);
    square.run(kCommandImportUvs, path);
    if (c.message.empty()) {
      EXPECT_TRUE(square.ui.messages.empty()) << c.name;
      ASSERT_EQ(square.ui.questions.size(), 1u) << c.name;
      EXPECT_EQ(square.ui.questions[0].caption, "Warning");
      EXPECT_EQ(square.ui.questions[0].text,
                "The file you have loaded contains\nout of range UV coordinate data\n\nWould you "
                "like to correct this?");
    } else {
      ASSERT_EQ(square.ui.messages.size(), 1u) << c.name;
      EXPECT_EQ(square.ui.messages[0].text, c.message) << c.name;
      EXPECT_EQ(square.ui.messages[0].icon, MessageIcon::Error) << c.name;
    }
    EXPECT_EQ(cornerUvs(square.app.store)[0], c.firstCorner) << c.name;
    EXPECT_EQ(square.ui.busyOn, square.ui.busyOff) << c.name;
    // A file that opened names the folder and model the next dialogs use,
    // whether or not it fitted; one that did not open leaves them.
    EXPECT_EQ(square.app.store.modelBaseName, square.folder.path(c.file.empty() ? "square" : "in"))
        << c.name;
    EXPECT_EQ(square.app.store.lastDirectory, square.folder.folder()) << c.name;
  }
}

// With a selection of the second facet active, the file gives that facet
// u 0..2; Yes to the range question rescales only what the import changed,
// also when the file's group statement replaced the table and so ended the
// selection.
TEST(TextureFileCommands, RangeCorrectionKeepsToTheImportedCorners) {
  struct Case {
    std::string name;
    std::string statements;  // before the facet lines
    bool selectionAfter;
  };
  const std::vector<Case> cases = {
      {"tables kept", "", true},
      {"group table replaced", "g other\n", false},
  };
  const std::vector<std::pair<float, float>> expected = {
      {0, 0}, {1, 0}, {1, 1},      // the first facet as loaded
      {1, 0}, {0, 1}, {0.5f, 1}};  // (2, 0) (0, 1) (1, 1) rescaled
  for (const Case& c : cases) {
    LoadedSquare square;
    SelectionState& selection = square.app.document.selection();
    for (std::size_t at : {5u, 6u, 7u}) square.app.store.facetStream[at].group |= kSelectedBit;
    selection.selectionActive = true;
    selection.source = selection.target = {0, 1, 0, 1};
    const std::string path = square.folder.write(
        "in.uvs", "vt 2 0\nvt 0 1\nvt 1 1\n" + c.statements + "f 1 2 3\nf 1 2 3\n");
    square.ui.answers.push_back(Answer::Yes);
    square.run(kCommandImportUvs, path);
    ASSERT_EQ(square.ui.questions.size(), 1u) << c.name;
    EXPECT_EQ(cornerUvs(square.app.store), expected) << c.name;
    EXPECT_EQ(selection.selectionActive, c.selectionAfter) << c.name;
    // The selected bits are as the import left them.
    EXPECT_EQ((square.app.store.facetStream[5].group & kSelectedBit) != 0, c.selectionAfter)
        << c.name;
    EXPECT_EQ(square.app.store.facetStream[1].group & kSelectedBit, 0) << c.name;
  }
}

TEST(TextureFileCommands, TemplateNameSizeAndDialog) {
  LoadedSquare square;
  square.ui.typing.push_back([](OptionDialog& dialog) {
    EXPECT_EQ(dialog.caption, "BMP Export Options");
    EXPECT_EQ(*fieldNamed(dialog, "width").intValue, 512);
    EXPECT_EQ(fieldNamed(dialog, "height").maximum, 8192);
    *fieldNamed(dialog, "width").intValue = 513;
    *fieldNamed(dialog, "height").intValue = 7;
  });
  square.run(kCommandSaveTextureMap, square.folder.path("square.bmp"));
  EXPECT_TRUE(square.ui.messages.empty());
  ASSERT_EQ(square.ui.fileRequests.size(), 1u);
  EXPECT_EQ(square.ui.fileRequests[0].title, "Save BMP...");
  EXPECT_EQ(square.ui.fileRequests[0].initialName, "square.bmp");
  EXPECT_EQ(square.app.store.mapWidth, 513);
  EXPECT_EQ(square.app.store.mapHeight, 7);
  EXPECT_EQ(std::filesystem::file_size(square.folder.path("square.bmp")), 1078u + 516u * 7u);
  EXPECT_EQ(square.ui.progressSteps, 7);

  // A generated model has no folder in its name: the dialog proposes "*.bmp".
  square.app.store.modelBaseName = "Untitled";
  square.run(kCommandSaveTextureMap, square.folder.path("second.bmp"));
  EXPECT_EQ(square.ui.fileRequests.back().initialName, "*.bmp");
  EXPECT_EQ(std::filesystem::file_size(square.folder.path("second.bmp")), 1078u + 516u * 7u);
}

TEST(TextureFileCommands, ActiveSelectionIsCommittedOrTheSaveAbandoned) {
  for (Answer answer : {Answer::No, Answer::Yes}) {
    LoadedSquare square;
    SelectionState& selection = square.app.document.selection();
    selection.selectionActive = true;
    const std::string path = square.folder.write("kept.bmp", "previous");
    square.ui.answers.push_back(answer);
    square.run(kCommandSaveTextureMap, path);
    ASSERT_EQ(square.ui.questions.size(), 1u);
    EXPECT_EQ(square.ui.questions[0].text, "There is a selection active\nSave changes now?");
    if (answer == Answer::No) {
      EXPECT_EQ(square.folder.read("kept.bmp"), "previous");
      EXPECT_TRUE(selection.selectionActive);
    } else {
      EXPECT_EQ(std::filesystem::file_size(path), 263222u);
      EXPECT_FALSE(selection.selectionActive);
    }
  }
}

TEST(TextureFileCommands, FailedWriteIsToldAndLeavesNoFile) {
  LoadedSquare square;
  square.run(kCommandSaveTextureMap, square.folder.path("missing/map.bmp"));
  ASSERT_EQ(square.ui.messages.size(), 1u);
  EXPECT_EQ(square.ui.messages[0].text, "Error writing to file");
  EXPECT_EQ(square.ui.messages[0].caption, "Corvina");
  EXPECT_FALSE(std::filesystem::exists(square.folder.path("missing")));
}

TEST(TextureFileCommands, PillowSeesTheRasterInEveryLayout) {
  const std::string python = testing::pythonWithPillow();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
  struct Case {
    bool flipV, flipH;
    int colorMode;
  };
  const std::vector<Case> cases = {
      {false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 0}};
  for (const Case& c : cases) {
    LoadedSquare square;
    const std::string script = square.folder.write(
        "read.py",
        "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\nim.load()\n"
        "print(im.mode, im.size[0], im.size[1])\n"
        "print(' '.join(str(p) for p in im.getdata()))\n");
    // The second triangle in group 1, so the colour modes differ.
    ModelStore& store = square.app.store;
    for (std::size_t j = 5; j < 8; ++j) store.facetStream[j].group = 1;
    store.colorMode = c.colorMode;
    store.texVertices[6] = {0.25f, 0.9f, 0};
    square.ui.typing.push_back([&](OptionDialog& dialog) {
      *fieldNamed(dialog, "width").intValue = 37;
      *fieldNamed(dialog, "height").intValue = 23;
      *fieldNamed(dialog, "flipV").boolValue = c.flipV;
      *fieldNamed(dialog, "flipH").boolValue = c.flipH;
    });
    const std::string path = square.folder.path("pillow.bmp");
    square.run(kCommandSaveTextureMap, path);
    ASSERT_TRUE(square.ui.messages.empty());

    TextureMapRaster raster;
    ASSERT_TRUE(allocateRaster(raster, 37, 23));
    drawTextureMap(store, c.colorMode, false, raster);
    std::istringstream seen(testing::commandOutput(python + " " + script + " " + path));
    std::string mode;
    int width = 0, height = 0;
    seen >> mode >> width >> height;
    ASSERT_EQ(mode, "P");
    ASSERT_EQ(width, 37);
    ASSERT_EQ(height, 23);
    // Pillow lists rows from the top of the picture.
    for (int y = 0; y < 23; ++y) {
      for (int x = 0; x < 37; ++x) {
        int index = -1;
        seen >> index;
        const int row = c.flipV ? y : 22 - y;
        const int column = c.flipH ? 36 - x : x;
        ASSERT_EQ(index, raster.at(column, row)) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace corvina
