// The three passes on small OBJ texts: counts, the facet stream with its
// resolved indices (before the texture vertices are expanded), set tables and
// the check that counts fit the store.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/obj_reader_passes.h"
#include "files/obj_reader_sets.h"
#include "model/model_store.h"
#include "testing/counting_progress.h"

namespace corvina {
namespace {

// Runs count, parse and index over `text`; the store is as the reader leaves
// it before the statistics and the expansion.
bool readPasses(const std::string& text, ModelStore& store) {
  ObjMemorySource source(text);
  ObjLineReader reader(source);
  ObjCounts counts;
  if (!countObjStatements(reader, counts) || !objCountsFitStore(counts)) return false;
  setStoreCounts(counts, store);
  if (!allocateModel(store)) return false;
  testing::CountingProgress ui;
  ObjLoadProgress progress(ui);
  ObjMapSettings settings;
  return reader.rewind() && parseObjElements(reader, store, progress, settings) &&
         reader.rewind() && indexObjFacets(reader, store, progress);
}

// "|" for a separator, "v/t/n" for a corner, "$" for the end of the list.
std::string streamText(const ModelStore& store) {
  std::string text;
  for (const CornerRecord& r : store.facetStream) {
    if (!text.empty()) text += ' ';
    if (r.vertex == kSeparator) {
      text += '|';
    } else if (r.vertex == kEndOfList) {
      text += '$';
    } else {
      text += std::to_string(r.vertex) + '/' + std::to_string(r.texVertex) + '/' +
              std::to_string(r.normal);
    }
  }
  return text;
}

const std::string kThreeVertices = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

TEST(ObjReaderPasses, BuildsTheFacetStream) {
  struct Case {
    const char* name;
    std::string text;
    std::string stream;
    int facets;
  };
  const Case cases[] = {
      {"f, fo and upper case", kThreeVertices + "f 1 2 3\nfo 3 2 1\nF 1 3 2\n",
       "| 1/0/0 2/0/0 3/0/0 | 3/0/0 2/0/0 1/0/0 | 1/0/0 3/0/0 2/0/0 $", 3},
      {"relative indices", kThreeVertices + "f -3 -2 -1\n", "| 1/0/0 2/0/0 3/0/0 $", 1},
      {"relative to the lines before the facet", "v 0 0 0\nv 1 0 0\nf -1 -2\nv 1 1 0\nf -1 -3\n",
       "| 2/0/0 1/0/0 | 3/0/0 1/0/0 $", 2},
      {"relative before the first vertex splits", kThreeVertices + "f -1 -4 -2\n",
       "| 3/0/0 | 2/0/0 $", 2},
      {"vertex and normal", kThreeVertices + "vn 0 0 1\nvn 0 1 0\nf 1//1 2//2 3//-1\n",
       "| 1/0/1 2/0/2 3/0/2 $", 1},
      {"vertex and texture", kThreeVertices + "vt 0 0\nvt 1 1\nf 1/2 2/1 3/-2\n",
       "| 1/2/0 2/1/0 3/1/0 $", 1},
      {"all three", kThreeVertices + "vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n",
       "| 1/1/1 2/1/1 3/1/1 $", 1},
      {"index beyond the count", kThreeVertices + "vt 0 0\nf 1/9 2/1 4/1 3\n",
       "| 1/0/0 2/1/0 | 3/0/0 $", 2},
      {"plus sign reads as zero", kThreeVertices + "f 1 +2 3\n", "| 1/0/0 | 3/0/0 $", 2},
      {"huge index", kThreeVertices + "f 1 -99999999999999999999 4294967298 3\n",
       "| 1/0/0 | | 3/0/0 $", 3},
      {"rest of a token skipped", kThreeVertices + "vn 0 0 1\nf 1x/5 2/x/1 3/0/1q\n",
       "| 1/0/0 2/0/0 3/0/1 $", 1},
      {"blanks and tabs", kThreeVertices + "\t f \t1   2\t3  \n", "| 1/0/0 2/0/0 3/0/0 $", 1},
      {"continued facet line", kThreeVertices + "f 1 2 \\\n 3\n", "| 1/0/0 2/0/0 3/0/0 $", 1},
      {"CR line ends", "v 0 0 0\rv 1 0 0\rv 0 1 0\rf 1 2 3\r", "| 1/0/0 2/0/0 3/0/0 $", 1},
      {"CR LF line ends, no final line end", "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nf 1 2 3",
       "| 1/0/0 2/0/0 3/0/0 $", 1},
  };
  for (const Case& c : cases) {
    ModelStore store;
    ASSERT_TRUE(readPasses(c.text, store)) << c.name;
    EXPECT_EQ(streamText(store), c.stream) << c.name;
    EXPECT_EQ(store.numFacets, c.facets) << c.name;
    EXPECT_EQ(store.facetStream.size(), static_cast<std::size_t>(store.numCornerRecords)) << c.name;
  }
}

TEST(ObjReaderPasses, CutsAFacetLineAt1023Characters) {
  // "f" and 600 corners of two characters each: 511 fit in 1023 characters,
  // the other 89 form a line of their own that is no statement.
  std::string facet = "f";
  for (int i = 0; i < 600; ++i) facet += " 1";
  ModelStore store;
  ASSERT_TRUE(readPasses(kThreeVertices + facet + "\nf 1 2 3\n", store));
  EXPECT_EQ(store.numFacets, 2);
  EXPECT_EQ(store.numCornerRecords, 1 + 511 + 1 + 3 + 1);
  EXPECT_EQ(store.facetStream[512].vertex, kSeparator);
  EXPECT_EQ(store.facetStream[513].vertex, 1);
}

TEST(ObjReaderPasses, ReadsElementsAndMissingComponents) {
  ModelStore store;
  ASSERT_TRUE(
      readPasses("v 1.5 -2 3e1\nV\t4  5\nv x 1 2\nvt 0.25 0.75 9\nVT 1\nvn 0 0 -1\n"
                 "f 1 2 3\n",
                 store));
  ASSERT_EQ(store.numVerts, 3);
  EXPECT_EQ(store.vertices[0].x, 1.5f);
  EXPECT_EQ(store.vertices[0].y, -2.0f);
  EXPECT_EQ(store.vertices[0].z, 30.0f);
  EXPECT_EQ(store.vertices[1].x, 4.0f);
  EXPECT_EQ(store.vertices[1].y, 5.0f);
  EXPECT_EQ(store.vertices[1].z, 0.0f);
  EXPECT_EQ(store.vertices[2].x, 0.0f);  // nothing after a component that does not read
  EXPECT_EQ(store.vertices[2].y, 0.0f);
  ASSERT_EQ(store.numTVerts, 2);
  EXPECT_EQ(store.texVertices[0].u, 0.25f);
  EXPECT_EQ(store.texVertices[0].v, 0.75f);
  EXPECT_EQ(store.texVertices[1].u, 1.0f);
  EXPECT_EQ(store.texVertices[1].v, 0.0f);
  ASSERT_EQ(store.numVNormals, 1);
  EXPECT_EQ(store.normals[0].z, -1.0f);
}

TEST(ObjReaderPasses, FillsSetTablesWithSentinels) {
  // Three statements, two distinct names; the facet after the split counts.
  ModelStore store;
  ASSERT_TRUE(readPasses(kThreeVertices +
                             "f 1 2 3\ng a\nf 1 2 3\ng b\nf 1 2 9 3\ng a\nf 1 2 3\nusemtl M\n"
                             "# r front\n# r Front\n",
                         store));
  ASSERT_EQ(store.numGroupStatements, 3);
  EXPECT_EQ(store.numGroups, 2);
  EXPECT_STREQ(store.groups[0].name, "a");
  EXPECT_STREQ(store.groups[1].name, "b");
  const int firstFacets[] = {1, 2, 4, 18};
  const int setIndices[] = {0, 1, 0};
  for (int s = 0; s < 4; ++s) EXPECT_EQ(store.groups[s].firstFacet, firstFacets[s]) << s;
  for (int s = 0; s < 3; ++s) EXPECT_EQ(store.groups[s].setIndex, setIndices[s]) << s;
  EXPECT_EQ(store.numCornerRecords, 18);
  EXPECT_EQ(store.numFacets, 5);
  EXPECT_EQ(store.numMaterials, 1);
  EXPECT_EQ(store.materials[0].firstFacet, 5);
  EXPECT_EQ(store.materials[1].firstFacet, 18);
  EXPECT_EQ(store.numRegions, 2);
  EXPECT_STREQ(store.regions[1].name, "Front");
}

// Names are numbered in order of first appearance and compared after the cut
// to 95 characters, however many there are: a few are looked up in the table,
// more through a map made once they pass that few.
TEST(ObjSetTableBuilder, NumbersNamesByFirstAppearanceUpToManyNames) {
  const std::string longName(120, 'n');
  for (int distinct : {1, 15, 16, 17, 40}) {
    // Each name appears, then every name so far is named again.
    std::vector<std::string> named;
    for (int i = 0; i < distinct; ++i) {
      // Names alike in their first bytes, one the prefix of another, and long
      // names that differ only after the cut.
      named.push_back(i % 3 == 0   ? std::string(static_cast<std::size_t>(1 + i / 3), 'a')
                      : i % 3 == 1 ? "m" + std::to_string(i)
                                   : longName + std::to_string(i));
      for (int j = 0; j <= i; j += 2) named.push_back(named[static_cast<std::size_t>(j)]);
    }
    std::vector<std::string> cut;  // distinct names after the cut, in order
    std::vector<int> expected;     // each statement's name index
    for (const std::string& name : named) {
      const std::string kept = name.substr(0, kSetNameSize - 1);
      auto found = std::find(cut.begin(), cut.end(), kept);
      if (found == cut.end()) found = cut.insert(cut.end(), kept);
      expected.push_back(static_cast<int>(found - cut.begin()));
    }
    std::vector<SetRecord> table(named.size() + 1);
    ObjSetTableBuilder builder(table);
    for (std::size_t s = 0; s < named.size(); ++s) {
      ASSERT_TRUE(builder.record(named[s], static_cast<int>(s)));
    }
    EXPECT_FALSE(builder.record("a", 0)) << "a table has no room beyond its statements";
    EXPECT_EQ(builder.distinctNames(), static_cast<int>(cut.size())) << distinct;
    EXPECT_EQ(builder.statements(), static_cast<int>(named.size()));
    for (std::size_t n = 0; n < cut.size(); ++n) {
      EXPECT_EQ(std::string(table[n].name), cut[n]) << distinct << " names, name " << n;
    }
    for (std::size_t s = 0; s < named.size(); ++s) {
      EXPECT_EQ(table[s].setIndex, expected[s]) << distinct << " names, statement " << s;
      EXPECT_EQ(table[s].firstFacet, static_cast<int>(s));
    }
  }
}

TEST(ObjReaderPasses, CountsFitTheStoreOnlyBelow32Bits) {
  const std::int64_t largest = kLargestStoreCount;
  struct Case {
    const char* name;
    ObjCounts counts;
    bool fits;
  };
  auto with = [](auto set) {
    ObjCounts counts;
    counts.vertices = counts.facets = 1;
    counts.cornerRecords = 3;
    set(counts);
    return counts;
  };
  const Case cases[] = {
      {"small", with([](ObjCounts&) {}), true},
      {"largest corner records", with([&](ObjCounts& c) { c.cornerRecords = largest; }), true},
      {"one corner record more", with([&](ObjCounts& c) { c.cornerRecords = largest + 1; }), false},
      {"group table entry over", with([&](ObjCounts& c) { c.groupStatements = largest; }), false},
      {"region table fits", with([&](ObjCounts& c) { c.regionStatements = largest - 1; }), true},
      {"vertices over", with([&](ObjCounts& c) { c.vertices = largest + 1; }), false},
      {"normals over", with([&](ObjCounts& c) { c.normals = std::int64_t{1} << 40; }), false},
      {"shape lines over", with([&](ObjCounts& c) { c.shapeLines = largest + 1; }), false},
  };
  for (const Case& c : cases) EXPECT_EQ(objCountsFitStore(c.counts), c.fits) << c.name;
}

}  // namespace
}  // namespace corvina
