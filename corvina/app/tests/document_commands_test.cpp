// The model commands driven as the window drives them: through the command
// table, with a scripted user answering dialogs.

#include <gtest/gtest.h>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/tests/scratch_folder.h"
#include "app/tests/square_model.h"
#include "app/tests/typing_user_interface.h"

namespace corvina {
namespace {

using testing::ScratchFolder;
using testing::TypingUserInterface;

using testing::kSquare;

constexpr const char* kSquareStatistics =
    "vertices = 4\ntextures = 4\nnormals = 1\nfacets = 2\ngroups = 1\nmaterials = 1\nregions = 0";

struct Session {
  explicit Session(const ScratchFolder& folder) : app(folder.folder()) {}
  void run(int id) {
    CommandContext context{app, ui};
    ASSERT_TRUE(runCommand(context, id));
  }
  void load(const std::string& path) {
    ui.files.push_back(path);
    run(kCommandLoadModel);
  }
  ApplicationState app;
  TypingUserInterface ui;
};

// The texture coordinate of every corner, in stream order: what must survive
// a save and a reload, whatever sharing the file used.
std::vector<std::pair<float, float>> cornerUvs(const ModelStore& store) {
  std::vector<std::pair<float, float>> uvs;
  for (const CornerRecord& corner : store.facetStream) {
    if (corner.vertex <= 0 || corner.texVertex <= 0) continue;
    const TexVertex& t = store.texVertices[corner.texVertex - 1];
    uvs.emplace_back(t.u, t.v);
  }
  return uvs;
}

TEST(DocumentCommandsTest, LoadShowsStatisticsAndSaveReloadsToTheSameModel) {
  ScratchFolder folder;
  Session session(folder);
  std::string source = folder.write("square.obj", kSquare);
  session.load(source);

  const ModelStore& store = session.app.store;
  ASSERT_EQ(store.modelLoaded, 1);
  ASSERT_EQ(session.ui.messages.size(), 1u);
  EXPECT_EQ(session.ui.messages[0].caption, "Statistics");
  EXPECT_EQ(session.ui.messages[0].text, kSquareStatistics);
  EXPECT_EQ(store.lastModelPath, source);
  std::vector<std::pair<float, float>> uvs = cornerUvs(store);
  ASSERT_EQ(uvs.size(), 6u);

  session.run(kCommandStatistics);
  ASSERT_EQ(session.ui.messages.size(), 2u);
  EXPECT_EQ(session.ui.messages[1].caption, "Statistics");

  session.ui.files.push_back(folder.path("saved.obj"));
  session.run(kCommandSaveModel);
  ASSERT_EQ(session.ui.optionDialogs, std::vector<std::string>{"OBJ Export Options"});
  ASSERT_EQ(session.ui.messages.size(), 2u) << session.ui.messages.back().text;
  ASSERT_TRUE(folder.exists("saved.obj"));

  Session reloaded(folder);
  reloaded.load(folder.path("saved.obj"));
  ASSERT_EQ(reloaded.app.store.modelLoaded, 1);
  ASSERT_EQ(reloaded.ui.messages.size(), 1u);
  EXPECT_EQ(reloaded.ui.messages[0].text, kSquareStatistics);
  EXPECT_EQ(cornerUvs(reloaded.app.store), uvs);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(reloaded.app.store.vertices[i].x, store.vertices[i].x);
    EXPECT_EQ(reloaded.app.store.vertices[i].y, store.vertices[i].y);
  }
}

TEST(DocumentCommandsTest, ModelCommandsRefuseWithoutAModel) {
  const int commands[] = {kCommandSaveModel, kCommandStatistics, kCommandDimensions};
  for (int id : commands) {
    SCOPED_TRACE(id);
    ScratchFolder folder;
    Session session(folder);
    session.ui.files.push_back(folder.path("never.obj"));
    session.run(id);
    ASSERT_EQ(session.ui.messages.size(), 1u);
    EXPECT_EQ(session.ui.messages[0].caption, "Error");
    EXPECT_EQ(session.ui.messages[0].text, "Please load an OBJ file first");
    EXPECT_EQ(session.ui.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(session.ui.optionDialogs.empty());
    EXPECT_TRUE(session.ui.fileRequests.empty());
    EXPECT_FALSE(folder.exists("never.obj"));
  }
}

TEST(DocumentCommandsTest, CancelledSaveDialogsWriteNothingAndKeepTheOptions) {
  struct Case {
    const char* what;
    bool optionsOk;
    bool chooseFile;
    bool written;
    bool singleGroupAfter;
  };
  const Case cases[] = {
      {"options cancelled", false, true, false, false},
      {"file dialog cancelled", true, false, false, true},
      {"both confirmed", true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    Session session(folder);
    session.load(folder.write("square.obj", kSquare));
    // The user ticks a box before deciding; only OK may keep it.
    session.ui.typing.push_back(
        [](OptionDialog& dialog) { *testing::fieldNamed(dialog, "singleGroup").boolValue = true; });
    session.ui.optionResults.push_back(c.optionsOk);
    if (c.chooseFile)
      session.ui.files.push_back(folder.path("out.obj"));
    else
      session.ui.files.push_back(std::nullopt);
    session.run(kCommandSaveModel);
    EXPECT_EQ(folder.exists("out.obj"), c.written);
    EXPECT_EQ(session.app.options.objExport.singleGroup, c.singleGroupAfter);
    EXPECT_EQ(session.ui.fileRequests.size(), c.optionsOk ? 2u : 1u);
  }
}

TEST(DocumentCommandsTest, SaveCommitsAPendingSelectionFirst) {
  ScratchFolder folder;
  Session session(folder);
  session.load(folder.write("square.obj", kSquare));
  SelectionState& selection = session.app.document.selection();
  selection.selectionActive = true;
  selection.source = selection.target = FrameRect{0, 1, 0, 1};
  int refreshesBefore = session.ui.refreshes;
  session.ui.optionResults.push_back(false);
  session.run(kCommandSaveModel);
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_GT(session.ui.refreshes, refreshesBefore);
}

TEST(DocumentCommandsTest, LoadRecordsTheChosenPathEvenWhenItFails) {
  ScratchFolder folder;
  Session session(folder);
  std::string good = folder.write("square.obj", kSquare);
  session.load(good);
  ASSERT_EQ(session.app.store.modelLoaded, 1);

  // A cancelled dialog changes nothing.
  session.ui.files.push_back(std::nullopt);
  session.run(kCommandLoadModel);
  EXPECT_EQ(session.app.store.lastModelPath, good);

  std::string missing = folder.path("missing.obj");
  session.load(missing);
  EXPECT_EQ(session.app.store.lastModelPath, missing);
  ASSERT_FALSE(session.ui.messages.empty());
  EXPECT_EQ(session.ui.messages.back().caption, "Error");
  EXPECT_EQ(session.ui.messages.back().text, "Error opening file");
  // A file that cannot be opened leaves the previous model in place.
  EXPECT_EQ(session.app.store.modelLoaded, 1);
  EXPECT_EQ(session.ui.busyOn, session.ui.busyOff);
}

TEST(DocumentCommandsTest, LoadDialogStartsInTheLastDirectory) {
  ScratchFolder folder;
  Session session(folder);
  std::filesystem::create_directories(folder.path("models"));
  std::string path = folder.write("models/square.obj", kSquare);
  session.load(path);
  session.ui.files.push_back(std::nullopt);
  session.run(kCommandLoadModel);

  ASSERT_EQ(session.ui.fileRequests.size(), 2u);
  const FileRequest& first = session.ui.fileRequests[0];
  EXPECT_FALSE(first.save);
  EXPECT_EQ(first.title, "Load OBJ...");
  ASSERT_EQ(first.filters.size(), 2u);
  EXPECT_EQ(first.filters[0],
            (std::pair<std::string, std::string>{"Wavefront Model (*.obj)", "*.obj"}));
  EXPECT_EQ(first.filters[1], (std::pair<std::string, std::string>{"All Files (*.*)", "*.*"}));
  EXPECT_EQ(first.initialName, "*.obj");
  EXPECT_EQ(first.defaultExtension, "obj");
  EXPECT_EQ(first.directory, folder.folder());
  EXPECT_EQ(session.ui.fileRequests[1].directory, folder.path("models"));
}

TEST(DocumentCommandsTest, OutOfRangeOfferIsAnsweredNoUnattended) {
  ScratchFolder folder;
  Session session(folder);
  session.load(folder.write("wide.obj",
                            "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 2 0\nvt 0 1\n"
                            "f 1/1 2/2 3/3\n"));
  ASSERT_EQ(session.ui.questions.size(), 1u);
  EXPECT_EQ(session.ui.questions[0].caption, "Warning");
  // No keeps the coordinates as they were read.
  std::vector<std::pair<float, float>> uvs = cornerUvs(session.app.store);
  ASSERT_EQ(uvs.size(), 3u);
  EXPECT_EQ(uvs[1].first, 2.0f);
}

}  // namespace
}  // namespace corvina
