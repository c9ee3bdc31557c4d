// Feeds arbitrary bytes to the background picture's loader (BMP by our own
// checks, the other formats through Qt's image plugins): any input must give a
// picture or a refusal, never a crash, a hang or an allocation the bytes do
// not justify. A picture that loads is flipped both ways and back,
// and a run-length encoded one must name a colour with every pixel.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "editor/background/background_picture.h"
#include "editor/background/bmp_header.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool indexed(const QImage& picture) {
  return picture.format() == QImage::Format_Mono || picture.format() == QImage::Format_MonoLSB ||
         picture.format() == QImage::Format_Indexed8;
}

// Whether two pictures hold the same pixels. QImage's own comparison looks
// every index of an indexed picture up in its colour table, which reads past
// the table when a file's pixels index beyond its colours; here indices are
// compared as they are, and colours as stored bytes.
bool samePicture(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.format() != b.format() || a.colorTable() != b.colorTable())
    return false;
  if (a.depth() >= 8) {
    const auto rowBytes = static_cast<std::size_t>(a.width()) * (a.depth() / 8);
    for (int y = 0; y < a.height(); ++y)
      if (std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes) != 0) return false;
    return true;
  }
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixelIndex(x, y) != b.pixelIndex(x, y)) return false;
  return true;
}

// A run-length encoded file's picture: one byte per pixel, a colour table of
// the depth's full size, so no pixel indexes past it.
void checkRunLengthPicture(const QImage& picture, int bitsPerPixel) {
  check(picture.format() == QImage::Format_Indexed8);
  check(picture.colorCount() == 1 << bitsPerPixel);
  for (int y = 0; y < picture.height(); ++y) {
    const uchar* row = picture.constScanLine(y);
    for (int x = 0; x < picture.width(); ++x) check(row[x] < picture.colorCount());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvina::background::BackgroundPicture background;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!background.loadBytes(bytes)) {
    check(!background.hasPicture());
    return 0;
  }
  const QImage& loaded = background.picture();
  check(static_cast<std::int64_t>(loaded.width()) * loaded.height() <=
        corvina::background::kMaxBackgroundPixels);
  // A BMP is read only after its header checks out; the other formats come
  // through Qt's plugins.
  check(background.isBmp() == bytes.startsWith("BM"));
  if (background.isBmp()) {
    const auto facts = corvina::background::checkBmpHeader(std::span(data, size));
    check(facts.has_value());
    if (facts->compression == corvina::background::kRunLength8 ||
        facts->compression == corvina::background::kRunLength4)
      checkRunLengthPicture(background.picture(), facts->bitsPerPixel);
  }
  const QImage before = background.picture();
  check(indexed(before) || before.depth() >= 8);
  background.flipVertically();
  background.flipVertically();
  if (background.flipHorizontally() == corvina::background::FlipOutcome::Flipped)
    background.flipHorizontally();
  check(samePicture(background.picture(), before));
  return 0;
}
