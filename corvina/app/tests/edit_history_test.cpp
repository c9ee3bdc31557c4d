// The edit history: random command sequences on random models taken back
// step by step and done again, step names, collated keys, the clean mark,
// the memory bound, background flips and loads that fail.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/history_recording.h"
#include "app/unsaved_changes.h"
#include "files/obj_writer.h"
#include "files/uvs_writer.h"
#include "testing/file_bytes.h"
#include "testing/scratch_folder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUserInterface;

// A random OBJ model: vertices in a cube, texture coordinates for some
// corners, facets of 3 to 5 corners in two groups and two materials.
std::string randomObj(std::mt19937& random, int vertexCount, int facetCount) {
  std::uniform_real_distribution<float> coordinate(-1.0f, 1.0f);
  std::uniform_int_distribution<int> vertex(1, vertexCount);
  std::uniform_int_distribution<int> corners(3, 5);
  std::ostringstream obj;
  for (int i = 0; i < vertexCount; ++i)
    obj << "v " << coordinate(random) << ' ' << coordinate(random) << ' ' << coordinate(random)
        << '\n';
  for (int i = 0; i < vertexCount; ++i)
    obj << "vt " << (coordinate(random) + 1) / 2 << ' ' << (coordinate(random) + 1) / 2 << '\n';
  obj << "vn 0 0 1\n";
  for (int f = 0; f < facetCount; ++f) {
    if (f % 7 == 0) obj << "g " << (f % 2 == 0 ? "left" : "right") << '\n';
    if (f % 5 == 0) obj << "usemtl " << (f % 3 == 0 ? "wood" : "iron") << '\n';
    obj << 'f';
    const int n = corners(random);
    for (int c = 0; c < n; ++c) {
      const int v = vertex(random);
      obj << ' ' << v << '/' << v << "/1";
    }
    obj << '\n';
  }
  return obj.str();
}

template <typename T>
void appendBytes(std::string& out, const std::vector<T>& array) {
  out += std::to_string(array.size()) + ":";
  for (const T& element : array) out.append(reinterpret_cast<const char*>(&element), sizeof(T));
}

// Everything undo must bring back: every array, every counter, the
// selection and the projection kind. Compared with == so a failure does not
// print the bytes.
std::string stateOf(const ApplicationState& app) {
  const ModelStore& s = app.store;
  std::string out;
  out += std::to_string(s.vertices.size()) + ":";
  for (const std::vector<Vertex>* array : {&s.vertices, &s.baseVertices})
    for (const Vertex& v : *array) {
      out.append(reinterpret_cast<const char*>(&v), offsetof(Vertex, mark));
      out += static_cast<char>(v.mark);
    }
  appendBytes(out, s.texVertices);
  appendBytes(out, s.normals);
  appendBytes(out, s.facetStream);
  appendBytes(out, s.groups);
  appendBytes(out, s.materials);
  appendBytes(out, s.regions);
  appendBytes(out, s.shapeLines);
  for (int n : {s.numVerts, s.numTVerts, s.numVNormals, s.numFacets, s.numCornerRecords,
                s.numGroups, s.numMaterials, s.numRegions, s.numGroupStatements,
                s.numMaterialStatements, s.numRegionStatements, s.numShapeLines, s.modelLoaded,
                s.texVerticesExpanded, s.mapWidth, s.mapHeight, s.colorMode})
    out += std::to_string(n) + ",";
  // The model's name is left out: saving and exporting rename the model
  // without a step of their own.
  out += std::to_string(s.pixelsPerUnit);
  const SelectionState& selection = app.document.selection();
  out += selection.selectionActive ? "A" : "-";
  out.append(reinterpret_cast<const char*>(&selection.source), sizeof(FrameRect));
  out.append(reinterpret_cast<const char*>(&selection.target), sizeof(FrameRect));
  out += std::to_string(static_cast<int>(selection.selectMethod)) +
         std::to_string(static_cast<int>(app.document.projectionKind()));
  return out;
}

