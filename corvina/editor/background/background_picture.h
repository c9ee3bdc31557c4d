#pragma once
// The picture under the texture map: one BMP as loaded (any depth Qt's reader
// takes; run-length encoded ones are decoded here), mirrored on request, shown
// or hidden by its display switch. It belongs to the view, not to the model,
// and is never saved.

#include <QByteArray>
#include <QImage>
#include <string>

namespace corvina::background {

enum class FlipOutcome {
  Flipped,
  TooFewColours,  // below 8 bits per pixel the horizontal flip is refused
  Failed,         // no memory for the mirrored rows: nothing changed
};

class BackgroundPicture {
 public:
  // Reads a BMP file. On success the picture replaces the old one and the
  // display is switched on; on failure (unreadable, not a BMP, a header that
  // lies) nothing changes and false is returned.
  bool load(const std::string& path);
  bool loadBytes(const QByteArray& bytes);

  bool hasPicture() const { return !picture_.isNull(); }
  bool displayOn() const { return displayOn_; }
  // The commands that change the picture act only on one that is shown.
  bool shownAndLoaded() const { return displayOn_ && hasPicture(); }

  // The picture to draw: nullptr when there is none or the display is off.
  const QImage* shown() const { return shownAndLoaded() ? &picture_ : nullptr; }
  const QImage& picture() const { return picture_; }
  // The depth the file itself declared (0 without a picture).
  int bitsPerPixel() const { return bitsPerPixel_; }

  void clear();
  void toggleDisplay() { displayOn_ = !displayOn_; }
  // Mirrors every row (pixels keep their bytes in order); refused below 8
  // bits per pixel.
  FlipOutcome flipHorizontally();
  // Reverses the order of the rows; works at every depth.
  FlipOutcome flipVertically();

 private:
  // Takes a loaded picture in place of the old one and shows it.
  bool keep(QImage picture, int bitsPerPixel);

  QImage picture_;
  int bitsPerPixel_ = 0;
  bool displayOn_ = true;
};

}  // namespace corvina::background
