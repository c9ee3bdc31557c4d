#pragma once
// An OpenGL 3.3 core context without a window or display, made through EGL
// (Mesa's surfaceless platform first, then the default display), for
// drawing the preview into a picture from corvina-cli and the benchmarks.
// Setting CORVINA_NO_OPENGL in the environment makes every attempt fail, as
// on a machine without OpenGL.

#include <cstdint>
#include <string>

namespace corvina::preview {

// Whether CORVINA_NO_OPENGL asks the program to behave as if no OpenGL
// context could be made.
bool openGlTurnedOff();

class HeadlessContext {
 public:
  HeadlessContext() = default;
  ~HeadlessContext();
  HeadlessContext(const HeadlessContext&) = delete;
  HeadlessContext& operator=(const HeadlessContext&) = delete;

  // Makes the context and makes it current on this thread; false with
  // `error` saying why not.
  bool create(std::string& error);

 private:
  void* display_ = nullptr;
  void* context_ = nullptr;
};

// A colour and depth target of width x height pixels to draw into with the
// context current; readRgba() gives its pixels with rows from the top.
class OffscreenTarget {
 public:
  OffscreenTarget() = default;
  ~OffscreenTarget();
  OffscreenTarget(const OffscreenTarget&) = delete;
  OffscreenTarget& operator=(const OffscreenTarget&) = delete;

  bool create(int width, int height, std::string& error);
  unsigned framebuffer() const { return framebuffer_; }
  // 4 bytes a pixel, width * height pixels, top row first.
  bool readRgba(std::uint8_t* rgba) const;

 private:
  int width_ = 0, height_ = 0;
  unsigned framebuffer_ = 0, color_ = 0, depth_ = 0;
};

}  // namespace corvina::preview
