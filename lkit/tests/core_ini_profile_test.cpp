// The INI layer must give the bytes the platform's profile functions give
// when every call writes through to the file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_profile.h"
#include "tests/temp_tree.h"

namespace lkit {
namespace {

struct Write {
  const char* section;
  const char* key;
  const char* value;
};

struct WriteCase {
  const char* name;
  const char* startText;
  std::vector<Write> writes;
  const char* expectedText;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, GivesTheBytesOfWriteThrough) {
  const WriteCase& c = GetParam();
  IniProfile profile = IniProfile::parse(c.startText);
  for (const Write& w : c.writes) EXPECT_TRUE(profile.write(w.section, w.key, w.value));
  EXPECT_EQ(profile.text(), c.expectedText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWriteTest,
    ::testing::Values(
        WriteCase{"NewFile", "", {{"A", "k", "v"}}, "[A]\r\nk=v\r\n"},
        WriteCase{"EmptyValue", "", {{"A", "k", ""}}, "[A]\r\nk=\r\n"},
        WriteCase{"SectionsInCreationOrder",
                  "",
                  {{"B", "1", "x"}, {"A", "1", "y"}, {"B", "2", "z"}},
                  "[B]\r\n1=x\r\n2=z\r\n[A]\r\n1=y\r\n"},
        WriteCase{"ReplaceInPlaceKeepsPosition",
                  "",
                  {{"A", "k", "1"}, {"A", "m", "2"}, {"A", "k", "3"}},
                  "[A]\r\nk=3\r\nm=2\r\n"},
        WriteCase{"CaseInsensitiveSectionAndKey",
                  "",
                  {{"Misc", "Name", "a"}, {"MISC", "name", "b"}},
                  "[Misc]\r\nName=b\r\n"},
        WriteCase{"ExistingFileWithLfEnds",
                  "[Misc]\nName = old\n; note\n[Flags]\nSort=0\n",
                  {{"misc", "NAME", "new"}, {"Flags", "AutoOrg", "1"}, {"Extra", "x", "y"}},
                  "[Misc]\r\nName =new\r\n; note\r\n[Flags]\r\nSort=0\r\nAutoOrg=1\r\n"
                  "[Extra]\r\nx=y\r\n"},
        WriteCase{"CrOnlyLineEnds", "[A]\rk=1\r", {{"A", "j", "2"}}, "[A]\r\nk=1\r\nj=2\r\n"},
        WriteCase{
            "SectionNameWithBracket", "", {{"Files - a]b", "0", "x"}}, "[Files - a]b]\r\n0=x\r\n"},
        WriteCase{"ByteOrderMarkKept",
                  "\xEF\xBB\xBF[A]\r\nk=1\r\n",
                  {{"A", "k", "2"}},
                  "\xEF\xBB\xBF[A]\r\nk=2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  std::size_t bufferSize;
  const char* expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsLikeTheProfileReader) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(IniProfile::parse(c.text).read(c.section, c.key, "-", c.bufferSize), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadTest,
    ::testing::Values(ReadCase{"Present", "[A]\r\nk=v\r\n", "A", "k", 128, "v"},
                      ReadCase{"MissingKeyGivesDefault", "[A]\r\nk=v\r\n", "A", "j", 128, "-"},
                      ReadCase{"MissingSectionGivesDefault", "[A]\r\nk=v\r\n", "B", "k", 128, "-"},
                      ReadCase{"EmptyValueIsNotMissing", "[A]\r\nk=\r\n", "A", "k", 128, ""},
                      ReadCase{"BlanksTrimmed", "[A]\r\n  k  =  v w \t\r\n", "a", "K", 128, "v w"},
                      ReadCase{"BufferCut", "[A]\r\nk=abcdef\r\n", "A", "k", 4, "abc"},
                      ReadCase{"DefaultCutToo", "", "A", "k", 1, ""},
                      ReadCase{"FirstOfDuplicateKeys", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", 128, "1"},
                      ReadCase{"ValueMayHoldEquals", "[A]\r\nk=a=b\r\n", "A", "k", 128, "a=b"},
                      ReadCase{"SectionsMerge", "[A]\r\nk=1\r\n[B]\r\nx=2\r\n", "A", "k", 128, "1"},
                      ReadCase{"KeysBeforeAnySectionAreNotFound", "k=1\r\n", "", "k", 128, "-"},
                      ReadCase{"UnclosedHeaderIsAPlainLine", "[A\r\nk=1\r\n", "A", "k", 128, "-"},
                      ReadCase{"ByteOrderMarkBeforeFirstHeader", "\xEF\xBB\xBF[Misc]\r\nName=x\r\n",
                               "misc", "name", 128, "x"},
                      ReadCase{"ByteOrderMarkOnlyAtTheStart", "[A]\r\n\xEF\xBB\xBF[B]\r\nk=1\r\n",
                               "B", "k", 128, "-"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniProfile, Keeps127CharactersOf200) {
  std::string longValue(200, 'q');
  IniProfile profile;
  profile.write("A", "k", longValue);
  EXPECT_EQ(profile.read("A", "k", "-", 128), std::string(127, 'q'));
}

TEST(IniProfile, RefusesWritesThatWouldBreakTheFile) {
  IniProfile profile;
  EXPECT_FALSE(profile.write("A", "k", "two\nlines"));
  EXPECT_FALSE(profile.write("A\r", "k", "v"));
  EXPECT_FALSE(profile.write("A", "k=j", "v"));
  EXPECT_FALSE(profile.write("", "k", "v"));
  EXPECT_EQ(profile.text(), "");
}

TEST(IniProfile, SavesAtomicallyAndLoadsBack) {
  testing::TempTree tree;
  std::string path = tree.path("x.ini");
  EXPECT_EQ(IniProfile::load(path).text(), "");  // a missing file reads as empty
  IniProfile profile;
  profile.write("S", "k", "v");
  ASSERT_TRUE(profile.save(path));
  EXPECT_EQ(testing::readFile(path), "[S]\r\nk=v\r\n");
  EXPECT_EQ(IniProfile::load(path).read("s", "K", "-", 128), "v");
  EXPECT_FALSE(profile.save(tree.path("no/such/folder/x.ini")));
}

TEST(IniProfile, ArbitraryBytesParseAndRoundTripKeyLines) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919) % 256);
  IniProfile profile = IniProfile::parse(noise);
  IniProfile again = IniProfile::parse(profile.text());
  EXPECT_EQ(again.text(), profile.text());
}

}  // namespace
}  // namespace lkit
