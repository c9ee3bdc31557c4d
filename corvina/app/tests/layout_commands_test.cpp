// The layout commands as the menu runs them: Pack Islands with its dialog,
// the pending move, the selection's frame and the map size; Equalize Texel
// Density.

#include <gtest/gtest.h>

#include <cstring>

#include "app/application_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/tests/scratch_folder.h"
#include "app/tests/typing_user_interface.h"
#include "layout/island_measures.h"
#include "layout/tests/island_models.h"

namespace corvina {
namespace {

using testing::fieldNamed;
using testing::ScratchFolder;
using testing::TypingUserInterface;

struct Fixture {
  ScratchFolder folder;
  ApplicationState app{folder.folder()};
  TypingUserInterface ui;
  CommandContext context{app, ui};

  explicit Fixture(int patches = 12) {
    if (patches > 0) app.store = testing::buildModel(testing::randomPatchModel(21, patches).recipe);
  }
  void run(int id) { ASSERT_TRUE(runCommand(context, id)); }
};

// Selects every facet of the islands for which `pick` holds.
template <typename Pick>
void selectIslands(ModelStore& store, Pick pick) {
  UvIslands islands;
  ASSERT_TRUE(findUvIslands(store, islands));
  for (std::size_t f = 0; f < islands.facetStart.size(); ++f)
    if (pick(islands.facetIsland[f]))
      for (auto j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
           store.facetStream[j].vertex > 0; ++j)
        store.facetStream[j].group |= kSelectedBit;
}

TEST(LayoutCommands, RefusedWithoutAModel) {
  for (int id : {kCommandPackIslands, kCommandEqualizeDensity}) {
    Fixture f(0);
    f.run(id);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Please load an OBJ file first");
    EXPECT_TRUE(f.ui.optionDialogs.empty());
  }
}

TEST(LayoutCommands, PackDialogStartsAtTheMapSizeAndCancelChangesNothing) {
  Fixture f;
  f.app.store.mapWidth = 300;
  f.app.store.mapHeight = 200;
  int shownWidth = 0, shownHeight = 0;
  float shownPadding = 0;
  f.ui.typing.push_back([&](OptionDialog& d) {
    shownWidth = *fieldNamed(d, "width").intValue;
    shownHeight = *fieldNamed(d, "height").intValue;
    shownPadding = *fieldNamed(d, "padding").floatValue;
    *fieldNamed(d, "width").intValue = 64;
  });
  f.ui.optionResults.push_back(false);
  const std::vector<TexVertex> before = f.app.store.texVertices;
  f.run(kCommandPackIslands);
  EXPECT_EQ(f.ui.optionDialogs, std::vector<std::string>{"Pack Islands"});
  EXPECT_EQ(shownWidth, 300);
  EXPECT_EQ(shownHeight, 200);
  EXPECT_EQ(shownPadding, 4.0f);
  EXPECT_EQ(f.app.store.mapWidth, 300);
  EXPECT_EQ(
      std::memcmp(before.data(), f.app.store.texVertices.data(), before.size() * sizeof(TexVertex)),
      0);
}

TEST(LayoutCommands, PackSetsTheMapSizeAndCommitsThePendingMoveFirst) {
  Fixture f;
  SelectionState& selection = f.app.document.selection();
  selectIslands(f.app.store, [](int island) { return island == 0; });
  selection.selectionActive = true;
  selection.source = {0.0f, 0.5f, 0.0f, 0.5f};
  selection.target = {0.5f, 1.0f, 0.5f, 1.0f};
  f.ui.typing.push_back([](OptionDialog& d) {
    *fieldNamed(d, "width").intValue = 256;
    *fieldNamed(d, "height").intValue = 128;
  });
  f.run(kCommandPackIslands);
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.app.store.mapWidth, 256);
  EXPECT_EQ(f.app.store.mapHeight, 128);
  // The move was applied: the frame's source is its target, the selection stays.
  EXPECT_TRUE(selection.selectionActive);
  EXPECT_EQ(selection.source.left, 0.5f);
  const auto report = testing::islandOverlap(f.app.store, 256, 128, 2.0);
  EXPECT_EQ(report.sharedPixels, 0);
  EXPECT_EQ(report.cornersNearBorder, 0);
  EXPECT_GT(f.ui.refreshes, 0);
}

TEST(LayoutCommands, SelectedIslandsGoIntoTheFrameAndTheMapSizeStays) {
  Fixture f;
  SelectionState& selection = f.app.document.selection();
  selectIslands(f.app.store, [](int island) { return island % 3 == 0; });
  selection.selectionActive = true;
  selection.source = selection.target = {0.5f, 1.0f, 0.0f, 0.25f};
  f.ui.typing.push_back([](OptionDialog& d) { *fieldNamed(d, "selectedOnly").boolValue = true; });
  const std::vector<TexVertex> before = f.app.store.texVertices;
  f.run(kCommandPackIslands);
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.app.store.mapWidth, 512);
  const ModelStore& store = f.app.store;
  for (std::size_t j = 0; j < store.facetStream.size() && store.facetStream[j].vertex >= 0; ++j) {
    if (store.facetStream[j].vertex == kSeparator) continue;
    const TexVertex& t = store.texVertices[j];
    if ((store.facetStream[j].group & kSelectedBit) != 0) {
      // Inside the frame: u from 0.5 to 1, v from 0.75 to 1, half the padding in.
      EXPECT_GE(t.u, 0.5f + 2.0f / 512 - 1e-5f);
      EXPECT_LE(t.u, 1.0f - 2.0f / 512 + 1e-5f);
      EXPECT_GE(t.v, 0.75f + 2.0f / 512 - 1e-5f);
      EXPECT_LE(t.v, 1.0f - 2.0f / 512 + 1e-5f);
    } else {
      EXPECT_EQ(std::memcmp(&t, &before[j], sizeof(TexVertex)), 0);
    }
  }
}

