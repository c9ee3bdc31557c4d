// The reader on chunks of the file, on any number of threads, must load
// exactly what the earlier sequential reader (kept in reference_obj_reader.h)
// loads from the same bytes: the same outcome, the same store to the byte and
// the same progress. The texts are built to put chunk borders in awkward
// places: inside comments and continued lines, between CR and LF, after NULs,
// at the 1023-character cut, with relative indices that reach back across
// borders.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "files/obj_line_reader.h"
#include "files/obj_reader.h"
#include "files/obj_reader_chunks.h"
#include "files/tests/reference_obj_reader.h"
#include "testing/counting_progress.h"
#include "testing/scratch_folder.h"

namespace corvina {
namespace {

using namespace std::literals;

std::string randomNumber(std::mt19937& random) {
  const char* const numbers[] = {"1",     "-1", "0.5", "-2.250000", "1e3", "+4",     "7x", "",
                                 "12345", "-0", ".5",  "0.25",      "1.0", "1.0001", "nan"};
  return numbers[random() % std::size(numbers)];
}

// One corner token, mostly small positive or negative indices so that many
// resolve and relative ones reach back over earlier lines.
std::string randomCorner(std::mt19937& random) {
  auto index = [&] {
    const int kind = static_cast<int>(random() % 10);
    if (kind < 5) return std::to_string(1 + random() % 40);
    if (kind < 9) return "-" + std::to_string(1 + random() % 40);
    return std::string(random() % 2 ? "0" : "+3");
  };
  switch (random() % 5) {
    case 0:
      return index();
    case 1:
      return index() + "/" + index();
    case 2:
      return index() + "//" + index();
    default:
      return index() + "/" + index() + "/" + index();
  }
}

std::string randomName(std::mt19937& random) {
  const char* const names[] = {"a", "b", "A", "arm left", "arm\tleft", "x\\y", "c"};
  std::string name = names[random() % std::size(names)];
  // Now and then a name longer than the table keeps.
  if (random() % 20 == 0) name += std::string(100 + random() % 40, 'n');
  return name;
}

// One statement of a random kind, without its line end.
std::string randomStatement(std::mt19937& random) {
  const char* const blanks[] = {" ", " ", " ", "  ", "\t", " \t"};
  auto blank = [&] { return std::string(blanks[random() % std::size(blanks)]); };
  auto words = [&](const char* keyword, std::size_t count, bool corners) {
    std::string text = keyword;
    for (std::size_t w = 0; w < count; ++w) {
      if (w > 0) text += blank();
      text += corners ? randomCorner(random) : randomNumber(random);
      if (random() % 60 == 0) text += '\\';
    }
    return text;
  };
  switch (random() % 24) {
    case 0:
    case 1:
    case 2:
      return words(random() % 8 ? "v " : "V ", 3, false);
    case 3:
    case 4:
      return words("vt ", 2 + random() % 2, false);
    case 5:
      return words("vn ", 3, false);
    case 6:
    case 7:
    case 8:
    case 9:
      return words(random() % 6 ? "f " : (random() % 2 ? "fo " : "F "), 1 + random() % 5, true);
    case 10:
      // A facet line longer than the 1023-character cut.
      return words("f ", 150 + random() % 300, true);
    case 11:
      return (random() % 2 ? "g " : "G ") + randomName(random);
    case 12:
      return "usemtl " + randomName(random);
    case 13:
      return "# r " + randomName(random);
    case 14: {
      const char* const settings[] = {"0/512/2/50", "256/128/1/20.5", "9000/1/4/0.5",
                                      "64/64/3/10000", "1/2/3"};
      return std::string("# x/y/color/ppu ") + settings[random() % std::size(settings)];
    }
    case 15:
      return (random() % 2 ? "s " : "l ") + std::to_string(random() % 9);
    case 16:
      // A comment that goes on over continued lines and holds line-like text.
      return "# comment \\\nf 1 2 3 \\\r\nv 1 1 1";
    case 17:
      return "#f 1 2 3";
    case 18:
      return std::string(1200 + random() % 2000, '#');
    case 19:
      return blank() + words("f ", 3, true);
    case 20:
      return "mtllib x.mtl";
    case 21:
      return "f";
    case 22:
      return "\\\\";
    default:
      return "";
  }
}

std::string randomObjText(std::mt19937& random, std::size_t lines) {
  const std::string_view ends[] = {
      "\n",   "\n",     "\n",  "\r\n",   "\r\n",     "\r",    std::string_view("\0", 1),
      "\\\n", "\\\r\n", " \n", "\\\\\n", "\\\n\\\n", "\r\r\n"};
  std::string text;
  // Elements first, so that most texts load and relative indices resolve.
  for (int i = 0; i < 8; ++i) text += "v 1 2 3\nvt 0.5 0.5\nvn 0 0 1\n";
  for (std::size_t i = 0; i < lines; ++i) {
    text += randomStatement(random);
    text += ends[random() % std::size(ends)];
  }
  // Half the texts end without a final line end.
  if (random() % 2 == 0) text += "f -1 -2 -3";
  return text;
}

struct Loaded {
  ObjReadOutcome outcome = ObjReadOutcome::CannotOpen;
  ModelStore store;
  testing::CountingProgress progress;
};

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool sameVertices(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::memcmp(&a[i].x, &b[i].x, 3 * sizeof(float)) != 0 || a[i].mark != b[i].mark) {
      return false;
    }
  }
  return true;
}

