#include "preview/gl/preview_renderer.h"

#include <cstring>
#include <vector>

#include "editor/texture_map_raster.h"
#include "preview/gl/gl_api.h"
#include "preview/preview_colors.h"

namespace corvina::preview {

namespace {

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;
layout(location = 3) in uint flags;
uniform mat4 view;
uniform mat4 projection;
out vec3 viewNormal;
out vec2 uv;
out float selected;
out float hidden;
out float noUv;
flat out uint setIndex;
void main() {
  viewNormal = mat3(view) * normal;
  uv = texCoord;
  selected = float(flags & 1u);
  hidden = float((flags >> 1) & 1u);
  noUv = float((flags >> 2) & 1u);
  setIndex = (flags >> 8) & 255u;
  gl_Position = projection * view * vec4(position, 1.0);
}
)";

// The light sits at the eye, so a surface's brightness is how squarely it
// faces the viewer, from either side.
constexpr const char* kFragmentShader = R"(#version 330 core
in vec3 viewNormal;
in vec2 uv;
in float selected;
in float hidden;
in float noUv;
flat in uint setIndex;
uniform int flatSets;
uniform sampler2D picture;
uniform vec3 palette[14];
uniform vec3 background;
uniform vec3 noUvColor;
uniform vec3 highlight;
uniform float highlightWeight;
uniform float hiddenWeight;
out vec4 color;
void main() {
  // The sets' palette starts with black, lifted to a dark grey so the
  // shading still shows the shape.
  vec3 base = texture(picture, vec2(uv.x, 1.0 - uv.y)).rgb;
  if (flatSets != 0) {
    base = palette[min(setIndex, 13u)];
    if (all(equal(base, vec3(0.0)))) base = vec3(0.2);
  }
  base = mix(base, noUvColor, noUv);
  base = mix(base, highlight, selected * highlightWeight);
  float facing = length(viewNormal) > 0.0 ? abs(normalize(viewNormal).z) : 1.0;
  vec3 lit = base * (0.3 + 0.7 * facing);
  color = vec4(mix(background, lit, mix(1.0, hiddenWeight, hidden)), 1.0);
}
)";

unsigned compile(GLenum kind, const char* source, std::string& error) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[1024] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  error = std::string("shader: ") + log;
  glDeleteShader(shader);
  return 0;
}

void setColor(GLuint program, const char* name, const Rgb& c) {
  glUniform3f(glGetUniformLocation(program, name), c.red / 255.0f, c.green / 255.0f,
              c.blue / 255.0f);
}

template <class T>
bool sameContents(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

template <class T>
std::size_t upload(GLenum target, GLuint buffer, const std::vector<T>& data) {
  const std::size_t bytes = data.size() * sizeof(T);
  glBindBuffer(target, buffer);
  glBufferData(target, static_cast<GLsizeiptr>(bytes), data.empty() ? nullptr : data.data(),
               GL_STATIC_DRAW);
  return bytes;
}

}  // namespace

bool PreviewRenderer::initialize(std::string& error) {
  if (ready_) return true;
  const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader, error);
  if (vertex == 0) return false;
  const GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentShader, error);
  if (fragment == 0) {
    glDeleteShader(vertex);
    return false;
  }
  program_ = glCreateProgram();
  glAttachShader(program_, vertex);
  glAttachShader(program_, fragment);
  glLinkProgram(program_);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint linked = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  if (!linked) {
    error = "the preview's shaders do not link";
    glDeleteProgram(program_);
    program_ = 0;
    return false;
  }

  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  GLuint buffers[5];
  glGenBuffers(5, buffers);
  positionBuffer_ = buffers[0];
  normalBuffer_ = buffers[1];
  texCoordBuffer_ = buffers[2];
  flagBuffer_ = buffers[3];
  indexBuffer_ = buffers[4];
  glBindBuffer(GL_ARRAY_BUFFER, positionBuffer_);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
  glEnableVertexAttribArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, normalBuffer_);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
  glEnableVertexAttribArray(1);
  glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer_);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
  glEnableVertexAttribArray(2);
  glBindBuffer(GL_ARRAY_BUFFER, flagBuffer_);
  glVertexAttribIPointer(3, 1, GL_UNSIGNED_INT, 0, nullptr);
  glEnableVertexAttribArray(3);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glBindVertexArray(0);

  glGenTextures(1, &texture_);
  ready_ = true;
  setPicture(TexturePixels{});
  uploadedOnce_ = false;
  return true;
}

