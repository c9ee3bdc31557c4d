// The reader's quick ways (lines handed out in place, element and facet lines
// recognised by their first bytes and skipped by passes that do not need
// them) must load exactly the model that the byte-at-a-time path loads.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "files/obj_reader.h"
#include "testing/counting_progress.h"

namespace corvina {
namespace {

// Random OBJ text over the features that decide how lines are split and
// recognised: every statement kind in both letter cases, blanks and tabs in
// odd places, continuations, CR, CR LF and NUL line ends, over-long lines,
// lines that hold only a keyword, and numbers of every form.
std::string randomObjText(std::mt19937& random, std::size_t lines) {
  const char* const numbers[] = {
      "1",  "-1", "0.5",   "-2.250000", "1e3",      "+4", "7x", "", "12345678901234",
      "-0", ".5", "3/4/5", "2//2",      "-3/-3/-3", "9/", "nan"};
  const char* const starts[] = {"v ",
                                "vt ",
                                "vn ",
                                "f ",
                                "fo ",
                                "F ",
                                "V ",
                                "g ",
                                "s ",
                                "l ",
                                "usemtl ",
                                "# r ",
                                "# x/y/color/ppu ",
                                "#",
                                "v",
                                "f",
                                " v ",
                                "\tf ",
                                "vt\t",
                                "f  ",
                                "vx ",
                                "mtllib "};
  const char* const blanks[] = {" ", " ", " ", "  ", "\t", " \t"};
  const std::string_view ends[] = {
      "\n", "\n", "\n", "\n", "\r\n", "\r", std::string_view("\0", 1), "\\\n", " \n"};
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) {
    text += starts[random() % std::size(starts)];
    const std::size_t words = random() % 5 == 0 ? 200 + random() % 200 : random() % 6;
    for (std::size_t w = 0; w < words; ++w) {
      if (w > 0) text += blanks[random() % std::size(blanks)];
      text += numbers[random() % std::size(numbers)];
      if (random() % 50 == 0) text += '\\';
    }
    text += ends[random() % std::size(ends)];
  }
  return text;
}

struct Loaded {
  ObjReadOutcome outcome = ObjReadOutcome::CannotOpen;
  ModelStore store;
  testing::CountingProgress progress;
};

void load(const std::string& text, bool fastPath, std::size_t chunkSize, Loaded& result) {
  ObjMemorySource source(text);
  ObjReadOptions options;
  options.fastPath = fastPath;
  options.chunkSize = chunkSize;
  result.outcome = readObjFile(result.store, source, result.progress, options);
}

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool sameVertices(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::memcmp(&a[i].x, &b[i].x, 3 * sizeof(float)) != 0 || a[i].mark != b[i].mark)
      return false;
  }
  return true;
}

void expectSameModel(const Loaded& fast, const Loaded& bytes, int round) {
  ASSERT_EQ(fast.outcome, bytes.outcome) << round;
  const ModelStore& a = fast.store;
  const ModelStore& b = bytes.store;
  EXPECT_TRUE(sameVertices(a.vertices, b.vertices)) << round;
  EXPECT_TRUE(sameVertices(a.baseVertices, b.baseVertices)) << round;
  EXPECT_TRUE(sameBytes(a.texVertices, b.texVertices)) << round;
  EXPECT_TRUE(sameBytes(a.normals, b.normals)) << round;
  EXPECT_TRUE(sameBytes(a.facetStream, b.facetStream)) << round;
  EXPECT_TRUE(sameBytes(a.groups, b.groups)) << round;
  EXPECT_TRUE(sameBytes(a.materials, b.materials)) << round;
  EXPECT_TRUE(sameBytes(a.regions, b.regions)) << round;
  EXPECT_TRUE(sameBytes(a.shapeLines, b.shapeLines)) << round;
  EXPECT_EQ(a.numFacets, b.numFacets) << round;
  EXPECT_EQ(a.numGroups, b.numGroups) << round;
  EXPECT_EQ(a.numMaterials, b.numMaterials) << round;
  EXPECT_EQ(a.numRegions, b.numRegions) << round;
  EXPECT_EQ(a.mapWidth, b.mapWidth) << round;
  EXPECT_EQ(a.colorMode, b.colorMode) << round;
  EXPECT_EQ(fast.progress.progressSteps, bytes.progress.progressSteps) << round;
}

TEST(ObjReaderPaths, QuickWaysLoadWhatTheBytePathLoads) {
  std::mt19937 random(1234);
  int loadedModels = 0;
  for (int round = 0; round < 60; ++round) {
    const std::string text = randomObjText(random, 20 + random() % 400);
    Loaded bytes;
    load(text, false, ObjLineReader::kMinimumChunkSize, bytes);
    for (std::size_t chunkSize :
         {ObjLineReader::kMinimumChunkSize, ObjLineReader::kDefaultChunkSize}) {
      Loaded fast;
      load(text, true, chunkSize, fast);
      expectSameModel(fast, bytes, round);
      if (HasFatalFailure()) return;
    }
    loadedModels += bytes.outcome == ObjReadOutcome::Read;
  }
  // Most texts have facets and vertices, so the comparison covers full loads.
  EXPECT_GT(loadedModels, 40);
}

// Facet and vertex lines right at the 1023-character cut, with every kind of
// line end and with a trailing blank, read the same both ways.
TEST(ObjReaderPaths, LinesAtTheCutLoadWhatTheBytePathLoads) {
  const std::string_view ends[] = {"\n", "\r\n", "\r", " \n", "", std::string_view("\0", 1)};
  int round = 0;
  for (std::size_t length = 1018; length <= 1026; ++length) {
    for (std::string_view end : ends) {
      for (const char* keyword : {"f ", "v "}) {
        std::string line = keyword;
        while (line.size() < length) line += "1 ";
        line.resize(length);
        if (line.back() == ' ') line.back() = '2';
        const std::string text = "v 0 0 0\nv 1 1 1\nf 1 2 1\n" + line + std::string(end) +
                                 (end.empty() ? "" : "f 2 1 2\n");
        Loaded bytes, fast;
        load(text, false, ObjLineReader::kMinimumChunkSize, bytes);
        load(text, true, ObjLineReader::kMinimumChunkSize, fast);
        expectSameModel(fast, bytes, ++round);
        if (HasFatalFailure()) return;
      }
    }
  }
  // A line of exactly 1023 characters is cut before its line end, which then
  // reads as an empty line of its own; that line only shows in the progress
  // steps (one per 256 lines), so comment lines shift the count past every
  // step boundary.
  for (const char* keyword : {"f ", "v "}) {
    std::string cutLine = keyword;
    while (cutLine.size() < 1023) cutLine += "1 ";
    cutLine.resize(1023);
    cutLine.back() = '2';
    for (int comments = 0; comments < 256; ++comments) {
      std::string text = "v 0 0 0\nv 1 1 1\n";
      for (int c = 0; c < comments; ++c) text += "#\n";
      text += cutLine + "\nf 2 1 2\n";
      Loaded bytes, fast;
      load(text, false, ObjLineReader::kMinimumChunkSize, bytes);
      load(text, true, ObjLineReader::kMinimumChunkSize, fast);
      expectSameModel(fast, bytes, comments);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace corvina
