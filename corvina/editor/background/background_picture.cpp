#include "editor/background/background_picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QList>
#include <algorithm>
#include <span>
#include <vector>

#include "editor/background/bmp_header.h"
#include "editor/background/bmp_run_length.h"

namespace corvina::background {

namespace {

// The image reader may allocate at most this many megabytes for a picture;
// the header check already keeps pictures far below it.
constexpr int kAllocationLimitMegabytes = 512;
// A file bigger than the largest picture it could describe, plus slack for
// headers and palettes, is not read into memory at all.
constexpr qint64 kMaxFileBytes = kMaxBackgroundPixels * 4 + (1 << 20);

// A run-length encoded picture, decoded here rather than by the image reader
// so that pixels the codes skip are defined: they take colour 0. The colour
// table is padded with black to the depth's full size, so every index the
// codes can give names a colour.
QImage decodeRunLengthPicture(std::span<const std::uint8_t> file, const BmpHeaderFacts& facts) {
  if (static_cast<std::int64_t>(facts.width) * facts.height >
      std::int64_t{kAllocationLimitMegabytes} << 20)
    return QImage();
  QImage picture(facts.width, facts.height, QImage::Format_Indexed8);
  if (picture.isNull()) return picture;
  QList<QRgb> colours(1 << facts.bitsPerPixel, qRgb(0, 0, 0));
  for (int i = 0; i < facts.paletteEntries; ++i) {
    const std::size_t at =
        facts.paletteOffset + static_cast<std::size_t>(i) * facts.paletteEntrySize;
    colours[i] = qRgb(file[at + 2], file[at + 1], file[at]);  // stored blue, green, red
  }
  picture.setColorTable(colours);
  const std::vector<std::uint8_t> indices =
      decodeRunLength(file.subspan(facts.pixelOffset), facts.width, facts.height,
                      facts.bitsPerPixel, facts.topDown);
  for (int y = 0; y < facts.height; ++y)
    std::copy_n(indices.begin() + static_cast<std::ptrdiff_t>(y) * facts.width, facts.width,
                picture.scanLine(y));
  return picture;
}

// Reads the picture `reader` offers under the allocation limit.
QImage readUnderLimit(QImageReader& reader) {
  reader.setAutoTransform(false);
  const int previousLimit = QImageReader::allocationLimit();
  QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
  QImage picture = reader.read();
  QImageReader::setAllocationLimit(previousLimit);
  return picture;
}

bool tooManyPixels(QSize size) {
  return static_cast<std::int64_t>(size.width()) * size.height() > kMaxBackgroundPixels;
}

// An indexed picture whose colour table is shorter than its depth allows gets
// black for the missing colours, so every pixel names a colour.
void padColourTable(QImage& picture) {
  if (picture.depth() > 8 || picture.colorCount() == 0) return;
  const int full = 1 << picture.depth();
  if (picture.colorCount() >= full) return;
  QList<QRgb> colours = picture.colorTable();
  colours.resize(full, qRgb(0, 0, 0));
  picture.setColorTable(colours);
}

// The picture in `bytes` as the plugin of `format` reads it ("" lets the
// plugins tell the format by the bytes), or a null picture. BMP is never read
// here: it comes only through the checks above.
QImage readThroughPlugin(const QByteArray& bytes, const QByteArray& format) {
  QByteArray data = bytes;  // QBuffer wants a non-const array; the copy shares
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::ReadOnly)) return QImage();
  QImageReader reader(&buffer, format);
  const QByteArray found = reader.format();
  if (found.isEmpty() || found == "bmp" || found == "dib") return QImage();
  // A size the header announces is refused before any pixel memory is asked
  // for; the allocation limit covers readers that cannot tell it first.
  const QSize announced = reader.size();
  if (announced.isValid() && tooManyPixels(announced)) return QImage();
  QImage picture = readUnderLimit(reader);
  if (picture.isNull() || tooManyPixels(picture.size())) return QImage();
  return picture;
}

}  // namespace

bool BackgroundPicture::load(const std::string& path) {
  const QString name = QString::fromStdString(path);
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return false;
  if (file.size() > kMaxFileBytes) return false;
  const QByteArray bytes = file.read(kMaxFileBytes);
  if (file.error() != QFileDevice::NoError) return false;
  return loadBytes(bytes, name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive));
}

bool BackgroundPicture::loadBytes(const QByteArray& bytes, bool namedBmp) {
  if (namedBmp || bytes.startsWith("BM")) return loadBmp(bytes);
  return loadThroughPlugins(bytes);
}

bool BackgroundPicture::loadBmp(const QByteArray& bytes) {
  const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  const std::optional<BmpHeaderFacts> facts = checkBmpHeader(view);
  if (!facts) return false;
  if (facts->compression == kRunLength8 || facts->compression == kRunLength4) {
    QImage picture = decodeRunLengthPicture(view, *facts);
    if (picture.isNull()) return false;
    return keep(std::move(picture), facts->bitsPerPixel, true);
  }
  QByteArray data = bytes;  // QBuffer wants a non-const array; the copy shares
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::ReadOnly)) return false;
  QImageReader reader(&buffer, "bmp");
  QImage picture = readUnderLimit(reader);
  if (picture.isNull() || picture.width() != facts->width || picture.height() != facts->height)
    return false;
  return keep(std::move(picture), facts->bitsPerPixel, true);
}

bool BackgroundPicture::loadThroughPlugins(const QByteArray& bytes) {
  QImage picture = readThroughPlugin(bytes, QByteArray());
  // A TGA has no signature at its start, and its commonest header looks like a
  // cursor's to the plugins' guess: it is tried by name when the guess fails.
  if (picture.isNull()) picture = readThroughPlugin(bytes, "tga");
  if (picture.isNull()) return false;
  padColourTable(picture);
  const int depth = picture.depth();
  return keep(std::move(picture), depth, false);
}

bool BackgroundPicture::keep(QImage picture, int bitsPerPixel, bool bmp) {
  picture_ = std::move(picture);
  bitsPerPixel_ = bitsPerPixel;
  bmp_ = bmp;
  displayOn_ = true;
  return true;
}

void BackgroundPicture::clear() {
  picture_ = QImage();
  bitsPerPixel_ = 0;
  bmp_ = false;
}

FlipOutcome BackgroundPicture::flipHorizontally() {
  if (bmp_ && bitsPerPixel_ < 8) return FlipOutcome::TooFewColours;
  QImage mirrored = picture_.mirrored(true, false);
  if (mirrored.isNull()) return FlipOutcome::Failed;
  picture_ = std::move(mirrored);
  return FlipOutcome::Flipped;
}

FlipOutcome BackgroundPicture::flipVertically() {
  QImage mirrored = picture_.mirrored(false, true);
  if (mirrored.isNull()) return FlipOutcome::Failed;
  picture_ = std::move(mirrored);
  return FlipOutcome::Flipped;
}

}  // namespace corvina::background
