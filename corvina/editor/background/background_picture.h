#pragma once
// The picture under the texture map, as loaded, mirrored on request, shown or
// hidden by its display switch. A BMP is checked here first and read at any
// depth Qt's reader takes (run-length encoded ones are decoded here); every
// other format Qt's image plugins read (PNG, JPEG, TGA, WebP, TIFF, ...) comes
// through them under the same limits. It belongs to the view, not to the
// model, and is never saved.

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
  // Reads a picture file. On success the picture replaces the old one and the
  // display is switched on; on failure (unreadable, no format Qt reads, a BMP
  // header that lies, too many pixels) nothing changes and false is returned.
  // A file named ".bmp" or starting with a BMP's "BM" is read as a BMP only.
  bool load(const std::string& path);
  // The same from a file's bytes; `namedBmp`: the file's name ends in ".bmp".
  bool loadBytes(const QByteArray& bytes, bool namedBmp = false);

  bool hasPicture() const { return !picture_.isNull(); }
  bool displayOn() const { return displayOn_; }
  // The commands that change the picture act only on one that is shown.
  bool shownAndLoaded() const { return displayOn_ && hasPicture(); }

  // The picture to draw: nullptr when there is none or the display is off.
  const QImage* shown() const { return shownAndLoaded() ? &picture_ : nullptr; }
  const QImage& picture() const { return picture_; }
  // The depth the file itself declared (0 without a picture); for the formats
  // other than BMP the depth of the picture as read.
  int bitsPerPixel() const { return bitsPerPixel_; }
  bool isBmp() const { return bmp_; }

  void clear();
  void toggleDisplay() { displayOn_ = !displayOn_; }
  // Mirrors every row (pixels keep their bytes in order); refused for a BMP
  // below 8 bits per pixel.
  FlipOutcome flipHorizontally();
  // Reverses the order of the rows; works at every depth.
  FlipOutcome flipVertically();

 private:
  bool loadBmp(const QByteArray& bytes);
  bool loadThroughPlugins(const QByteArray& bytes);
  // Takes a loaded picture in place of the old one and shows it.
  bool keep(QImage picture, int bitsPerPixel, bool bmp);

  QImage picture_;
  int bitsPerPixel_ = 0;
  bool bmp_ = false;
  bool displayOn_ = true;
};

}  // namespace corvina::background