void expectSameLoad(const Loaded& ours, const Loaded& reference, const std::string& trace) {
  SCOPED_TRACE(trace);
  ASSERT_EQ(ours.outcome, reference.outcome);
  const ModelStore& a = ours.store;
  const ModelStore& b = reference.store;
  EXPECT_TRUE(sameVertices(a.vertices, b.vertices));
  EXPECT_TRUE(sameVertices(a.baseVertices, b.baseVertices));
  EXPECT_TRUE(sameBytes(a.texVertices, b.texVertices));
  EXPECT_TRUE(sameBytes(a.normals, b.normals));
  EXPECT_TRUE(sameBytes(a.facetStream, b.facetStream));
  EXPECT_TRUE(sameBytes(a.groups, b.groups));
  EXPECT_TRUE(sameBytes(a.materials, b.materials));
  EXPECT_TRUE(sameBytes(a.regions, b.regions));
  EXPECT_TRUE(sameBytes(a.shapeLines, b.shapeLines));
  const int countsA[] = {a.numVerts,
                         a.numTVerts,
                         a.numVNormals,
                         a.numFacets,
                         a.numCornerRecords,
                         a.numGroups,
                         a.numMaterials,
                         a.numRegions,
                         a.numGroupStatements,
                         a.numMaterialStatements,
                         a.numRegionStatements,
                         a.numShapeLines,
                         a.modelLoaded,
                         a.texVerticesExpanded,
                         a.mapWidth,
                         a.mapHeight,
                         a.colorMode};
  const int countsB[] = {b.numVerts,
                         b.numTVerts,
                         b.numVNormals,
                         b.numFacets,
                         b.numCornerRecords,
                         b.numGroups,
                         b.numMaterials,
                         b.numRegions,
                         b.numGroupStatements,
                         b.numMaterialStatements,
                         b.numRegionStatements,
                         b.numShapeLines,
                         b.modelLoaded,
                         b.texVerticesExpanded,
                         b.mapWidth,
                         b.mapHeight,
                         b.colorMode};
  for (std::size_t i = 0; i < std::size(countsA); ++i) EXPECT_EQ(countsA[i], countsB[i]) << i;
  EXPECT_EQ(a.pixelsPerUnit, b.pixelsPerUnit);
  EXPECT_EQ(ours.progress.progressBegun, reference.progress.progressBegun);
  EXPECT_EQ(ours.progress.progressSteps, reference.progress.progressSteps);
  EXPECT_EQ(ours.progress.progressEnded, reference.progress.progressEnded);
  EXPECT_EQ(ours.progress.lastRange, reference.progress.lastRange);
}

void loadReference(const std::string& text, Loaded& result) {
  ObjMemorySource source(text);
  result.outcome = reference::readObjFile(result.store, source, result.progress);
  // The reference left the set indices to the load's next step; the reader
  // assigns them itself.
  if (result.outcome == ObjReadOutcome::Read) assignSetIndices(result.store);
}

void loadOnThreads(const std::string& text, int threads, bool fastPath, Loaded& result) {
  ObjMemorySource source(text);
  ObjReadOptions options;
  options.threads = threads;
  options.fastPath = fastPath;
  options.chunkSize = ObjLineReader::kMinimumChunkSize;
  // Chunks as small as the text allows, so that small texts are cut too.
  options.minimumChunkBytes = 1;
  result.outcome = readObjFile(result.store, source, result.progress, options);
}