// The model as Save Model writes it, from a copy (writing re-expands the
// texture vertices of the model it writes).
std::string savedObj(const ApplicationState& app, const std::string& path) {
  ModelStore copy = app.store;
  ScriptedUserInterface quiet;
  EXPECT_EQ(writeObjFile(copy, path, ObjExportOptions{}, quiet), WriteOutcome::Written);
  return testing::readBytes(path);
}

struct HistoryFixture : ::testing::Test {
  ScratchFolder folder;
  ApplicationState app{folder.folder()};
  ScriptedUserInterface ui;

  void load(const std::string& text) {
    ASSERT_TRUE(app.document.openModel(folder.write("model.obj", text), ui));
  }
  void run(int id, const StepInput* step = nullptr) {
    CommandContext context{app, ui, step};
    runCommand(context, id);
  }
  void runStep(const char* name, StepInput input) {
    CommandContext context{app, ui, &input};
    runCommand(context, *stepRows(name).front());
  }
  int position() const { return app.document.undoHistory().position; }
};

constexpr const char* kKeys[] = {"left", "right", "up",    "down", "home",  "kp+", "kp*",
                                 "x",    "u",     "enter", "esc",  "[",     "]",   "\\",
                                 "'",    ".",     "=",     "t",    "insert"};

// One random user action of those that change the model or the selection.
void randomAction(HistoryFixture& f, std::mt19937& random, const std::string& uvsPath, int n) {
  std::uniform_int_distribution<int> pixel(0, 511);
  const int kinds = 30;
  switch (std::uniform_int_distribution<int>(0, kinds - 1)(random)) {
    case 0:
      f.run(kCommandBox);
      break;
    case 1:
      f.run(kCommandPlanar);
      break;
    case 2:
      f.run(kCommandCylindrical);
      break;
    case 3:
      f.run(kCommandSpherical);
      break;
    case 4:
      f.run(kCommandTileGroup);
      break;
    case 5:
      f.run(pixel(random) % 2 ? kCommandTileMaterial : kCommandLastProjection);
      break;
    case 6:
      f.app.options.mapping.rotate = {pixel(random) % 90, pixel(random) % 90, 0};
      f.run(kCommandRotate);
      break;
    case 7:
      f.run(kCommandWeldVertices);
      break;
    case 8:
      f.run(kCommandSplitVertices);
      break;
    case 9:
      f.run(kCommandFixSeams);
      break;
    case 10:
      f.run(kCommandSmooth);
      break;
    case 11:
      f.run(kCommandTriangulate);
      break;
    case 12:
      f.run(kCommandDegenerates);
      break;
    case 13:
      f.run(kCommandSelectAll);
      break;
    case 14:
      f.run(kCommandSelectNone);
      break;
    case 15:
      f.run(kCommandSelectInverse);
      break;
    case 16:
    case 17:
      f.runStep("band", {{}, {pixel(random), pixel(random), pixel(random), pixel(random)}});
      break;
    case 18: {
      // A drag that starts inside the frame when there is one.
      const PixelRect frame = f.app.document.selection().framePixels;
      const int x = (frame.left + frame.right) / 2, y = (frame.top + frame.bottom) / 2;
      f.runStep("drag", {{}, {x, y, x + pixel(random) / 8 - 32, y + pixel(random) / 8 - 32}});
      break;
    }
    case 19:
    case 20:
      f.runStep("key", {{kKeys[pixel(random) % std::size(kKeys)]}, {}});
      break;
    case 21:
      f.run(kCommandInvertH);
      break;
    case 22:
      f.ui.names.push_back("made" + std::to_string(n));
      f.ui.answers.push_back(Answer::Yes);
      f.run(kCommandAssignGroup);
      break;
    case 23:
      f.run(pixel(random) % 2 ? kCommandColorGroup : kCommandColorBlackWhite);
      break;
    case 24:
      f.run(pixel(random) % 2 ? kCommandSelectByVertex : kCommandSelectByFacet);
      break;
    case 25:
      f.run(kCommandPerFacet);
      break;
    case 26:
      f.ui.files.push_back(uvsPath);
      f.run(kCommandImportUvs);
      break;
    case 27:
      if (pixel(random) % 4 == 0)
        f.run(kCommandNewBox);
      else
        f.runStep("right-click", {{}, {pixel(random), pixel(random)}});
      break;
    case 28:
      f.ui.files.push_back(f.folder.file("saved.obj"));
      f.run(kCommandSaveModel);
      break;
    case 29:
      f.ui.files.push_back(f.folder.file("saved.uvs"));
      f.run(kCommandExportUvs);
      break;
  }
}

