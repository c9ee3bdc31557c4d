// The mesh tool and primitive commands as the user meets them: their
// questions and messages, the Smooth Model record, and generated models that
// survive a save and a load unchanged.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/obj_open_save.h"
#include "app/tests/scratch_folder.h"
#include "app/tests/square_model.h"
#include "files/obj_writer.h"
#include "testing/model_builder.h"
#include "testing/scripted_user_interface.h"

namespace corvina {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUserInterface;

struct Fixture {
  ScratchFolder folder;
  ApplicationState app{folder.folder()};
  ScriptedUserInterface ui;
  CommandContext context{app, ui};

  void load(const std::string& obj) {
    ASSERT_TRUE(app.document.openModel(folder.write("model.obj", obj), ui));
    ui.messages.clear();
    ui.questions.clear();
  }
  void run(int id) { ASSERT_TRUE(runCommand(context, id)); }
  std::vector<std::string> texts() const {
    std::vector<std::string> all;
    for (const auto& m : ui.questions) all.push_back("? [" + m.caption + "] " + m.text);
    for (const auto& m : ui.messages) all.push_back("[" + m.caption + "] " + m.text);
    return all;
  }
};

const char* const kQuadAndTriangle = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nf 1 2 3\n";
const char* const kTwoDegenerates =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 1 3\nf 4 2 4\nf 1 2 3\n";
const char* const kOneDegenerate = "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 1 3\nf 1 2 3\n";

struct DialogueCase {
  const char* name;
  const char* model;
  int command;
  std::vector<Answer> answers;
  std::vector<std::string> expected;  // questions first, then messages
  int facetsAfter;
};

class ToolDialogue : public ::testing::TestWithParam<DialogueCase> {};

TEST_P(ToolDialogue, AsksAndReportsInItsOwnWords) {
  const DialogueCase& c = GetParam();
  Fixture f;
  f.load(c.model);
  for (Answer a : c.answers) f.ui.answers.push_back(a);
  f.run(c.command);
  EXPECT_EQ(f.texts(), c.expected);
  EXPECT_EQ(f.app.store.numFacets, c.facetsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolDialogue,
    ::testing::Values(
        DialogueCase{"AlreadyTriangulated",
                     testing::kSquare,
                     kCommandTriangulate,
                     {},
                     {"[Report] Object already triangulated"},
                     2},
        DialogueCase{"TriangulateDeclined",
                     kQuadAndTriangle,
                     kCommandTriangulate,
                     {Answer::No},
                     {"? [Confirmation] Are you sure you want to\ntriangulate this object?"},
                     2},
        DialogueCase{"TriangulateAccepted",
                     kQuadAndTriangle,
                     kCommandTriangulate,
                     {Answer::Yes},
                     {"? [Confirmation] Are you sure you want to\ntriangulate this object?"},
                     3},
        DialogueCase{"NoDegenerates",
                     testing::kSquare,
                     kCommandDegenerates,
                     {},
                     {"[Report] No degenerate facets found"},
                     2},
        DialogueCase{"OneDegenerateRemoved",
                     kOneDegenerate,
                     kCommandDegenerates,
                     {Answer::Yes},
                     {"? [Report] 1 degenerate facet found\nperform repairs?",
                      "[Report] 1 degenerate facet removed"},
                     1},
        DialogueCase{"TwoDegeneratesKept",
                     kTwoDegenerates,
                     kCommandDegenerates,
                     {Answer::No},
                     {"? [Report] 2 degenerate facets found\nperform repairs?"},
                     3},
        DialogueCase{"TwoDegeneratesRemoved",
                     kTwoDegenerates,
                     kCommandDegenerates,
                     {Answer::Yes},
                     {"? [Report] 2 degenerate facets found\nperform repairs?",
                      "[Report] 2 degenerate facets removed"},
                     1},
        DialogueCase{"WeldWithoutNormals",
                     kQuadAndTriangle,
                     kCommandWeldVertices,
                     {},
                     {"[Corvina] This OBJ contains no normal vectors"},
                     2},
        DialogueCase{"FixSeamsWithoutNormals",
                     kQuadAndTriangle,
                     kCommandFixSeams,
                     {},
                     {"[Corvina] This OBJ contains no normal vectors"},
                     2},
        DialogueCase{"WeldQuietly", testing::kSquare, kCommandWeldVertices, {}, {}, 2},
        DialogueCase{"SplitQuietly", testing::kSquare, kCommandSplitVertices, {}, {}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolCommands, EnabledWithAModelExceptSmoothAndTheGenerators) {
  Fixture f;
  const int needModel[] = {kCommandTriangulate, kCommandDegenerates, kCommandWeldVertices,
                           kCommandSplitVertices, kCommandFixSeams};
  const int always[] = {kCommandSmooth,      kCommandNewBox,    kCommandNewCone,
                        kCommandNewCylinder, kCommandNewSphere, kCommandNewTorus};
  for (int id : needModel) EXPECT_FALSE(isCommandEnabled(f.app, id)) << id;
  for (int id : always) EXPECT_TRUE(isCommandEnabled(f.app, id)) << id;
  f.run(kCommandNewBox);
  for (int id : needModel) EXPECT_TRUE(isCommandEnabled(f.app, id)) << id;
}

TEST(ToolCommands, WithoutModelAskForOne) {
  for (int id : {kCommandWeldVertices, kCommandFixSeams}) {
    Fixture f;
    f.run(id);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Please load an OBJ file first");
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Error);
  }
}

TEST(ToolCommands, DegenerateRepairCommitsThePendingSelection) {
  Fixture f;
  f.load(kOneDegenerate);
  SelectionState& selection = f.app.document.selection();
  // The good triangle selected and moved by half a unit to the right.
  for (int j = 6; j <= 8; ++j) f.app.store.facetStream[j].group |= kSelectedBit;
  selection.selectionActive = true;
  selection.source = {0, 1, 0, 1};
  selection.target = {0.5f, 1.5f, 0, 1};
  const float uBefore = testing::cornerUvs(f.app.store)[4].first;
  f.ui.answers.push_back(Answer::Yes);
  f.run(kCommandDegenerates);
  EXPECT_FALSE(selection.selectionActive);
  EXPECT_FLOAT_EQ(testing::cornerUvs(f.app.store)[0].first, uBefore + 0.5f);
}

TEST(SmoothCommand, KeepsTheConfirmedRecordAndSmooths) {
  Fixture f;
  f.load(kQuadAndTriangle);
  f.app.options.smoothing.angle = 30.0f;
  f.ui.optionResults.push_back(false);  // Cancel: nothing changes
  f.run(kCommandSmooth);
  EXPECT_EQ(f.app.store.numVNormals, 0);
  f.run(kCommandSmooth);  // OK
  EXPECT_EQ(f.ui.optionDialogs, (std::vector<std::string>{"Smooth Model", "Smooth Model"}));
  EXPECT_EQ(f.app.options.smoothing.angle, 30.0f);
  EXPECT_EQ(f.app.store.numVNormals, 7);
  EXPECT_TRUE(f.ui.messages.empty());
}

struct GeneratorCase {
  const char* name;
  int command;
  int vertices, facets, mapWidth, mapHeight;
};

class GeneratorCommand : public ::testing::TestWithParam<GeneratorCase> {};

// The model as a file would show it: positions, each corner's vertex, UV and
// normal, in stream order.
struct Snapshot {
  std::vector<float> numbers;
  std::vector<int> indices;
};

Snapshot snapshot(const ModelStore& store) {
  Snapshot s;
  for (const Vertex& v : store.baseVertices) s.numbers.insert(s.numbers.end(), {v.x, v.y, v.z});
  for (const CornerRecord& r : store.facetStream) {
    s.indices.push_back(r.vertex);
    if (r.vertex <= 0) continue;
    const TexVertex& t = store.texVertices.at(static_cast<std::size_t>(r.texVertex) - 1);
    const Normal& n = store.normals.at(static_cast<std::size_t>(r.normal) - 1);
    s.numbers.insert(s.numbers.end(), {t.u, t.v, n.x, n.y, n.z});
  }
  return s;
}

TEST_P(GeneratorCommand, MakesAModelThatReadsBackUnchanged) {
  const GeneratorCase& c = GetParam();
  Fixture f;
  f.load(testing::kSquare);
  f.run(c.command);
  ASSERT_TRUE(f.ui.messages.empty()) << f.ui.messages[0].text;
  const ModelStore& made = f.app.store;
  EXPECT_EQ(made.modelLoaded, kModelGenerated);
  EXPECT_EQ(made.modelBaseName, "Untitled");
  EXPECT_EQ(made.numVerts, c.vertices);
  EXPECT_EQ(made.numFacets, c.facets);
  EXPECT_EQ(made.mapWidth, c.mapWidth);
  EXPECT_EQ(made.mapHeight, c.mapHeight);
  const Snapshot before = snapshot(made);

  const std::string path = f.folder.path("made.obj");
  ASSERT_TRUE(writeObjModel(f.app.store, path, ObjExportOptions{}, f.ui));
  ModelStore read;
  SelectionState selection;
  ASSERT_TRUE(openObjModel(read, selection, path, f.ui));
  const Snapshot after = snapshot(read);
  EXPECT_EQ(after.indices, before.indices);
  ASSERT_EQ(after.numbers.size(), before.numbers.size());
  for (std::size_t i = 0; i < before.numbers.size(); ++i) {
    EXPECT_NEAR(after.numbers[i], before.numbers[i], 1e-6f + std::fabs(before.numbers[i]) * 2e-7f)
        << i;
  }
  EXPECT_EQ(read.mapWidth, c.mapWidth);
  EXPECT_EQ(read.mapHeight, c.mapHeight);
  ASSERT_EQ(read.numGroups, 1);
  EXPECT_STREQ(read.groups[0].name, made.groups[0].name);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, GeneratorCommand,
    ::testing::Values(GeneratorCase{"Box", kCommandNewBox, 8, 6, 300, 300},
                      GeneratorCase{"Cone", kCommandNewCone, 17, 17, 589, 375},
                      GeneratorCase{"Cylinder", kCommandNewCylinder, 32, 18, 589, 750},
                      GeneratorCase{"Sphere", kCommandNewSphere, 482, 512, 1178, 589},
                      GeneratorCase{"Torus", kCommandNewTorus, 512, 512, 1178, 589}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeneratorCommand, CancelKeepsTheModelAndEveryDialogStartsFromItsDefaults) {
  Fixture f;
  f.load(testing::kSquare);
  f.app.options.newSphere.radius = 9.0f;  // left over from an earlier run
  f.ui.optionResults.push_back(false);
  f.run(kCommandNewSphere);
  EXPECT_EQ(f.app.store.modelLoaded, kModelRead);
  EXPECT_EQ(f.app.store.numVerts, 4);
  EXPECT_EQ(f.app.options.newSphere.radius, 2.5f);
}

}  // namespace
}  // namespace corvina