UploadReport PreviewRenderer::update(const ModelStore& store, const SelectionState& selection,
                                     NormalSource normals) {
  UploadReport report;
  if (!ready_) return report;
  buildPreviewGeometry(store, normals, nextGeometry_);
  buildPreviewSurface(store, selection, nextSurface_);
  glBindVertexArray(vertexArray_);
  if (!uploadedOnce_ || !sameContents(nextGeometry_.positions, geometry_.positions) ||
      !sameContents(nextGeometry_.normals, geometry_.normals) ||
      !sameContents(nextGeometry_.triangles, geometry_.triangles)) {
    report.geometry = true;
    report.bytes += upload(GL_ARRAY_BUFFER, positionBuffer_, nextGeometry_.positions);
    report.bytes += upload(GL_ARRAY_BUFFER, normalBuffer_, nextGeometry_.normals);
    report.bytes += upload(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_, nextGeometry_.triangles);
    std::swap(geometry_, nextGeometry_);
  }
  if (!uploadedOnce_ || !sameContents(nextSurface_.texCoords, surface_.texCoords)) {
    report.texCoords = true;
    report.bytes += upload(GL_ARRAY_BUFFER, texCoordBuffer_, nextSurface_.texCoords);
    std::swap(surface_.texCoords, nextSurface_.texCoords);
  }
  if (!uploadedOnce_ || !sameContents(nextSurface_.flags, surface_.flags)) {
    report.flags = true;
    report.bytes += upload(GL_ARRAY_BUFFER, flagBuffer_, nextSurface_.flags);
    std::swap(surface_.flags, nextSurface_.flags);
  }
  glBindVertexArray(0);
  uploadedOnce_ = true;
  return report;
}

void PreviewRenderer::setPicture(const TexturePixels& picture) {
  if (!ready_) return;
  static const std::uint8_t kWhite[4] = {255, 255, 255, 255};
  const bool empty = picture.width < 1 || picture.height < 1 ||
                     picture.rgba.size() < static_cast<std::size_t>(picture.width) *
                                               static_cast<std::size_t>(picture.height) * 4;
  glBindTexture(GL_TEXTURE_2D, texture_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, empty ? 1 : picture.width, empty ? 1 : picture.height, 0,
               GL_RGBA, GL_UNSIGNED_BYTE, empty ? kWhite : picture.rgba.data());
  glGenerateMipmap(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  // Squares stay crisp up close and do not shimmer far away.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void PreviewRenderer::draw(unsigned framebuffer, int width, int height, const OrbitCamera& camera,
                           TextureMode mode) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, width, height);
  glClearColor(kBackgroundColor.red / 255.0f, kBackgroundColor.green / 255.0f,
               kBackgroundColor.blue / 255.0f, 1.0f);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (!ready_ || geometry_.triangles.empty()) return;

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glUseProgram(program_);
  const float aspect = static_cast<float>(width) / static_cast<float>(height > 0 ? height : 1);
  const Matrix4 view = viewMatrix(camera);
  const Matrix4 projection = projectionMatrix(camera, aspect);
  glUniformMatrix4fv(glGetUniformLocation(program_, "view"), 1, GL_FALSE, view.data());
  glUniformMatrix4fv(glGetUniformLocation(program_, "projection"), 1, GL_FALSE, projection.data());
  glUniform1i(glGetUniformLocation(program_, "flatSets"), mode == TextureMode::Sets ? 1 : 0);
  glUniform1i(glGetUniformLocation(program_, "picture"), 0);
  float palette[14 * 3];
  for (std::size_t i = 0; i < kSetPalette.size() && i < 14; ++i) {
    palette[i * 3] = kSetPalette[i].red / 255.0f;
    palette[i * 3 + 1] = kSetPalette[i].green / 255.0f;
    palette[i * 3 + 2] = kSetPalette[i].blue / 255.0f;
  }
  glUniform3fv(glGetUniformLocation(program_, "palette"), 14, palette);
  setColor(program_, "background", kBackgroundColor);
  setColor(program_, "noUvColor", kNoUvColor);
  setColor(program_, "highlight", kHighlightColor);
  glUniform1f(glGetUniformLocation(program_, "highlightWeight"), kHighlightWeight);
  glUniform1f(glGetUniformLocation(program_, "hiddenWeight"), kHiddenWeight);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glBindVertexArray(vertexArray_);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(geometry_.triangles.size()), GL_UNSIGNED_INT,
                 nullptr);
  glBindVertexArray(0);
  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(0);
  glDisable(GL_DEPTH_TEST);
}

void PreviewRenderer::release() {
  if (!ready_) return;
  const GLuint buffers[5] = {positionBuffer_, normalBuffer_, texCoordBuffer_, flagBuffer_,
                             indexBuffer_};
  glDeleteBuffers(5, buffers);
  glDeleteVertexArrays(1, &vertexArray_);
  glDeleteTextures(1, &texture_);
  glDeleteProgram(program_);
  ready_ = false;
  uploadedOnce_ = false;
}

}  // namespace corvina::preview