TEST_F(HistoryFixture, RandomSequencesUndoToTheStartAndRedoToTheEnd) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    load(randomObj(random, 12 + static_cast<int>(seed) * 3, 20 + static_cast<int>(seed) * 4));
    const std::string uvsPath = folder.file("model.uvs");
    {
      ModelStore copy = app.store;
      ASSERT_EQ(exportUvsFile(copy, uvsPath, UvsExportOptions{}, ui), WriteOutcome::Written);
    }
    const std::string startObj = savedObj(app, folder.file("start.obj"));
    // The state after each step, by the position it leaves the history at.
    std::vector<std::string> states{stateOf(app)};
    for (int n = 0; n < 40; ++n) {
      randomAction(*this, random, uvsPath, n);
      const std::size_t at = static_cast<std::size_t>(std::max(position(), 0));
      states.resize(at + 1);
      states[at] = stateOf(app);
    }
    const std::string endObj = savedObj(app, folder.file("end.obj"));
    const int end = std::max(position(), 0);
    ASSERT_EQ(static_cast<std::size_t>(end) + 1, states.size());
    while (isCommandEnabled(app, kCommandUndo)) {
      run(kCommandUndo);
      ASSERT_TRUE(stateOf(app) == states[static_cast<std::size_t>(position())]) << position();
    }
    EXPECT_EQ(position(), end > 0 ? 0 : -1);
    EXPECT_EQ(savedObj(app, folder.file("undone.obj")), startObj);
    while (isCommandEnabled(app, kCommandRedo)) {
      run(kCommandRedo);
      ASSERT_TRUE(stateOf(app) == states[static_cast<std::size_t>(position())]) << position();
    }
    EXPECT_EQ(std::max(position(), 0), end);
    EXPECT_EQ(savedObj(app, folder.file("redone.obj")), endObj);
  }
}

