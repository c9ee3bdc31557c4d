// The OBJ and UVS writers format their long sections in pieces on several
// threads: on random models with awkward numbers and damaged streams, every
// thread count and piece size gives the bytes and progress steps of one walk
// on one thread.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "files/obj_write_text.h"
#include "files/obj_writer.h"
#include "files/uvs_writer.h"
#include "model/parallel_parts.h"
#include "testing/counting_progress.h"
#include "testing/file_bytes.h"
#include "testing/model_builder.h"

namespace corvina {
namespace {

using testing::CountingProgress;

// Numbers whose text is easy to get wrong: signed zeros, NaN, infinities, the
// largest and smallest floats, values on a rounding edge of 8 decimals.
const float kAwkward[] = {-0.0f,
                          0.0f,
                          std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::max(),
                          -std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::denorm_min(),
                          -1e-9f,
                          0.000000005f,
                          0.999999995f,
                          -123456789.0f,
                          1.0f / 3.0f};

// A random model (compact texture vertices, as a save formats it) with
// awkward numbers, facets without corners, corners before the first
// separator, set indices beyond their tables, shape lines at damaged facet
// numbers, and the end of the list before the end of the stream.
ModelStore awkwardModel(unsigned seed, int facets) {
  testing::ModelRecipe recipe = testing::randomModelRecipe(seed, facets);
  std::mt19937 random(seed);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  auto awkward = [&] { return kAwkward[below(static_cast<int>(std::size(kAwkward)))]; };
  for (auto& v : recipe.vertices) v[below(3)] = below(3) == 0 ? awkward() : v[0];
  for (auto& t : recipe.texVertices) t[below(2)] = below(3) == 0 ? awkward() : t[1];
  for (auto& n : recipe.normals) n[below(3)] = below(3) == 0 ? awkward() : n[2];
  for (int k = 0; k < facets / 20 + 1; ++k) {
    recipe.facets[static_cast<std::size_t>(below(facets))].clear();
  }
  recipe.shapeLines.push_back({-1, "s damaged"});
  recipe.shapeLines.push_back({facets + 5, "l 1 2"});
  recipe.shapeLines.push_back({facets / 2, "s \\ back\\slash"});
  ModelStore store = testing::buildModel(recipe);
  compressTextureVertices(store);
  if (seed % 2 == 0) store.facetStream[0].vertex = 1;  // corners that no separator opened
  for (int k = 0; k < facets / 10 + 1; ++k) {
    CornerRecord& corner = store.facetStream[static_cast<std::size_t>(
        1 + below(static_cast<int>(store.facetStream.size()) - 2))];
    corner.group = static_cast<std::uint16_t>((corner.group & ~kSetIndexMask) | 0x3000);
  }
  if (seed % 3 == 0) {
    // The list ends early; the records after it are left overs.
    store.facetStream[store.facetStream.size() * 3 / 4].vertex = kEndOfList;
  }
  store.numFacets = countWrittenFacets(store);
  return store;
}

struct Text {
  std::string bytes;
  int steps = 0;
};

Text objText(const ModelStore& store, const ObjExportOptions& options, WritePieceSizes sizes) {
  ObjWriteBuffer out(!options.noLinefeeds);
  CountingProgress sink;
  ObjWriteProgress progress(sink);
  writeObjText(store, options, out, progress, sizes);
  return {std::string(out.bytes()), sink.progressSteps};
}

Text uvsText(const ModelStore& store, const UvsExportOptions& options, WritePieceSizes sizes) {
  ObjWriteBuffer out(!options.noLinefeeds);
  CountingProgress sink;
  ObjWriteProgress progress(sink);
  writeUvsText(store, options, out, progress, sizes);
  return {std::string(out.bytes()), sink.progressSteps};
}

std::vector<ObjExportOptions> objOptionSets() {
  ObjExportOptions plain;
  ObjExportOptions turned;
  turned.singleGroup = turned.reverseWinding = turned.noLinefeeds = true;
  turned.flipV = turned.flipH = turned.invertNormals = turned.swapYZ = true;
  turned.exportMaterials = turned.exportRegions = false;
  ObjExportOptions bare;
  bare.exportUVs = bare.exportNormals = false;
  return {plain, turned, bare};
}

std::vector<UvsExportOptions> uvsOptionSets() {
  UvsExportOptions plain;
  UvsExportOptions named;
  named.flipV = named.flipH = named.noLinefeeds = true;
  named.exportGroups = named.exportMaterials = named.exportRegions = true;
  named.baseModel = "/models/crate.obj";
  return {plain, named};
}

const std::size_t kThreadCounts[] = {1, 2, 3, 8};
const WritePieceSizes kPieceSizes[] = {{3, 4}, {64, 97}, WritePieceSizes{}};
const WritePieceSizes kOnePiece{std::size_t{1} << 40, std::size_t{1} << 40};

TEST(ObjWriterThreads, EveryThreadCountAndPieceSizeWritesTheBytesOfOneWalk) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const ModelStore store = awkwardModel(seed, 150 + 40 * static_cast<int>(seed));
    for (const ObjExportOptions& options : objOptionSets()) {
      Text reference;
      {
        ScopedParallelThreads one(1);
        reference = objText(store, options, kOnePiece);
      }
      ASSERT_GT(reference.bytes.size(), 1000u);
      for (std::size_t threads : kThreadCounts) {
        ScopedParallelThreads chosen(threads);
        for (const WritePieceSizes& sizes : kPieceSizes) {
          const Text text = objText(store, options, sizes);
          ASSERT_EQ(text.bytes, reference.bytes)
              << "seed " << seed << ", " << threads << " threads, pieces " << sizes.items << "/"
              << sizes.records;
          EXPECT_EQ(text.steps, reference.steps);
        }
      }
    }
  }
}

