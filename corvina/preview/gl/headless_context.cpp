#include "preview/gl/headless_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "preview/gl/gl_api.h"

namespace corvina::preview {

namespace {

EGLDisplay openDisplay() {
  // Mesa's surfaceless platform needs neither a window system nor a GPU.
  const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay != nullptr) {
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) return display;
  }
  EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) return display;
  return EGL_NO_DISPLAY;
}

}  // namespace

bool openGlTurnedOff() {
  const char* value = std::getenv("CORVINA_NO_OPENGL");
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

bool HeadlessContext::create(std::string& error) {
  if (openGlTurnedOff()) {
    error = "OpenGL is turned off (CORVINA_NO_OPENGL)";
    return false;
  }
  EGLDisplay display = openDisplay();
  if (display == EGL_NO_DISPLAY) {
    error = "no EGL display";
    return false;
  }
  display_ = display;
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error = "EGL offers no desktop OpenGL";
    return false;
  }
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglChooseConfig(display, configAttributes, &config, 1, &configs)) configs = 0;
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                      3,
                                      EGL_CONTEXT_MINOR_VERSION,
                                      3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  EGLContext context = eglCreateContext(display, configs > 0 ? config : EGL_NO_CONFIG_KHR,
                                        EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) {
    error = "no OpenGL 3.3 core context";
    return false;
  }
  context_ = context;
  // Drawing goes to a framebuffer object; the context needs no surface.
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    error = "the OpenGL context cannot be made current";
    return false;
  }
  return true;
}

HeadlessContext::~HeadlessContext() {
  if (display_ == nullptr) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_ != nullptr) eglDestroyContext(display_, context_);
  // The display stays initialised: it is one per process, the next context
  // reuses it, and terminating it would unload the driver (whose own
  // allocations then lose their names in leak reports).
  eglReleaseThread();
}

bool OffscreenTarget::create(int width, int height, std::string& error) {
  width_ = width;
  height_ = height;
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glGenRenderbuffers(1, &color_);
  glBindRenderbuffer(GL_RENDERBUFFER, color_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    error = "no framebuffer of that size";
    return false;
  }
  return true;
}

bool OffscreenTarget::readRgba(std::uint8_t* rgba) const {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  const std::size_t rowBytes = static_cast<std::size_t>(width_) * 4;
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  if (glGetError() != GL_NO_ERROR) return false;
  // OpenGL's rows run from the bottom up.
  std::vector<std::uint8_t> swap(rowBytes);
  for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
    std::uint8_t* a = rgba + static_cast<std::size_t>(top) * rowBytes;
    std::uint8_t* b = rgba + static_cast<std::size_t>(bottom) * rowBytes;
    std::memcpy(swap.data(), a, rowBytes);
    std::memcpy(a, b, rowBytes);
    std::memcpy(b, swap.data(), rowBytes);
  }
  return true;
}

OffscreenTarget::~OffscreenTarget() {
  if (framebuffer_ == 0) return;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &framebuffer_);
  const GLuint buffers[2] = {color_, depth_};
  glDeleteRenderbuffers(2, buffers);
}

}  // namespace corvina::preview
