// The line reader: line ends, the 1023-character cut, backslashes and blank
// normalisation, checked on both its in-place and its byte-by-byte path and
// across chunk boundaries; and statement recognition on the lines it gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/obj_line_reader.h"
#include "files/obj_line_statement.h"

namespace corvina {
namespace {

std::vector<std::string> readAll(const std::string& bytes, std::size_t chunkSize, bool fastPath) {
  ObjMemorySource source(bytes);
  ObjLineReader reader(source, chunkSize, fastPath);
  std::vector<std::string> lines;
  ObjLine line;
  while (reader.next(line)) lines.emplace_back(line.text);
  return lines;
}

struct LineCase {
  const char* name;
  std::string input;
  std::vector<std::string> expected;
};

std::string repeat(char c, std::size_t n) {
  return std::string(n, c);
}

TEST(ObjLineReader, SplitsAndNormalisesLines) {
  using namespace std::string_literals;
  const std::vector<LineCase> cases = {
      {"empty input has no line", "", {}},
      {"lone line feed is one empty line", "\n", {""}},
      {"last line without line feed", "v 1 2 3\nf 1 2 3", {"v 1 2 3", "f 1 2 3"}},
      {"CR LF is one line end", "a b\r\nc\r\n", {"a b", "c"}},
      {"CR alone ends a line", "a\rb\r\rc", {"a", "b", "", "c"}},
      {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"NUL ends a line", "a b\0c\n"s, {"a b", "c"}},
      {"blanks normalised", " \t v\t 1  2 \t3 \t \n", {"v 1 2 3"}},
      {"one trailing space dropped", "f 1 2 \n", {"f 1 2"}},
      {"line of blanks is empty", "  \t \nx", {"", "x"}},
      {"backslash joins lines", "f 1 2 \\\n3 4\n", {"f 1 2 3 4"}},
      {"backslash skips CR LF and blank lines", "ab\\\r\n\r\n\ncd\n", {"abcd"}},
      {"backslash keeps the next character", "a\\bc\\\\d\n", {"abc\\d"}},
      {"backslash at the end of input", "abc\\", {"abc"}},
      {"backslash then NUL then text", "a\\\0b\n"s, {"ab"}},
      {"escaped blank still a blank", "a\\ \\ b\n", {"a b"}},
      {"backslash-only input", "\\\n", {""}},
      {"1022 characters and LF", repeat('x', 1022) + "\ny", {repeat('x', 1022), "y"}},
      {"1023 characters leave the LF as an empty line",
       repeat('x', 1023) + "\ny",
       {repeat('x', 1023), "", "y"}},
      {"longer line cut at 1023", repeat('x', 1030) + "\n", {repeat('x', 1023), repeat('x', 7)}},
      {"cut counts blanks before normalising",
       repeat(' ', 1000) + "f " + repeat('1', 30) + "\n",
       {"f " + repeat('1', 21), repeat('1', 9)}},
  };
  for (const LineCase& c : cases) {
    for (bool fastPath : {true, false}) {
      for (std::size_t chunk :
           {ObjLineReader::kMinimumChunkSize, ObjLineReader::kDefaultChunkSize}) {
        EXPECT_EQ(readAll(c.input, chunk, fastPath), c.expected)
            << c.name << (fastPath ? " (fast path)" : " (byte path)") << " chunk " << chunk;
      }
    }
  }
}

TEST(ObjLineReader, CountsWords) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"f 1 2 3", 4}, {"  f\t1  2 ", 3}, {"   ", 0}, {"single", 1}, {"a\\\nb c", 2}};
  for (const auto& [input, words] : cases) {
    const auto lines = readAll(input, ObjLineReader::kMinimumChunkSize, true);
    ASSERT_EQ(lines.size(), 1u) << input;
    EXPECT_EQ(countObjWords(lines[0]), words) << input;
  }
}

// Random text built from the bytes that matter, long enough to cross many
// chunk boundaries: the in-place path must split exactly as the byte path.
TEST(ObjLineReader, FastPathMatchesBytePathOnRandomText) {
  const std::string alphabet("ab1/- \t\\\n\r\0", 11);
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    std::string input;
    const std::size_t size = 3000 + random() % 9000;
    // Some rounds make long runs of one byte to hit the 1023 cut.
    const bool longRuns = round % 3 == 0;
    while (input.size() < size) {
      const char c = alphabet[random() % alphabet.size()];
      input.append(longRuns ? 1 + random() % 1500 : 1 + random() % 3, c);
    }
    const auto bytePath = readAll(input, ObjLineReader::kMinimumChunkSize, false);
    EXPECT_EQ(readAll(input, ObjLineReader::kMinimumChunkSize, true), bytePath) << round;
    EXPECT_EQ(readAll(input, ObjLineReader::kDefaultChunkSize, true), bytePath) << round;
  }
}

