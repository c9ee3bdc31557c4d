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

}  // namespace

bool BackgroundPicture::load(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  if (file.size() > kMaxFileBytes) return false;
  const QByteArray bytes = file.read(kMaxFileBytes);
  if (file.error() != QFileDevice::NoError) return false;
  return loadBytes(bytes);
}

bool BackgroundPicture::loadBytes(const QByteArray& bytes) {
  const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  const std::optional<BmpHeaderFacts> facts = checkBmpHeader(view);
  if (!facts) return false;
  if (facts->compression == kRunLength8 || facts->compression == kRunLength4) {
    QImage picture = decodeRunLengthPicture(view, *facts);
    if (picture.isNull()) return false;
    return keep(std::move(picture), facts->bitsPerPixel);
  }
  QByteArray data = bytes;  // QBuffer wants a non-const array; the copy shares
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::ReadOnly)) return false;
  QImageReader reader(&buffer, "bmp");
  reader.setAutoTransform(false);
  const int previousLimit = QImageReader::allocationLimit();
  QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
  QImage picture = reader.read();
  QImageReader::setAllocationLimit(previousLimit);
  if (picture.isNull() || picture.width() != facts->width || picture.height() != facts->height)
    return false;
  return keep(std::move(picture), facts->bitsPerPixel);
}

bool BackgroundPicture::keep(QImage picture, int bitsPerPixel) {
  picture_ = std::move(picture);
  bitsPerPixel_ = bitsPerPixel;
  displayOn_ = true;
  return true;
}

void BackgroundPicture::clear() {
  picture_ = QImage();
  bitsPerPixel_ = 0;
}

FlipOutcome BackgroundPicture::flipHorizontally() {
  if (bitsPerPixel_ < 8) return FlipOutcome::TooFewColours;
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
