// Feeds arbitrary bytes to the background picture's loader: any input must
// give a picture or a refusal, never a crash, a hang or an allocation the
// bytes do not justify. A picture that loads is flipped both ways and back.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "editor/background/background_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvina::background::BackgroundPicture background;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!background.loadBytes(bytes)) {
    if (background.hasPicture()) std::abort();
    return 0;
  }
  const QImage before = background.picture();
  background.flipVertically();
  background.flipVertically();
  if (background.flipHorizontally() == corvina::background::FlipOutcome::Flipped)
    background.flipHorizontally();
  if (background.picture() != before) std::abort();
  return 0;
}