TEST_F(HistoryFixture, StepsAreNamedForTheMenuAndChangelessCommandsAddNone) {
  std::mt19937 random(7);
  load(randomObj(random, 10, 12));
  struct Case {
    int id;
    const char* undo;  // "" when the command adds no step
  };
  const Case cases[] = {
      {kCommandStatistics, ""},
      {kCommandSelectNone, ""},  // nothing was selected
      {kCommandBox, "Undo Box Mapping"},
      {kCommandBox, ""},  // the same map again
      {kCommandTileGroup, "Undo Tile by Group"},
      {kCommandSelectAll, "Undo Select All"},
      {kCommandSelectByVertex, "Undo Select by Vertex"},
      {kCommandTriangulate, "Undo Triangulate"},
      {kCommandSelectInverse, "Undo Select Inverse"},
      {kCommandColorMaterial, "Undo Color by Material"},
      {kCommandColorMaterial, ""},
      {kCommandNewBox, "Undo New Box"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const int before = position();
    const std::string previousName = undoStepName(app);
    run(c.id);
    if (*c.undo == '\0') {
      EXPECT_EQ(position(), before);
      EXPECT_EQ(undoStepName(app), previousName);
    } else {
      EXPECT_EQ(position(), std::max(before, 0) + 1);
      EXPECT_EQ(undoStepName(app), c.undo);
    }
  }
  run(kCommandUndo);
  EXPECT_EQ(redoStepName(app), "Redo New Box");
  EXPECT_EQ(undoStepName(app), "Undo Color by Material");
}

TEST_F(HistoryFixture, KeyNudgesJoinAndACommitJoinsItsCommand) {
  std::mt19937 random(8);
  load(randomObj(random, 10, 12));
  run(kCommandSelectAll);
  const SelectionState selected = app.document.selection();
  const int afterSelect = position();
  for (const char* key : {"right", "right", "down", "left"}) runStep("key", {{key}, {}});
  EXPECT_EQ(position(), afterSelect + 1);
  EXPECT_EQ(undoStepName(app), "Undo Move Selection");
  runStep("key", {{"kp*"}, {}});
  runStep("key", {{"kp/"}, {}});
  EXPECT_EQ(position(), afterSelect + 2);
  EXPECT_EQ(undoStepName(app), "Undo Resize Selection");
  // Keys that end where the run began leave no step.
  runStep("key", {{"up"}, {}});
  runStep("key", {{"down"}, {}});
  EXPECT_EQ(position(), afterSelect + 2);
  runStep("key", {{"up"}, {}});
  EXPECT_EQ(position(), afterSelect + 3);

  // Select None commits the pending move; undoing it brings the move back
  // pending.
  const SelectionState pending = app.document.selection();
  const std::string pendingState = stateOf(app);
  run(kCommandSelectNone);
  EXPECT_FALSE(app.document.selection().selectionActive);
  EXPECT_EQ(undoStepName(app), "Undo Select None");
  run(kCommandUndo);
  EXPECT_TRUE(stateOf(app) == pendingState);
  EXPECT_TRUE(app.document.selection().selectionActive);
  EXPECT_EQ(app.document.selection().target.left, pending.target.left);
  run(kCommandUndo);
  run(kCommandUndo);
  run(kCommandUndo);
  EXPECT_EQ(app.document.selection().target.left, selected.target.left);
  EXPECT_EQ(app.document.selection().target.top, selected.target.top);
  // Esc drops the pending move as before, as a step of its own.
  run(kCommandRedo);
  runStep("key", {{"esc"}, {}});
  EXPECT_FALSE(app.document.selection().selectionActive);
  EXPECT_EQ(undoStepName(app), "Undo Drop Selection");
  EXPECT_FALSE(isCommandEnabled(app, kCommandRedo));
}

TEST_F(HistoryFixture, TheCleanMarkFollowsSavesUndoAndPendingMoves) {
  std::mt19937 random(9);
  load(randomObj(random, 10, 12));
  EXPECT_FALSE(hasUnsavedChanges(app));
  run(kCommandBox);
  EXPECT_TRUE(hasUnsavedChanges(app));
  run(kCommandUndo);
  EXPECT_FALSE(hasUnsavedChanges(app));
  run(kCommandRedo);
  ui.files.push_back(folder.file("saved.obj"));
  run(kCommandSaveModel);
  EXPECT_FALSE(hasUnsavedChanges(app));
  EXPECT_EQ(modelDisplayName(app), "saved");
  run(kCommandUndo);
  EXPECT_TRUE(hasUnsavedChanges(app));
  run(kCommandRedo);
  // A selection alone is no change; a frame moved and not committed is.
  run(kCommandSelectAll);
  EXPECT_FALSE(hasUnsavedChanges(app));
  runStep("key", {{"right"}, {}});
  EXPECT_TRUE(hasUnsavedChanges(app));
  // Saving commits the move, and the state saved is clean.
  ui.files.push_back(folder.file("saved.obj"));
  run(kCommandSaveModel);
  EXPECT_FALSE(app.document.selection().selectionActive);
  EXPECT_FALSE(hasUnsavedChanges(app));
  EXPECT_EQ(undoStepName(app), "Undo Save Model");
  // A generated model has never been saved.
  run(kCommandNewBox);
  EXPECT_TRUE(hasUnsavedChanges(app));
  EXPECT_EQ(modelDisplayName(app), "Untitled");
}

TEST_F(HistoryFixture, TheMemoryBoundDropsTheOldestSteps) {
  std::mt19937 random(10);
  load(randomObj(random, 40, 60));
  run(kCommandBox);
  const std::size_t boxBytes = app.document.history().bytes();
  ASSERT_GT(boxBytes, 0u);
  // A bound of one megabyte holds every step of this small model.
  app.options.userSettings.undoMegabytes = 1;
  for (int id : {kCommandPlanar, kCommandSpherical, kCommandCylindrical}) run(id);
  EXPECT_EQ(position(), 4);
  EXPECT_LE(app.document.history().bytes(), std::size_t{1} << 20);
  // No memory at all: the steps go at the next action, and no new step is
  // kept, but the model still counts as changed.
  app.options.userSettings.undoMegabytes = 0;
  run(kCommandStatistics);
  EXPECT_EQ(app.document.history().stepCount(), 0u);
  run(kCommandBox);
  EXPECT_EQ(app.document.history().stepCount(), 0u);
  EXPECT_FALSE(isCommandEnabled(app, kCommandUndo));
  EXPECT_TRUE(hasUnsavedChanges(app));
}

// A canvas that keeps the flips made to its picture.
class FlipCountingCanvas : public ViewCanvas {
 public:
  int flipsH = 0, flipsV = 0;
  bool backgroundLoaded() const override { return true; }
  bool backgroundDisplayed() const override { return true; }
  bool loadBackground(const std::string&) override { return true; }
  void clearBackground() override {}
  Flip flipBackground(bool horizontally) override {
    ++(horizontally ? flipsH : flipsV);
    return Flip::Done;
  }
  void toggleBackgroundDisplay() override {}
  bool renderView(const ApplicationState&, const std::string&) override { return false; }
  PreviewRender renderPreview(const ApplicationState&, const preview::RenderPreviewOptions&,
                              const std::string&, std::string&) override {
    return PreviewRender::WriteFailed;
  }
};

TEST_F(HistoryFixture, BackgroundFlipsAreStepsWhileTheirPictureStays) {
  FlipCountingCanvas canvas;
  app.canvas = &canvas;
  run(kCommandFlipBackgroundH);
  run(kCommandFlipBackgroundV);
  EXPECT_EQ(undoStepName(app), "Undo Flip Background V");
  run(kCommandUndo);
  run(kCommandUndo);
  EXPECT_EQ(canvas.flipsH, 2);
  EXPECT_EQ(canvas.flipsV, 2);
  EXPECT_EQ(app.canvas, &canvas);
  run(kCommandRedo);
  EXPECT_EQ(canvas.flipsH, 3);
  // After a new picture the step still moves, but flips nothing.
  ui.files.push_back(folder.file("other.bmp"));
  run(kCommandLoadBackground);
  run(kCommandUndo);
  EXPECT_EQ(canvas.flipsH, 3);
  EXPECT_FALSE(isCommandEnabled(app, kCommandUndo));
}

TEST_F(HistoryFixture, ALoadThatFailsKeepsTheModelAndItsHistory) {
  std::mt19937 random(11);
  load(randomObj(random, 10, 12));
  run(kCommandSelectAll);
  runStep("key", {{"right"}, {}});
  run(kCommandBox);
  const std::string before = stateOf(app);
  const int at = position();
  for (const std::string& text :
       {std::string(), std::string("v 0 0 0\n"), std::string("f 1 2 3\nvt 0 0\n")}) {
    EXPECT_FALSE(app.document.openModel(folder.write("bad.obj", text), ui));
    EXPECT_TRUE(stateOf(app) == before);
    EXPECT_EQ(position(), at);
  }
  EXPECT_FALSE(app.document.openModel(folder.file("missing.obj"), ui));
  EXPECT_TRUE(stateOf(app) == before);
  run(kCommandUndo);
  EXPECT_TRUE(app.document.selection().selectionActive);
  // A good file replaces the model and starts a new history.
  load("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  EXPECT_EQ(app.store.numVerts, 3);
  EXPECT_FALSE(isCommandEnabled(app, kCommandUndo));
  EXPECT_FALSE(isCommandEnabled(app, kCommandRedo));
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

TEST_F(HistoryFixture, UnsavedChangesAreOfferedASaveFirst) {
  struct Case {
    const char* what;
    bool change;
    std::optional<Answer> answer;  // nothing: no question expected
    std::optional<std::string> file;
    bool goOn;
  };
  const Case cases[] = {
      {"nothing changed: no question", false, std::nullopt, std::nullopt, true},
      {"No goes on unsaved", true, Answer::No, std::nullopt, true},
      {"Cancel stops", true, Answer::Cancel, std::nullopt, false},
      {"Yes saves and goes on", true, Answer::Yes, "kept.obj", true},
      {"Yes with the save cancelled stops", true, Answer::Yes, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::mt19937 random(12);
    load(randomObj(random, 10, 12));
    if (c.change) run(kCommandSpherical);
    ScriptedUserInterface asked;
    if (c.answer) asked.answers.push_back(*c.answer);
    if (c.file) asked.files.push_back(folder.file(*c.file));
    EXPECT_EQ(offerToSaveChanges(app, asked), c.goOn);
    if (!c.answer) {
      EXPECT_TRUE(asked.questions.empty());
      continue;
    }
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(asked.questions[0].caption, "Corvina");
    EXPECT_EQ(asked.questions[0].text, "Save changes to model?");
    EXPECT_EQ(hasUnsavedChanges(app), !c.file);
    if (c.file) {
      EXPECT_FALSE(testing::readBytes(folder.file(*c.file)).empty());
    }
  }
  for (int id : {kCommandLoadModel, kCommandNewBox, kCommandNewTorus})
    EXPECT_TRUE(replacesModel(id)) << id;
  for (int id : {kCommandBox, kCommandSaveModel, kCommandImportUvs})
    EXPECT_FALSE(replacesModel(id)) << id;
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

// The window declares for each key only the parts its action may change;
// taking each key back must restore everything, from a selection moved
// but not committed.
TEST_F(HistoryFixture, EveryViewKeyDeclaresWhatItChanges) {
  for (const char* name : kKeys) {
    SCOPED_TRACE(name);
    std::mt19937 random(13);
    load(randomObj(random, 10, 12));
    run(kCommandSelectAll);
    runStep("key", {{"kp/"}, {}});
    run(kCommandInvertH);  // a step between, so the key joins no earlier one
    const std::string before = stateOf(app);
    const std::optional<ViewKeyPress> press = keyPressFromName(name, false, std::nullopt);
    ASSERT_TRUE(press);
    const ViewAction action = viewKeyAction(keyActionOf(*press));
    if (!action.recorded) continue;  // T and Insert run commands of their own
    beginUserAction(app, action.parts, action.name, action.collates);
    app.editor.keyPress(app.view, *press);
    endUserAction(app);
    if (stateOf(app) == before) continue;
    EXPECT_EQ(undoStepName(app), "Undo " + action.name);
    run(kCommandUndo);
    EXPECT_TRUE(stateOf(app) == before);
  }
  // A press in the view: with a pending move it may commit it.
  for (bool left : {true, false}) {
    std::mt19937 random(14);
    load(randomObj(random, 10, 12));
    run(kCommandSelectAll);
    runStep("key", {{"kp/"}, {}});
    const std::string before = stateOf(app);
    const ViewAction action = viewPressAction(app, left);
    beginUserAction(app, action.parts, action.name, action.collates);
    const ViewButton button = left ? ViewButton::Left : ViewButton::Right;
    app.editor.mousePress(app.view, button, 5, 5);
    app.editor.mouseMove(app.view, 300, 300);
    app.editor.mouseRelease(app.view, button, 300, 300);
    endUserAction(app);
    ASSERT_FALSE(stateOf(app) == before);
    run(kCommandUndo);
    EXPECT_TRUE(stateOf(app) == before) << left;
  }
}

}  // namespace
}  // namespace corvina
