#include "mapping/mapping_frame.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace corvina {

std::size_t mappedStreamLength(const ModelStore& store) {
  if (store.numCornerRecords <= 0) return 0;
  return std::min(store.facetStream.size(), static_cast<std::size_t>(store.numCornerRecords));
}

const Vertex* vertexOf(const ModelStore& store, const CornerRecord& record) {
  if (record.vertex < 1) return nullptr;
  const std::size_t count =
      store.numVerts > 0 ? std::min(store.vertices.size(), static_cast<std::size_t>(store.numVerts))
                         : 0;
  const std::size_t index = static_cast<std::size_t>(record.vertex) - 1;
  return index < count ? &store.vertices[index] : nullptr;
}

TexVertex* texVertexOf(ModelStore& store, const CornerRecord& record) {
  if (record.texVertex < 1) return nullptr;
  const std::size_t count =
      store.numTVerts > 0
          ? std::min(store.texVertices.size(), static_cast<std::size_t>(store.numTVerts))
          : 0;
  const std::size_t index = static_cast<std::size_t>(record.texVertex) - 1;
  return index < count ? &store.texVertices[index] : nullptr;
}

BoundingBox participatingBounds(const ModelStore& store, bool selectionActive) {
  BoundingBox box;
  const std::size_t length = mappedStreamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    const CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (!participates(record, selectionActive)) continue;
    const Vertex* p = vertexOf(store, record);
    if (p == nullptr) continue;
    if (p->x <= box.minimum.x) box.minimum.x = p->x;
    if (p->y <= box.minimum.y) box.minimum.y = p->y;
    if (p->z <= box.minimum.z) box.minimum.z = p->z;
    if (p->x >= box.maximum.x) box.maximum.x = p->x;
    if (p->y >= box.maximum.y) box.maximum.y = p->y;
    if (p->z >= box.maximum.z) box.maximum.z = p->z;
  }
  box.extent = Vector3{box.maximum.x - box.minimum.x, box.maximum.y - box.minimum.y,
                       box.maximum.z - box.minimum.z};
  box.centre = Vector3{box.minimum.x + box.extent.x * 0.5f, box.minimum.y + box.extent.y * 0.5f,
                       box.minimum.z + box.extent.z * 0.5f};
  return box;
}

bool prepareTextureVertices(ModelStore& store) {
  expandTextureVertices(store, false);
  const std::size_t records = static_cast<std::size_t>(std::max(store.numCornerRecords, 0));
  return store.texVerticesExpanded == 1 && store.numTVerts == store.numCornerRecords &&
         store.texVertices.size() >= records && store.facetStream.size() >= records;
}

float finiteOr(float value, float fallback) {
  return std::isfinite(value) ? value : fallback;
}

float unitCoordinate(float coordinate, float minimum, float extent) {
  if (extent == 0.0f) return 0.5f;
  return finiteOr((coordinate - minimum) / extent, 0.5f);
}

namespace {

// trunc(value) as an int of at least 1, or `fallback` when value is not a
// number the map size can hold.
int mapSide(float value, int fallback) {
  if (!(value >= 1.0f)) return value >= 0.0f ? 1 : fallback;
  if (value >= 8192.0f) return 8192;
  return static_cast<int>(value);
}

}  // namespace

void setMapSizeFromLayout(ModelStore& store, LayoutExtents layout, int mapSize) {
  const float h = layout.horizontal;
  const float v = layout.vertical;
  const float larger = h > v ? h : v;
  const float size = static_cast<float>(mapSize);
  const float width = h * size / larger;
  const float height = v * size / larger;
  if (!std::isfinite(width) || !std::isfinite(height) || !(larger > 0.0f)) {
    // No extent to share out (a single point, or geometry beyond the float
    // range): a square map of the chosen size.
    store.mapWidth = mapSize;
    store.mapHeight = mapSize;
    return;
  }
  store.mapWidth = mapSide(width, mapSize);
  store.mapHeight = mapSide(height, mapSize);
}

int viewPixels(int clientSize, float coordinate) {
  const float pixels = std::trunc(static_cast<float>(clientSize) * coordinate);
  if (std::isnan(pixels)) return 0;
  if (pixels <= static_cast<float>(INT_MIN)) return INT_MIN;
  if (pixels >= static_cast<float>(INT_MAX)) return INT_MAX;
  return static_cast<int>(pixels);
}

void endProjectionInSelection(SelectionState& selection, const ModelStore& store,
                              LayoutExtents layout, bool gaps, bool scaleResult, ViewSize view) {
  selection.source = FrameRect{0.0f, 1.0f, 0.0f, 1.0f};
  if (scaleResult) {
    float h = layout.horizontal;
    float v = layout.vertical;
    if (gaps) {
      h = h * 1.0526316f;
      v = v * 1.0526316f;
    }
    FrameRect& t = selection.target;
    const float cx = (t.left + t.right) * 0.5f;
    const float cy = (t.top + t.bottom) * 0.5f;
    const float p = store.pixelsPerUnit;
    const float w = static_cast<float>(store.mapWidth);
    const float ht = static_cast<float>(store.mapHeight);
    const FrameRect scaled{cx - h * p / w * 0.5f, cx + h * p / w * 0.5f, cy - v * p / ht * 0.5f,
                           cy + v * p / ht * 0.5f};
    // A map without pixels or a layout beyond the float range has no size
    // to give; the target then keeps the size it has.
    if (std::isfinite(scaled.left) && std::isfinite(scaled.right) && std::isfinite(scaled.top) &&
        std::isfinite(scaled.bottom))
      t = scaled;
  }
  const FrameRect& t = selection.target;
  selection.framePixels =
      PixelRect{viewPixels(view.width, t.left), viewPixels(view.width, t.right),
                viewPixels(view.height, t.top), viewPixels(view.height, t.bottom)};
}

}  // namespace corvina
