// The mapping commands as the menu runs them: model check, dialogs and their
// range messages, Cancel, Last Projection, tiling and rotation.

#include <gtest/gtest.h>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/tests/scratch_folder.h"
#include "app/tests/typing_user_interface.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

using testing::fieldNamed;
using testing::ScratchFolder;
using testing::TypingUserInterface;

const std::string kTriangulate =
    "Object must first be triangulated\n You can do this by pressing 't'";

struct Fixture {
  ScratchFolder folder;
  ApplicationState app{folder.folder()};
  TypingUserInterface ui;
  CommandContext context{app, ui};

  void loadCube() {
    app.store = testing::unitCube();
    expandTextureVertices(app.store, false);
  }
  bool run(int id) { return runCommand(context, id); }
};

TEST(MappingCommands, EveryProjectionRefusesWithoutAModel) {
  for (int id : {kCommandPlanar, kCommandBox, kCommandCylindrical, kCommandCylindricalCap,
                 kCommandSpherical, kCommandPerFacet}) {
    Fixture f;
    const CommandRow* row = findCommand(id);
    ASSERT_NE(row, nullptr);
    row->run(f.context);
    ASSERT_EQ(f.ui.messages.size(), 1u) << id;
    EXPECT_EQ(f.ui.messages[0].caption, "Error");
    EXPECT_EQ(f.ui.messages[0].text, "Please load an OBJ file first");
    EXPECT_TRUE(f.ui.optionDialogs.empty());
  }
}

TEST(MappingCommands, EachProjectionShowsItsDialogAndRecordsItsKind) {
  struct Case {
    int id;
    const char* caption;
    ProjectionKind kind;
  };
  const Case cases[] = {
      {kCommandPlanar, "Planar Mapping", ProjectionKind::Planar},
      {kCommandBox, "Box Mapping", ProjectionKind::Box},
      {kCommandCylindrical, "Cylindrical Mapping", ProjectionKind::Cylindrical},
      {kCommandCylindricalCap, "Cylindrical Cap Mapping", ProjectionKind::CylindricalCap},
      {kCommandSpherical, "Spherical Mapping", ProjectionKind::Spherical},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.loadCube();
    f.run(c.id);
    EXPECT_EQ(f.ui.optionDialogs, std::vector<std::string>{c.caption});
    EXPECT_TRUE(f.ui.messages.empty()) << c.caption;
    EXPECT_EQ(f.app.document.projectionKind(), c.kind) << c.caption;
    EXPECT_GE(f.ui.refreshes, 1) << c.caption;
  }
}

TEST(MappingCommands, CancelChangesNothing) {
  Fixture f;
  f.loadCube();
  f.app.document.setProjectionKind(ProjectionKind::Box);
  const auto before = testing::uvBits(f.app.store);
  f.ui.typing.push_back([](OptionDialog& d) { *fieldNamed(d, "mapSize").intValue = 64; });
  f.ui.optionResults.push_back(false);
  f.run(kCommandPlanar);
  EXPECT_EQ(testing::uvBits(f.app.store), before);
  EXPECT_EQ(f.app.document.projectionKind(), ProjectionKind::Box);
  EXPECT_EQ(f.app.options.mapping.planar.mapSize, 1024);
  EXPECT_EQ(f.app.store.mapWidth, 512);
}

TEST(MappingCommands, RefusedValuesKeepTheDialogOpenWithTheFrameworkMessage) {
  struct Case {
    int id;
    const char* field;
    double value;
    const char* message;
  };
  const Case cases[] = {
      {kCommandPlanar, "mapSize", 0, "Please enter an integer between 1 and 8192."},
      {kCommandBox, "mapSize", 9000, "Please enter an integer between 1 and 8192."},
      {kCommandSpherical, "rotation", 360, "Please enter an integer between 0 and 359."},
      {kCommandPerFacet, "gap", 1.5, "Please enter a number between 0 and 1."},
      {kCommandRotate, "x", -361, "Please enter an integer between -360 and 360."},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.loadCube();
    // A cube of quads: per-facet mapping needs triangles.
    if (c.id == kCommandPerFacet) f.app.store = testing::triangles(2);
    f.ui.typing.push_back([&](OptionDialog& d) {
      OptionField& field = fieldNamed(d, c.field);
      if (field.intValue) *field.intValue = static_cast<int>(c.value);
      if (field.floatValue) *field.floatValue = static_cast<float>(c.value);
    });
    f.ui.optionResults = {true, false};  // OK on the bad value, then Cancel
    f.run(c.id);
    ASSERT_EQ(f.ui.messages.size(), 1u) << c.field;
    EXPECT_EQ(f.ui.messages[0].text, c.message);
    EXPECT_EQ(f.ui.optionDialogs.size(), 2u) << "shown again after the message";
    EXPECT_EQ(f.app.document.projectionKind(), ProjectionKind::None);
  }
}