TEST(ObjReaderThreads, RandomAwkwardTextsLoadAsTheSequentialReaderLoadsThem) {
  std::mt19937 random(20261209);
  int loaded = 0;
  for (int round = 0; round < 80; ++round) {
    const std::string text = randomObjText(random, 20 + random() % 300);
    Loaded reference;
    loadReference(text, reference);
    loaded += reference.outcome == ObjReadOutcome::Read;
    for (int threads : {1, 2, 3, 8}) {
      for (bool fastPath : {true, false}) {
        Loaded ours;
        loadOnThreads(text, threads, fastPath, ours);
        expectSameLoad(ours, reference,
                       "round " + std::to_string(round) + ", " + std::to_string(threads) +
                           " threads" + (fastPath ? "" : ", byte path"));
        if (HasFatalFailure()) return;
      }
    }
  }
  // Most texts have facets and vertices, so the comparison covers full loads.
  EXPECT_GT(loaded, 60);
}

// Files loaded one after another, longer and shorter ones, on one and two
// threads: each loads exactly what its own bytes say.
TEST(ObjReaderThreads, FilesReadOneAfterAnotherLoadTheirOwnBytes) {
  std::mt19937 random(20261210);
  testing::ScratchFolder folder;
  const std::string texts[] = {randomObjText(random, 400), randomObjText(random, 40),
                               randomObjText(random, 40) + "\nf 1 2 3 4 5 6", "",
                               randomObjText(random, 600)};
  int round = 0;
  for (const std::string& text : texts) {
    const std::string path = folder.write("model" + std::to_string(round) + ".obj", text);
    Loaded reference;
    loadReference(text, reference);
    for (int threads : {1, 2}) {
      ObjReadOptions options;
      options.threads = threads;
      options.minimumChunkBytes = 1;
      Loaded ours;
      ours.outcome = readObjFile(ours.store, path, ours.progress, options);
      expectSameLoad(ours, reference,
                     "file " + std::to_string(round) + ", " + std::to_string(threads) + " threads");
      if (HasFatalFailure()) return;
    }
    ++round;
  }
}

// Every pass hands its chunks to the runner the options name, which runs them
// in its own way (the fuzz target keeps its threads); the load is the same.
std::vector<std::size_t> passChunkCounts;

void countingRunner(std::size_t count, const std::function<void(std::size_t)>& work,
                    const std::function<void()>& whileWaiting) {
  passChunkCounts.push_back(count);
  // Last chunk first, on this thread.
  for (std::size_t k = count; k-- > 0;) work(k);
  if (whileWaiting) whileWaiting();
}

TEST(ObjReaderThreads, PassesRunTheirChunksThroughTheGivenRunner) {
  std::mt19937 random(20261211);
  const std::string text = randomObjText(random, 300);
  Loaded reference;
  loadReference(text, reference);
  ASSERT_EQ(reference.outcome, ObjReadOutcome::Read);
  for (int threads : {1, 3}) {
    passChunkCounts.clear();
    ObjMemorySource source(text);
    ObjReadOptions options;
    options.threads = threads;
    options.minimumChunkBytes = 1;
    options.runChunks = countingRunner;
    Loaded ours;
    ours.outcome = readObjFile(ours.store, source, ours.progress, options);
    expectSameLoad(ours, reference, std::to_string(threads) + " threads");
    const std::vector<std::size_t> expected(3, static_cast<std::size_t>(threads));
    EXPECT_EQ(passChunkCounts, expected);
  }
}

// Texts whose every byte position is tried as a chunk border: two threads on
// a text whose first chunk is made to end at each position in turn.
TEST(ObjReaderThreads, EveryBorderPositionOfSmallTextsLoadsTheSame) {
  const std::string texts[] = {
      "v 0 0 0\r\nv 1 0 0\rv 0 1 0\nf 1 2 3\r\n# r a\\\nf -1 -2 -3\ng b\r\rf 1 2 3",
      "v 1 1 1\nv 2 2 2\0v 3 3 3\\\r\n f -3 -2\\\\\n-1\nusemtl m\ns 1\nf 1 2 3\n"s,
      "# x/y/color/ppu 64/64/1/2\nv 0 0 0\nvt 2 2\nv 1 1 1\nf 1/1 2/-1 -1/1\n"
      "l 1 2\n# x/y/color/ppu 0/0/3/0\ng g\\\n\\\nx\nf 2 1 2\n",
  };
  int round = 0;
  for (const std::string& text : texts) {
    Loaded reference;
    loadReference(text, reference);
    ASSERT_EQ(reference.outcome, ObjReadOutcome::Read);
    for (std::size_t minimum = 1; minimum < text.size(); ++minimum) {
      ObjMemorySource source(text);
      ObjReadOptions options;
      options.threads = 2;
      options.minimumChunkBytes = minimum;
      Loaded ours;
      ours.outcome = readObjFile(ours.store, source, ours.progress, options);
      expectSameLoad(ours, reference,
                     "text " + std::to_string(round) + ", border after " + std::to_string(minimum));
      if (HasFatalFailure()) return;
    }
    ++round;
  }
}

