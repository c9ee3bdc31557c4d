#pragma once
// PreviewRenderer: draws the model in a current OpenGL 3.3 core context,
// shaded with a light at the camera, textured with a picture (the checker or
// the background) through its texture coordinates or flat in its sets'
// colours; selected facets blended towards the selection red, hidden ones
// faded into the background, corners without texture coordinates in the
// missing-texture colour. It keeps a copy of what it uploaded and sends
// again only the buffers whose contents changed, so a change of texture
// coordinates uploads only those.
//
// Every call needs the same context current; release() before the context
// goes away.

#include <cstddef>
#include <string>

#include "preview/camera.h"
#include "preview/checker.h"
#include "preview/preview_mesh.h"
#include "preview/preview_options.h"

namespace corvina::preview {

// Which buffers an update sent, and their bytes.
struct UploadReport {
  bool geometry = false;   // positions, normals and triangles
  bool texCoords = false;  // texture coordinates
  bool flags = false;      // selected, hidden, no-coordinates and set flags
  std::size_t bytes = 0;
};

class PreviewRenderer {
 public:
  PreviewRenderer() = default;
  PreviewRenderer(const PreviewRenderer&) = delete;
  PreviewRenderer& operator=(const PreviewRenderer&) = delete;

  // Compiles the shaders and makes the buffers; false with `error` set when
  // the context cannot run them.
  bool initialize(std::string& error);

  // Rebuilds the corner buffers from the store and uploads those that
  // differ from the last upload.
  UploadReport update(const ModelStore& store, const SelectionState& selection,
                      NormalSource normals = NormalSource::Model);

  // The picture the Checker and Background modes sample (rows from v = 1
  // down); an empty one samples plain white.
  void setPicture(const TexturePixels& picture);

  // Clears `framebuffer` (0: the default one) of width x height pixels to
  // the background colour and draws the model, if any, through the camera.
  void draw(unsigned framebuffer, int width, int height, const OrbitCamera& camera,
            TextureMode mode);

  // The number of triangles the last update made.
  std::size_t triangleCount() const { return geometry_.triangles.size() / 3; }

  void release();

 private:
  bool ready_ = false;
  unsigned program_ = 0, vertexArray_ = 0, texture_ = 0;
  unsigned positionBuffer_ = 0, normalBuffer_ = 0, texCoordBuffer_ = 0, flagBuffer_ = 0,
           indexBuffer_ = 0;
  PreviewGeometry geometry_, nextGeometry_;
  PreviewSurface surface_, nextSurface_;
  bool uploadedOnce_ = false;
};

}  // namespace corvina::preview
