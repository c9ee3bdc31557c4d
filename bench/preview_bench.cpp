// Times the 3D preview on a model of N triangles (a rippled grid that fills
// the view), drawn at W x H through a window-less OpenGL context (Mesa's
// software renderer on a machine without a GPU):
//   preview_bench [--triangles N] [--width W] [--height H] [--repeat R]
// Reports the median of R runs, in milliseconds by the wall clock, of
//   - the first update (every buffer built and uploaded),
//   - one frame (clear, draw, and a one-pixel read that waits for it),
//   - an update after every texture coordinate moved, split into building
//     the corner buffers and what the update then costs (comparison and the
//     upload of the texture coordinates alone),
//   - an update after nothing changed (building and comparing only).

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "preview/gl/gl_api.h"
#include "preview/gl/headless_context.h"
#include "preview/gl/preview_renderer.h"

namespace {

using namespace corvina;

ModelStore rippledGrid(int triangles) {
  ModelStore store;
  store.modelLoaded = kModelGenerated;
  const int cells = std::max(1, static_cast<int>(std::ceil(std::sqrt(triangles / 2.0))));
  const int side = cells + 1;
  store.vertices.resize(static_cast<std::size_t>(side) * side);
  store.texVertices.resize(store.vertices.size());
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const float u = static_cast<float>(x) / cells, v = static_cast<float>(y) / cells;
      const std::size_t i = static_cast<std::size_t>(y) * side + x;
      store.vertices[i] = {u * 2 - 1, v * 2 - 1, 0.05f * std::sin(u * 40) * std::cos(v * 40), 0};
      store.texVertices[i] = {u, v, 0};
    }
  store.facetStream.reserve(static_cast<std::size_t>(triangles) * 4 + 2);
  store.facetStream.push_back(CornerRecord{});
  auto corner = [&](int x, int y) {
    CornerRecord record;
    record.vertex = y * side + x + 1;
    record.texVertex = record.vertex;
    store.facetStream.push_back(record);
  };
  for (int t = 0; t < triangles; ++t) {
    const int cell = t / 2, x = cell % cells, y = cell / cells;
    if (t % 2 == 0) {
      corner(x, y), corner(x + 1, y), corner(x, y + 1);
    } else {
      corner(x + 1, y), corner(x + 1, y + 1), corner(x, y + 1);
    }
    store.facetStream.push_back(CornerRecord{});
  }
  store.facetStream.back().vertex = kEndOfList;
  store.numVerts = static_cast<int>(store.vertices.size());
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.numFacets = triangles;
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  return store;
}

double milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int argument(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int triangles = std::max(2, argument(argc, argv, "--triangles", 2000000));
  const int width = std::max(1, argument(argc, argv, "--width", 1024));
  const int height = std::max(1, argument(argc, argv, "--height", 768));
  const int repeat = std::max(1, argument(argc, argv, "--repeat", 5));

  preview::HeadlessContext context;
  std::string error;
  if (!context.create(error)) {
    std::printf("no OpenGL context: %s\n", error.c_str());
    return 1;
  }
  std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  ModelStore store = rippledGrid(triangles);
  const SelectionState selection;
  preview::OffscreenTarget target;
  preview::PreviewRenderer renderer;
  if (!target.create(width, height, error) || !renderer.initialize(error)) {
    std::printf("cannot draw: %s\n", error.c_str());
    return 1;
  }
  renderer.setPicture(preview::checkerPixels());
  preview::OrbitCamera camera;
  preview::frameBounds(camera, preview::modelBounds(store),
                       static_cast<float>(width) / static_cast<float>(height));

  preview::UploadReport first;
  const double firstUpdate = milliseconds([&] { first = renderer.update(store, selection); });
  std::printf("model: %d triangles, %zu corners; first update %.1f ms (%.1f MB uploaded)\n",
              triangles, preview::previewCornerCount(store), firstUpdate, first.bytes / 1e6);

  auto frame = [&] {
    renderer.draw(target.framebuffer(), width, height, camera, preview::TextureMode::Checker);
    std::uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);  // waits for the frame
  };
  frame();  // the shaders are compiled for the first draw
  std::vector<double> frames, builds, uvUpdates, unchanged;
  preview::UploadReport uvReport;
  preview::PreviewGeometry geometry;
  preview::PreviewSurface surface;
  for (int r = 0; r < repeat; ++r) {
    camera.yawDegrees += 5;
    frames.push_back(milliseconds(frame));
    for (int i = 0; i < store.numTVerts; ++i) store.texVertices[i].u += 0.01f;
    builds.push_back(milliseconds([&] {
      preview::buildPreviewGeometry(store, preview::NormalSource::Model, geometry);
      preview::buildPreviewSurface(store, selection, surface);
    }));
    uvUpdates.push_back(milliseconds([&] { uvReport = renderer.update(store, selection); }));
    unchanged.push_back(milliseconds([&] { renderer.update(store, selection); }));
  }
  const double build = median(builds);
  std::printf("frame at %d x %d: %.1f ms\n", width, height, median(frames));
  std::printf(
      "texture coordinates changed: update %.1f ms = building %.1f ms + comparing and uploading "
      "%.1f ms; sent %s%s%s%.1f MB\n",
      median(uvUpdates), build, median(uvUpdates) - build, uvReport.geometry ? "geometry, " : "",
      uvReport.texCoords ? "texture coordinates, " : "", uvReport.flags ? "flags, " : "",
      uvReport.bytes / 1e6);
  std::printf("nothing changed: update %.1f ms (nothing sent)\n", median(unchanged));
  renderer.release();
  return 0;
}