TEST(UvsWriterThreads, EveryThreadCountAndPieceSizeWritesTheBytesOfOneWalk) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const ModelStore store = awkwardModel(seed, 150 + 40 * static_cast<int>(seed));
    for (const UvsExportOptions& options : uvsOptionSets()) {
      Text reference;
      {
        ScopedParallelThreads one(1);
        reference = uvsText(store, options, kOnePiece);
      }
      ASSERT_GT(reference.bytes.size(), 1000u);
      for (std::size_t threads : kThreadCounts) {
        ScopedParallelThreads chosen(threads);
        for (const WritePieceSizes& sizes : kPieceSizes) {
          const Text text = uvsText(store, options, sizes);
          ASSERT_EQ(text.bytes, reference.bytes)
              << "seed " << seed << ", " << threads << " threads, pieces " << sizes.items << "/"
              << sizes.records;
          EXPECT_EQ(text.steps, reference.steps);
        }
      }
    }
  }
}

// A file's bytes in one read (the byte-by-byte reader is slow unoptimised).
std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Through the files, with the pieces the saves use: a model of more than one
// facet piece, saved at every thread count, gives the same files.
TEST(ObjWriterThreads, SavedFilesAreTheSameAtEveryThreadCount) {
  testing::ScratchFolder folder;
  ModelStore store = testing::buildModel(testing::randomModelRecipe(5, 9000));
  ASSERT_GT(store.numCornerRecords, 1 << 15);
  std::string objReference, uvsReference;
  int objSteps = 0, uvsSteps = 0;
  for (std::size_t threads : kThreadCounts) {
    ScopedParallelThreads chosen(threads);
    CountingProgress objSink, uvsSink;
    const std::string obj = folder.file("model.obj"), uvs = folder.file("model.uvs");
    ASSERT_EQ(writeObjFile(store, obj, ObjExportOptions{}, objSink), WriteOutcome::Written);
    ASSERT_EQ(exportUvsFile(store, uvs, UvsExportOptions{}, uvsSink), WriteOutcome::Written);
    if (threads == 1) {
      objReference = fileBytes(obj);
      uvsReference = fileBytes(uvs);
      objSteps = objSink.progressSteps;
      uvsSteps = uvsSink.progressSteps;
      ASSERT_GT(objSteps, 80);  // a step per 256 elements written
      ASSERT_GT(uvsSteps, 50);
      continue;
    }
    EXPECT_TRUE(fileBytes(obj) == objReference) << threads << " threads";
    EXPECT_TRUE(fileBytes(uvs) == uvsReference) << threads << " threads";
    EXPECT_EQ(objSink.progressSteps, objSteps) << threads << " threads";
    EXPECT_EQ(uvsSink.progressSteps, uvsSteps) << threads << " threads";
  }
}

}  // namespace
}  // namespace corvina
