#include "editor/background/background_picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <span>

#include "editor/background/bmp_header.h"

namespace corvina::background {

namespace {

// The image reader may allocate at most this many megabytes for a picture;
// the header check already keeps pictures far below it.
constexpr int kAllocationLimitMegabytes = 512;
// A file bigger than the largest picture it could describe, plus slack for
// headers and palettes, is not read into memory at all.
constexpr qint64 kMaxFileBytes = kMaxBackgroundPixels * 4 + (1 << 20);

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
  picture_ = std::move(picture);
  bitsPerPixel_ = facts->bitsPerPixel;
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