TEST(MappingCommands, PerFacetRefusesModelsWithLargerFacets) {
  Fixture f;
  f.loadCube();
  const auto before = testing::uvBits(f.app.store);
  f.run(kCommandPerFacet);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].caption, "Report");
  EXPECT_EQ(f.ui.messages[0].text, kTriangulate);
  EXPECT_TRUE(f.ui.optionDialogs.empty());
  EXPECT_EQ(testing::uvBits(f.app.store), before);
}

TEST(MappingCommands, LastProjectionRepeatsTheWholeCommandDialogIncluded) {
  Fixture f;
  f.loadCube();
  f.run(kCommandLastProjection);
  EXPECT_TRUE(f.ui.optionDialogs.empty()) << "nothing to repeat yet";

  f.run(kCommandSpherical);
  f.ui.typing.push_back([](OptionDialog& d) { *fieldNamed(d, "mapSize").intValue = 256; });
  f.run(kCommandLastProjection);
  EXPECT_EQ(f.ui.optionDialogs,
            (std::vector<std::string>{"Spherical Mapping", "Spherical Mapping"}));
  EXPECT_EQ(f.app.store.mapWidth, 256);
  EXPECT_EQ(f.app.store.mapHeight, 128);

  // Cancel in the repeated dialog keeps the kind.
  f.ui.optionResults.push_back(false);
  f.run(kCommandLastProjection);
  EXPECT_EQ(f.app.document.projectionKind(), ProjectionKind::Spherical);
}

TEST(MappingCommands, ProjectionInASelectionAppliesThePendingMove) {
  Fixture f;
  f.loadCube();
  f.run(kCommandPlanar);
  testing::selectFacets(f.app.store, {testing::kPlusX});
  SelectionState& selection = f.app.document.selection();
  fitFrameToSelection(f.app.store, selection, 512, 512);
  f.app.store.mapWidth = 300;
  f.run(kCommandBox);
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_EQ(selection.source.left, selection.target.left) << "source took the target";
  EXPECT_EQ(f.app.store.mapWidth, 300);
  for (const CornerRecord& record : f.app.store.facetStream) {
    if (record.vertex <= 0 || (record.group & kSelectedBit) == 0) continue;
    const TexVertex& t = f.app.store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
    EXPECT_GE(t.u, selection.target.left - 1e-6f);
    EXPECT_LE(t.u, selection.target.right + 1e-6f);
  }
}

TEST(MappingCommands, RotateTakesTheRecordOnOkAndOnCancel) {
  Fixture f;
  f.loadCube();
  f.ui.typing.push_back([](OptionDialog& d) { *fieldNamed(d, "z").intValue = 90; });
  f.run(kCommandRotate);
  EXPECT_NEAR(f.app.store.vertices[7].x, -1.0f, 1e-5f);  // (1,1,1) -> (-1,1,1)
  // Cancel: the record's angles stay and are applied again.
  f.ui.typing.push_back([](OptionDialog& d) { *fieldNamed(d, "z").intValue = 0; });
  f.ui.optionResults.push_back(false);
  f.run(kCommandRotate);
  EXPECT_EQ(f.app.options.mapping.rotate.z, 90);
  EXPECT_NEAR(f.app.store.vertices[7].x, -1.0f, 1e-5f);
}

TEST(MappingCommands, TileByGroupRearrangesAndClearsTheSelection) {
  Fixture f;
  f.loadCube();
  f.run(kCommandBox);
  int facet = -1;
  for (CornerRecord& record : f.app.store.facetStream) {
    if (record.vertex < 0) break;
    if (record.vertex == 0)
      ++facet;
    else
      record.group = static_cast<std::uint16_t>(facet % 3);
  }
  f.app.store.numGroups = 3;
  testing::selectFacets(f.app.store, {0});
  f.run(kCommandTileGroup);
  EXPECT_EQ(f.ui.optionDialogs.back(), "Tile Options");
  EXPECT_FALSE(f.app.document.selection().selectionActive);
  const auto bounds = testing::facetUvBounds(f.app.store);
  EXPECT_LE(bounds[2].umax, 0.5f);  // group 2: bottom-left cell
  EXPECT_LE(bounds[2].vmax, 0.5f);
  EXPECT_GE(bounds[1].umin, 0.5f);  // group 1: top-right
  EXPECT_EQ(f.app.document.projectionKind(), ProjectionKind::Box);
}

}  // namespace
}  // namespace corvina
