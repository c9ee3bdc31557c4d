#pragma once
// OpenGL 3.3 core entry points, called directly: the library of the GL
// dispatcher routes each call to whichever context is current, whether Qt
// made it for a widget or EGL made it without a window.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
