// The SVG writer: the exact text of a small picture, names escaped so that
// any bytes make well-formed XML, and atomic writes.

#include "files/svg_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testing/external_tools.h"
#include "testing/scratch_folder.h"

namespace corvina {
namespace {

using testing::ScratchFolder;

TEST(SvgWriterTest, TextOfASmallPicture) {
  SvgPicture picture;
  picture.width = 64;
  picture.height = 32;
  picture.strokeWidth = 1.5;
  SvgGroup body{"body", 255, 0, 0, {0, 0, 10.25, 0, 10.25, 31.9999}, {3}};
  SvgGroup wheel{"wheel <2>", 0, 0, 127, {1, 2, 3, 4, 5, 6, -0.0001, 8}, {3, 1}};
  picture.groups = {body, wheel};
  EXPECT_EQ(svgText(picture),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"32\" "
            "viewBox=\"0 0 64 32\">\n"
            "<g id=\"set-0\" data-name=\"body\" fill=\"none\" stroke=\"#ff0000\" "
            "stroke-width=\"1.5\" stroke-linejoin=\"round\">\n"
            "<title>body</title>\n"
            "<polygon points=\"0,0 10.25,0 10.25,32\"/>\n"
            "</g>\n"
            "<g id=\"set-1\" data-name=\"wheel &lt;2&gt;\" fill=\"none\" stroke=\"#00007f\" "
            "stroke-width=\"1.5\" stroke-linejoin=\"round\">\n"
            "<title>wheel &lt;2&gt;</title>\n"
            "<polygon points=\"1,2 3,4 5,6\"/>\n"
            "<polygon points=\"0,8\"/>\n"
            "</g>\n"
            "</svg>\n");
}

TEST(SvgWriterTest, NamesBecomeValidXmlText) {
  struct Case {
    std::string name, escaped;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"a&b \"c\" 'd'", "a&amp;b &quot;c&quot; &apos;d&apos;"},
      {"tab\tand\x01 bell\x7f", "tab and  bell "},
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {"bad \xC3 end", "bad \xEF\xBF\xBD end"},
      {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) EXPECT_EQ(xmlEscaped(c.name), c.escaped) << c.name;
}

TEST(SvgWriterTest, PythonParsesAnyNames) {
  ScratchFolder folder;
  SvgPicture picture;
  std::string every;
  for (int byte = 1; byte < 256; ++byte) every += static_cast<char>(byte);
  picture.groups = {SvgGroup{every, 1, 2, 3, {0, 0, 1, 1, 2, 0}, {3}},
                    SvgGroup{"\xFF\xFE<&>", 4, 5, 6, {}, {}}};
  ASSERT_EQ(writeSvgFile(folder.path("names.svg"), picture), SvgWriteOutcome::Written);
  const std::string script = folder.write(
      "count.py",
      "import sys, xml.etree.ElementTree as ET\n"
      "ns = {'s': 'http://www.w3.org/2000/svg'}\n"
      "root = ET.parse(sys.argv[1]).getroot()\n"
      "groups = root.findall('s:g', ns)\n"
      "print(len(groups), len(root.findall('.//s:polygon', ns)), groups[1].get('data-name'))\n");
  EXPECT_EQ(testing::commandOutput("python3 " + script + " " + folder.path("names.svg")),
            "2 1 \xEF\xBF\xBD\xEF\xBF\xBD<&>\n");
}

TEST(SvgWriterTest, AFolderThatCannotBeWrittenLeavesNoFile) {
  ScratchFolder folder;
  EXPECT_EQ(writeSvgFile(folder.path("missing/a.svg"), SvgPicture{}), SvgWriteOutcome::CannotOpen);
  EXPECT_FALSE(std::filesystem::exists(folder.path("missing")));
}

}  // namespace
}  // namespace corvina