std::vector<std::string> linesOf(std::string_view bytes) {
  ObjMemorySource source(bytes);
  ObjLineReader reader(source, ObjLineReader::kMinimumChunkSize, false);
  std::vector<std::string> lines;
  ObjLine line;
  while (reader.next(line)) lines.emplace_back(line.text);
  return lines;
}

std::vector<std::string> linesInPlace(std::string_view bytes, bool fastPath) {
  ObjLineReader reader(bytes, fastPath);
  std::vector<std::string> lines;
  ObjLine line;
  while (reader.next(line)) lines.emplace_back(line.text);
  return lines;
}

// Wherever a line is said to start, reading the text in two parts there gives
// the lines of reading it whole; and the chunks of a split are the text.
TEST(ObjReaderThreads, ChunkBordersFallWhereLinesStart) {
  std::mt19937 random(77);
  int borders = 0;
  for (int round = 0; round < 40; ++round) {
    const std::string text = randomObjText(random, 10 + random() % 40);
    const std::vector<std::string> whole = linesOf(text);
    for (std::size_t p = 0; p < text.size(); ++p) {
      if (!objLineStartsAt(text, p)) continue;
      ++borders;
      std::vector<std::string> parts = linesOf(std::string_view(text).substr(0, p));
      const std::vector<std::string> rest = linesOf(std::string_view(text).substr(p));
      // The part before a border, read in place, gives the same lines.
      const std::string_view before = std::string_view(text).substr(0, p);
      if (objChunkEndsItsLines(before)) {
        for (bool fastPath : {true, false}) {
          ASSERT_EQ(linesInPlace(before, fastPath), parts) << "round " << round << ", " << p;
        }
      }
      parts.insert(parts.end(), rest.begin(), rest.end());
      ASSERT_EQ(parts, whole) << "round " << round << ", border " << p;
    }
    for (std::size_t parts : {1u, 2u, 3u, 8u, 1000u}) {
      const std::vector<std::string_view> chunks = splitObjInput(text, parts, 1);
      ASSERT_FALSE(chunks.empty());
      EXPECT_LE(chunks.size(), parts);
      std::string joined;
      for (std::string_view chunk : chunks) {
        EXPECT_TRUE(objLineStartsAt(text, joined.size()));
        joined += chunk;
      }
      EXPECT_EQ(joined, text);
    }
  }
  EXPECT_GT(borders, 1000);
  // No border between a CR and its LF, after an escaping backslash, or at
  // the text's end.
  const struct {
    std::string_view text;
    std::size_t position;
    bool starts;
  } cases[] = {{"a\nb", 2, true},      {"a\r\nb", 2, false},  {"a\r\nb", 3, true},
               {"a\rb", 2, true},      {"a\\\nb", 3, false},  {"\\\\\nb", 3, false},
               {"a\n\nb", 3, false},   {"a\nb", 3, false},    {"a\0\nb"sv, 3, false},
               {"a\\\r\nb", 4, false}, {"a\r\r\nb", 4, false}};
  EXPECT_FALSE(objChunkEndsItsLines("a\\\n"));
  EXPECT_FALSE(objChunkEndsItsLines("a\n\n"));
  EXPECT_FALSE(objChunkEndsItsLines("f 1 2 3"));
  EXPECT_TRUE(objChunkEndsItsLines("f 1 2 3\r"));
  for (const auto& c : cases) {
    EXPECT_EQ(objLineStartsAt(c.text, c.position), c.starts) << c.text << " " << c.position;
    // A chunk ending just before a line start ends its lines.
    if (c.starts) {
      EXPECT_TRUE(objChunkEndsItsLines(c.text.substr(0, c.position))) << c.text;
    }
  }
}

}  // namespace
}  // namespace corvina
