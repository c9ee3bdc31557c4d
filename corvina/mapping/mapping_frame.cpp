#include "mapping/mapping_frame.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "model/stream_ranges.h"

namespace corvina {

namespace {

std::size_t usable(int count, std::size_t arraySize) {
  return count > 0 ? std::min(arraySize, static_cast<std::size_t>(count)) : 0;
}

}  // namespace

MappingArrays mappingArrays(const ModelStore& store) {
  MappingArrays arrays;
  arrays.records = store.facetStream.data();
  arrays.length = usable(store.numCornerRecords, store.facetStream.size());
  arrays.vertices = store.vertices.data();
  arrays.vertexCount = usable(store.numVerts, store.vertices.size());
  return arrays;
}

MappingArrays mappingArrays(ModelStore& store) {
  MappingArrays arrays = mappingArrays(static_cast<const ModelStore&>(store));
  arrays.texVertices = store.texVertices.data();
  arrays.texVertexCount = usable(store.numTVerts, store.texVertices.size());
  return arrays;
}

MappingArrays mappingArraysToListEnd(ModelStore& store) {
  MappingArrays arrays = mappingArrays(store);
  arrays.length = listEndOf(arrays);
  arrays.toListEnd = true;
  return arrays;
}

std::size_t listEndOf(const MappingArrays& arrays) {
  return arrays.toListEnd ? arrays.length : streamListEnd(arrays.records, arrays.length);
}

BoundingBox participatingBounds(const MappingArrays& arrays, bool selectionActive) {
  // Each part's extremes, then the parts' in stream order by the same rule:
  // the last coordinate that is <= (>=) all before it wins, as in one walk.
  struct Extremes {
    Vector3 minimum{100000.0f, 100000.0f, 100000.0f};
    Vector3 maximum{-100000.0f, -100000.0f, -100000.0f};
    void include(const Vertex& p) {
      // Selects rather than branches: over a model the outcome is random.
      minimum.x = p.x <= minimum.x ? p.x : minimum.x;
      minimum.y = p.y <= minimum.y ? p.y : minimum.y;
      minimum.z = p.z <= minimum.z ? p.z : minimum.z;
      maximum.x = p.x >= maximum.x ? p.x : maximum.x;
      maximum.y = p.y >= maximum.y ? p.y : maximum.y;
      maximum.z = p.z >= maximum.z ? p.z : maximum.z;
    }
    // Takes in the extremes of the records after these.
    void follow(const Extremes& later) {
      minimum.x = later.minimum.x <= minimum.x ? later.minimum.x : minimum.x;
      minimum.y = later.minimum.y <= minimum.y ? later.minimum.y : minimum.y;
      minimum.z = later.minimum.z <= minimum.z ? later.minimum.z : minimum.z;
      maximum.x = later.maximum.x >= maximum.x ? later.maximum.x : maximum.x;
      maximum.y = later.maximum.y >= maximum.y ? later.maximum.y : maximum.y;
      maximum.z = later.maximum.z >= maximum.z ? later.maximum.z : maximum.z;
    }
  };
  const std::size_t end = listEndOf(arrays);
  const std::vector<Extremes> parts =
      mapRanges<Extremes>(end, kStreamRangeRecords, [&](std::size_t begin, std::size_t stop) {
        Extremes extremes;
        for (std::size_t j = begin; j < stop; ++j) {
          const CornerRecord& record = arrays.records[j];
          if (!participates(record, selectionActive)) continue;
          if (const Vertex* p = arrays.vertexOf(record)) extremes.include(*p);
        }
        return extremes;
      });
  Extremes all = parts.front();
  for (std::size_t k = 1; k < parts.size(); ++k) all.follow(parts[k]);
  BoundingBox box;
  box.minimum = all.minimum;
  box.maximum = all.maximum;
  box.extent = Vector3{box.maximum.x - box.minimum.x, box.maximum.y - box.minimum.y,
                       box.maximum.z - box.minimum.z};
  box.centre = Vector3{box.minimum.x + box.extent.x * 0.5f, box.minimum.y + box.extent.y * 0.5f,
                       box.minimum.z + box.extent.z * 0.5f};
  return box;
}

namespace {

bool expandedFormHolds(const ModelStore& store) {
  const std::size_t records = static_cast<std::size_t>(std::max(store.numCornerRecords, 0));
  return store.texVerticesExpanded == 1 && store.numTVerts == store.numCornerRecords &&
         store.texVertices.size() >= records && store.facetStream.size() >= records;
}

}  // namespace

bool prepareTextureVertices(ModelStore& store) {
  expandTextureVertices(store, false);
  // A store flagged expanded whose counts disagree is expanded afresh rather
  // than mapped through indices that may not be its own.
  if (store.texVerticesExpanded == 1 && !expandedFormHolds(store))
    expandTextureVertices(store, true);
  return expandedFormHolds(store);
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
                              LayoutExtents layout, bool gaps, bool scaleResult, ClientSize view) {
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