// Bytes in memory whose size the reader is not told, as a file's.
class UnsizedSource : public ObjMemorySource {
 public:
  using ObjMemorySource::ObjMemorySource;
  std::optional<std::size_t> knownSize() const override { return std::nullopt; }
};

// A reader over bytes in memory smaller than its chunk holds just those bytes
// (a load reads a file's last chunk so when it lacks a final line end), and
// splits them as a reader that does not know their size, after a rewind too.
TEST(ObjLineReader, HoldsNoMoreThanAnInputInMemoryNeeds) {
  std::mt19937 random(11);
  const std::string alphabet("v f1/ \t\\\n\r\0", 11);
  for (std::size_t size : {0, 1, 40, 1500, 2046, 2047, 2048, 2049, 5000}) {
    std::string input;
    while (input.size() < size) input += alphabet[random() % alphabet.size()];
    for (std::size_t asked :
         {std::size_t{1}, ObjLineReader::kMinimumChunkSize, ObjLineReader::kDefaultChunkSize}) {
      UnsizedSource unsized(input);
      ObjLineReader expected(unsized, asked, true);
      ObjMemorySource source(input);
      ObjLineReader reader(source, asked, true);
      const std::size_t chunk = std::max(asked, ObjLineReader::kMinimumChunkSize);
      if (size < chunk) {
        EXPECT_LE(reader.heldBytes(), size + 2) << size << " in chunks of " << asked;
      } else {
        EXPECT_LE(reader.heldBytes(), chunk + 1) << size << " in chunks of " << asked;
      }
      for (int reading = 0; reading < 2; ++reading) {
        ASSERT_TRUE(reader.rewind() && expected.rewind());
        ObjLine line, expectedLine;
        bool more = true;
        while (more) {
          more = expected.next(expectedLine);
          ASSERT_EQ(reader.next(line), more) << size << " in chunks of " << asked;
          if (more) {
            EXPECT_EQ(line.text, expectedLine.text);
          }
        }
      }
    }
  }
}

TEST(ObjStatementRecognition, MatchesKeywordsIgnoringCase) {
  struct Case {
    const char* line;
    ObjStatement kind;
    std::size_t argumentStart;
  };
  const Case cases[] = {
      {"v 1 2 3", ObjStatement::Vertex, 2},
      {"V 1 2 3", ObjStatement::Vertex, 2},
      {"vt 0 1", ObjStatement::TexVertex, 3},
      {"VN 0 0 1", ObjStatement::Normal, 3},
      {"f 1 2 3", ObjStatement::Facet, 2},
      {"FO 1 2 3", ObjStatement::Facet, 3},
      {"f", ObjStatement::Other, 0},
      {"fx 1", ObjStatement::Other, 0},
      {"g arm left", ObjStatement::Group, 2},
      {"G Arm", ObjStatement::Group, 2},
      {"usemtl red", ObjStatement::Material, 7},
      {"UseMtl red", ObjStatement::Material, 7},
      {"usemtl", ObjStatement::Other, 0},
      {"# r front", ObjStatement::Region, 4},
      {"# R front", ObjStatement::Region, 4},
      {"#r front", ObjStatement::Comment, 0},
      {"# x/y/color/ppu 1/2/3/4", ObjStatement::MapSettings, 16},
      {"# X/Y/COLOR/PPU 1/2/3/4", ObjStatement::MapSettings, 16},
      {"#", ObjStatement::Comment, 0},
      {"s 1", ObjStatement::ShapeLine, 0},
      {"L 1 2", ObjStatement::ShapeLine, 0},
      {"s", ObjStatement::Other, 0},
      {"mtllib a.mtl", ObjStatement::Other, 0},
      {"", ObjStatement::Other, 0},
  };
  for (const Case& c : cases) {
    const ObjStatementMatch match = classifyObjLine(c.line);
    EXPECT_EQ(match.kind, c.kind) << c.line;
    EXPECT_EQ(match.argumentStart, c.argumentStart) << c.line;
  }
}

}  // namespace
}  // namespace corvina
