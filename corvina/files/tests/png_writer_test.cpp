// The PNG writer: Pillow reads back every pixel it was given; sizes outside
// the range and folders that cannot be written are refused without a file.

#include "files/png_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "testing/external_tools.h"
#include "testing/file_bytes.h"
#include "testing/scratch_folder.h"

namespace corvina {
namespace {

using testing::ScratchFolder;

// Random pixels, kept to compare with what is read back.
class RandomRows : public PngRowSource {
 public:
  RandomRows(int width, int height, unsigned seed)
      : width_(width), pixels_(static_cast<std::size_t>(width) * height * 4) {
    std::mt19937 random(seed);
    for (std::uint8_t& byte : pixels_) byte = static_cast<std::uint8_t>(random());
  }
  bool row(int row, std::uint8_t* rgba) override {
    const std::size_t size = static_cast<std::size_t>(width_) * 4;
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(size * row), size, rgba);
    ++rowsAsked;
    return true;
  }
  std::string hex() const {
    std::ostringstream out;
    for (std::uint8_t byte : pixels_)
      out << "0123456789abcdef"[byte >> 4] << "0123456789abcdef"[byte & 15];
    return out.str();
  }
  int rowsAsked = 0;

 private:
  int width_;
  std::vector<std::uint8_t> pixels_;
};

class FailingRows : public PngRowSource {
 public:
  bool row(int row, std::uint8_t*) override { return row < 2; }
};

TEST(PngWriterTest, PillowReadsEveryPixel) {
  const std::string python = testing::pythonWithPillow();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL (Debian python3-pil)";
  ScratchFolder folder;
  const std::string script = folder.write("read_png.py",
                                          "import sys\n"
                                          "from PIL import Image\n"
                                          "im = Image.open(sys.argv[1])\n"
                                          "im.load()\n"
                                          "print(im.format, im.mode, im.size[0], im.size[1])\n"
                                          "print(im.tobytes().hex())\n");
  struct Case {
    int width, height;
  };
  const Case cases[] = {{1, 1}, {3, 2}, {17, 5}, {300, 7}, {64, 200}};
  unsigned seed = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
    RandomRows rows(c.width, c.height, seed++);
    const std::string path = folder.path("picture.png");
    ASSERT_EQ(writePngFile(path, c.width, c.height, rows), PngWriteOutcome::Written);
    EXPECT_EQ(rows.rowsAsked, c.height);
    const std::string out = testing::commandOutput(python + " " + script + " " + path);
    EXPECT_EQ(out, "PNG RGBA " + std::to_string(c.width) + " " + std::to_string(c.height) + "\n" +
                       rows.hex() + "\n");
  }
}

TEST(PngWriterTest, RefusalsLeaveNoFileAndKeepTheOldOne) {
  ScratchFolder folder;
  struct Case {
    const char* what;
    int width, height;
    bool failingRows;
    std::string path;
    PngWriteOutcome expected;
  };
  const Case cases[] = {
      {"no width", 0, 5, false, folder.path("a.png"), PngWriteOutcome::NotAPicture},
      {"too high", 4, kLargestPngSide + 1, false, folder.path("a.png"),
       PngWriteOutcome::NotAPicture},
      {"no such folder", 4, 4, false, folder.path("missing/a.png"), PngWriteOutcome::CannotOpen},
      {"a row cannot be made", 4, 4, true, folder.path("a.png"), PngWriteOutcome::WriteFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RandomRows rows(std::max(1, c.width), 1, 1);
    FailingRows failing;
    PngRowSource& source = c.failingRows ? static_cast<PngRowSource&>(failing) : rows;
    EXPECT_EQ(writePngFile(c.path, c.width, c.height, source), c.expected);
    EXPECT_FALSE(std::filesystem::exists(c.path));
  }
  // A failed write leaves the file that was there.
  folder.write("old.png", "old bytes");
  FailingRows failing;
  EXPECT_EQ(writePngFile(folder.path("old.png"), 4, 4, failing), PngWriteOutcome::WriteFailed);
  EXPECT_EQ(folder.read("old.png"), "old bytes");
}

}  // namespace
}  // namespace corvina