TEST(LayoutCommands, RefusalsAreReported) {
  struct Case {
    const char* what;
    std::function<void(Fixture&)> setup;
    std::string caption, text;
  };
  const Case cases[] = {
      {"padding too large for the map",
       [](Fixture& f) {
         f.ui.typing.push_back([](OptionDialog& d) {
           *fieldNamed(d, "width").intValue = 16;
           *fieldNamed(d, "height").intValue = 16;
           *fieldNamed(d, "padding").floatValue = 100;
         });
       },
       "Error", "The islands do not fit into the map with this padding"},
      {"selected only, without a selection",
       [](Fixture& f) {
         f.ui.typing.push_back(
             [](OptionDialog& d) { *fieldNamed(d, "selectedOnly").boolValue = true; });
       },
       "Report", "There are no islands to pack"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    c.setup(f);
    const std::vector<TexVertex> before = f.app.store.texVertices;
    f.run(kCommandPackIslands);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].caption, c.caption);
    EXPECT_EQ(f.ui.messages[0].text, c.text);
    EXPECT_EQ(f.app.store.mapWidth, 512);
    EXPECT_EQ(std::memcmp(before.data(), f.app.store.texVertices.data(),
                          before.size() * sizeof(TexVertex)),
              0);
  }
}

TEST(LayoutCommands, EqualizeDensityScalesOnlyTheSelectedIslandsOfASelection) {
  Fixture f;
  selectIslands(f.app.store, [](int island) { return island == 1; });
  f.app.document.selection().selectionActive = true;
  f.app.document.selection().source = f.app.document.selection().target = {0, 1, 0, 1};
  UvIslands islands;
  ASSERT_TRUE(findUvIslands(f.app.store, islands));
  IslandMeasures before;
  ASSERT_TRUE(measureIslands(f.app.store, islands, before));
  f.run(kCommandEqualizeDensity);
  IslandMeasures after;
  ASSERT_TRUE(measureIslands(f.app.store, islands, after));
  for (int i = 0; i < islands.count; ++i) {
    SCOPED_TRACE(i);
    if (i == 1)
      EXPECT_NE(after.textureArea[1], before.textureArea[1]);
    else
      EXPECT_EQ(after.textureArea[static_cast<std::size_t>(i)],
                before.textureArea[static_cast<std::size_t>(i)]);
  }
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(LayoutCommands, ExportLayoutAsksForTheFormatThenTheFile) {
  struct Case {
    int format;
    const char* filter;
    const char* name;
    const char* start;  // the file's first bytes
  };
  const Case cases[] = {{0, "*.png", "layout.png", "\x89PNG"}, {1, "*.svg", "layout.svg", "<?xml"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.app.store.mapWidth = 96;
    f.ui.typing.push_back([&](OptionDialog& d) {
      EXPECT_EQ(*fieldNamed(d, "width").intValue, 96);
      *fieldNamed(d, "format").intValue = c.format;
    });
    f.ui.files.push_back(f.folder.path(c.name));
    f.run(kCommandExportLayout);
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_EQ(f.ui.optionDialogs, std::vector<std::string>{"Layout Export Options"});
    ASSERT_EQ(f.ui.fileRequests.size(), 1u);
    EXPECT_EQ(f.ui.fileRequests[0].title, "Export Layout...");
    EXPECT_EQ(f.ui.fileRequests[0].filters[0].second, c.filter);
    EXPECT_TRUE(f.ui.fileRequests[0].save);
    EXPECT_EQ(f.folder.read(c.name).rfind(c.start, 0), 0u);
    EXPECT_EQ(f.app.store.lastDirectory, f.folder.folder());
  }
}

TEST(LayoutCommands, ExportLayoutFailuresAreReported) {
  Fixture f;
  f.ui.files.push_back(f.folder.path("missing/layout.png"));
  f.run(kCommandExportLayout);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, "Error writing to file");
  // Cancel in the file dialog writes nothing and says nothing.
  Fixture cancelled;
  cancelled.ui.files.push_back(std::nullopt);
  cancelled.run(kCommandExportLayout);
  EXPECT_TRUE(cancelled.ui.messages.empty());
}

}  // namespace
}  // namespace corvina
