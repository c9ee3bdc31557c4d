// Picks, commits, Esc and the hide keys through the run notes the editor
// keeps between its own edits walk only the runs they can change: whatever
// the runs' size, the threads and the model, a sequence of them leaves every
// bit, coordinate and vertex mark and gives every answer as the same
// sequence walking the whole stream does.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "editor/selection_keys.h"
#include "editor/selection_picking.h"
#include "model/parallel_parts.h"
#include "testing/model_builder.h"
#include "tools/selection_blocks.h"
#include "tools/selection_state.h"

namespace corvina {
namespace {

enum class Sharing { Own, Shared };

// Random facets of 1 to 5 corners around the unit square, in patches so that
// runs of the stream cover little of the map: some hidden, some corners
// without coordinates, a few coordinates and facets whose coordinates are not
// numbers, stale selected bits (on a few separators too).
// With Sharing::Own every corner owns its texture vertex as a load leaves
// them; with Shared, corners of far-apart facets share texture vertices.
ModelStore randomModel(std::mt19937& random, int facets, Sharing sharing) {
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  std::uniform_int_distribution<int> corners(1, 5), percent(0, 99);
  ModelStore store;
  const int vertices = facets + 7;
  for (int v = 0; v < vertices; ++v) store.vertices.push_back({0, 0, 0, 0});
  store.facetStream.push_back(CornerRecord{});
  float patchU = 0, patchV = 0;
  for (int f = 0; f < facets; ++f) {
    if (f % 12 == 0) {
      patchU = unit(random) * 1.2f - 0.1f;
      patchV = unit(random) * 1.2f - 0.1f;
    }
    const bool hidden = percent(random) < 8;
    const bool unordered = percent(random) < 3;  // every coordinate not a number
    const int count = corners(random);
    for (int c = 0; c < count; ++c) {
      CornerRecord record;
      record.vertex = 1 + (f * 3 + c) % vertices;
      const std::size_t j = store.facetStream.size();
      if (sharing == Sharing::Shared && j > 40 && percent(random) < 30) {
        record.texVertex = 1 + static_cast<int>((j * 7919) % (store.texVertices.size()));
      } else if (percent(random) >= 5) {
        // Owned: the texture vertex numbered after the record.
        store.texVertices.resize(j);
        float u = patchU + unit(random) * 0.1f, v = patchV + unit(random) * 0.1f;
        if (unordered || percent(random) == 0) u = std::numeric_limits<float>::quiet_NaN();
        store.texVertices.push_back({u, v, 0});
        record.texVertex = static_cast<int>(j + 1);
      }
      if (percent(random) < 30) record.group |= kSelectedBit;
      if (hidden) record.flags |= kHiddenBit;
      store.facetStream.push_back(record);
    }
    store.facetStream.push_back(CornerRecord{});
    if (percent(random) < 10) store.facetStream.back().group |= kSelectedBit;
  }
  testing::closeFacetStream(store, facets);
  return store;
}

void expectSameStores(const ModelStore& noted, const ModelStore& whole, const std::string& at) {
  ASSERT_EQ(noted.facetStream.size(), whole.facetStream.size());
  for (std::size_t j = 0; j < whole.facetStream.size(); ++j) {
    ASSERT_EQ(noted.facetStream[j].group, whole.facetStream[j].group) << at << ", record " << j;
    ASSERT_EQ(noted.facetStream[j].flags, whole.facetStream[j].flags) << at << ", record " << j;
  }
  ASSERT_EQ(noted.texVertices.size(), whole.texVertices.size());
  // Bit for bit, so that coordinates that are not numbers compare too.
  ASSERT_EQ(std::memcmp(noted.texVertices.data(), whole.texVertices.data(),
                        whole.texVertices.size() * sizeof(TexVertex)),
            0)
      << at;
  for (std::size_t v = 0; v < whole.vertices.size(); ++v)
    ASSERT_EQ(noted.vertices[v].mark, whole.vertices[v].mark) << at << ", vertex " << v;
}

TEST(SelectionBlocks, EditsThroughNotesMatchWholeWalks) {
  std::mt19937 random(77);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  std::uniform_int_distribution<int> percent(0, 99);
  for (int round = 0; round < 24; ++round) {
    const Sharing sharing = round % 3 == 2 ? Sharing::Shared : Sharing::Own;
    ModelStore whole = randomModel(random, 240, sharing);
    if (round % 4 == 1) {
      // The list ends halfway; the records after it, selected or not, stay
      // outside every run.
      for (std::size_t j = whole.facetStream.size() / 2; j < whole.facetStream.size(); ++j)
        if (whole.facetStream[j].vertex == kSeparator) {
          whole.facetStream[j].vertex = kEndOfList;
          break;
        }
    }
    ModelStore noted = whole;
    SelectionBlocks blocks;
    blocks.setBlockRecords(static_cast<std::size_t>(1 + round % 9));
    const ScopedParallelThreads cut(round % 2 == 0 ? 1 : 3, 1);
    SelectionState wholeSelection, notedSelection;
    for (int step = 0; step < 14; ++step) {
      const std::string at = "round " + std::to_string(round) + ", step " + std::to_string(step);
      const int choice = percent(random);
      if (choice < 50) {
        const float x = unit(random) * 1.2f - 0.1f, y = unit(random) * 1.2f - 0.1f;
        const FrameRect band{x, x + unit(random) * 0.5f, y, y + unit(random) * 0.5f};
        const SelectMethod method =
            percent(random) < 50 ? SelectMethod::ByFacet : SelectMethod::ByVertex;
        PickChange wholeChange, notedChange;
        const bool wholeAnswer = pickCornersInside(whole, band, method, &wholeChange);
        const bool notedAnswer = pickCornersInside(noted, band, method, &notedChange, &blocks);
        EXPECT_EQ(notedAnswer, wholeAnswer) << at;
        EXPECT_EQ(notedChange.records.begin, wholeChange.records.begin) << at;
        EXPECT_EQ(notedChange.records.end, wholeChange.records.end) << at;
        EXPECT_EQ(notedChange.everyVisibleSelected, wholeChange.everyVisibleSelected) << at;
        EXPECT_EQ(notedChange.visibleSelected, wholeChange.visibleSelected) << at;
        wholeSelection.selectionActive = notedSelection.selectionActive = wholeAnswer;
        wholeSelection.source = notedSelection.source = band;
      } else if (choice < 75) {
        // A key that commits, drops, hides or shows, with or without an
        // active selection.
        const KeyAction keys[] = {KeyAction::Commit,       KeyAction::Drop,
                                  KeyAction::Hide,         KeyAction::Show,
                                  KeyAction::ToggleHidden, KeyAction::HideOthers};
        const KeyAction key = keys[percent(random) % 6];
        if (percent(random) < 20)
          wholeSelection.selectionActive = notedSelection.selectionActive = false;
        applyKeyAction(whole, wholeSelection, key, false, ViewSize{100, 100});
        applyKeyAction(noted, notedSelection, key, false, ViewSize{100, 100}, &blocks);
        EXPECT_EQ(notedSelection.selectionActive, wholeSelection.selectionActive) << at;
      } else {
        // A commit of a frame moved and stretched, as a drag leaves it.
        FrameRect target = wholeSelection.source;
        const float dx = unit(random) * 0.6f - 0.3f, dy = unit(random) * 0.6f - 0.3f;
        target.left += dx;
        target.right += dx + unit(random) * 0.1f;
        target.top += dy;
        target.bottom += dy;
        wholeSelection.target = notedSelection.target = target;
        commitSelection(whole, wholeSelection);
        commitSelection(noted, notedSelection, &blocks);
        EXPECT_EQ(notedSelection.selectionActive, wholeSelection.selectionActive) << at;
      }
      expectSameStores(noted, whole, at);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

// The notes describe the arrays they were taken from: arrays that moved or
// changed length make them lapse, and forget() drops them.
TEST(SelectionBlocks, NotesLapseWhenTheArraysChange) {
  std::mt19937 random(5);
  ModelStore store = randomModel(random, 40, Sharing::Own);
  SelectionBlocks blocks;
  pickCornersInside(store, {0, 1, 0, 1}, SelectMethod::ByFacet, nullptr, &blocks);
  EXPECT_TRUE(blocks.known(store));
  EXPECT_TRUE(blocks.ownCorners());
  ModelStore copy = store;
  EXPECT_FALSE(blocks.known(copy));
  store.texVertices.push_back({0.5f, 0.5f, 0});
  EXPECT_FALSE(blocks.known(store));
  pickCornersInside(store, {0, 1, 0, 1}, SelectMethod::ByFacet, nullptr, &blocks);
  EXPECT_TRUE(blocks.known(store));
  blocks.forget();
  EXPECT_FALSE(blocks.known(store));
}

}  // namespace
}  // namespace corvina
