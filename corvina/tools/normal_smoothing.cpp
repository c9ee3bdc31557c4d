#include "tools/normal_smoothing.h"

#include <climits>
#include <cmath>
#include <new>

#include "model/large_array.h"
#include "model/stream_ranges.h"
#include "tools/corners_by_vertex.h"
#include "tools/normal_math.h"

namespace corvina {

int smoothingProgressSteps(const ModelStore& store) {
  return store.numCornerRecords / 128;
}

namespace {

// Single-precision pi / 180, as the angle has always been converted.
constexpr float kDegreesToRadians = 0.017453291681077746f;
// Below about 1.99 degrees rounding noise would split coplanar facets.
constexpr float kMostCosine = 0.9994f;

struct Working {
  std::vector<std::int32_t> facetOf;        // per record: facet number (0 before any)
  std::vector<std::int32_t> firstCornerOf;  // per facet (1-based): record of its first corner
  std::vector<Normal> facetNormal;          // per facet (1-based)
  CornersByVertex byVertex;
  std::vector<Normal> newNormals;  // per corner, in stream order
};

Normal facetNormalOf(const ModelStore& store, std::size_t vertexCount, std::size_t first,
                     std::size_t end) {
  if (end - first < 3) return Normal{};
  const Vertex* p[3];
  for (int k = 0; k < 3; ++k) {
    const std::int32_t v = store.facetStream[first + static_cast<std::size_t>(k)].vertex;
    if (!namesEntry(v, vertexCount)) return Normal{};
    p[k] = &store.vertices[static_cast<std::size_t>(v) - 1];
  }
  const float ax = p[1]->x - p[0]->x, ay = p[1]->y - p[0]->y, az = p[1]->z - p[0]->z;
  const float bx = p[2]->x - p[1]->x, by = p[2]->y - p[1]->y, bz = p[2]->z - p[1]->z;
  return normalised(Normal{ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx});
}

std::uint16_t setField(const CornerRecord& corner, SmoothingScope scope) {
  switch (scope) {
    case SmoothingScope::ByGroup:
      return corner.group & kSetIndexMask;
    case SmoothingScope::ByMaterial:
      return corner.material & kSetIndexMask;
    case SmoothingScope::ByRegion:
      return corner.region & kSetIndexMask;
    case SmoothingScope::AllFacets:
      break;
  }
  return 0;
}

bool selected(const CornerRecord& corner) {
  return (corner.group & kSelectedBit) != 0;
}

// The smoothed normal of the corner at record j.
Normal smoothedNormal(const ModelStore& store, const Working& w, std::size_t j,
                      SmoothingScope scope, bool selectionActive, float c, std::size_t vertexCount,
                      std::size_t normalCount) {
  const CornerRecord& record = store.facetStream[j];
  const auto f = static_cast<std::size_t>(w.facetOf[j]);
  const CornerRecord& r = store.facetStream[static_cast<std::size_t>(w.firstCornerOf[f])];
  const Normal& own = w.facetNormal[f];
  Normal sum{};
  if (namesEntry(record.vertex, vertexCount)) {
    const auto v = static_cast<std::size_t>(record.vertex);
    for (const std::int32_t* k = w.byVertex.begin(v); k != w.byVertex.end(v); ++k) {
      const auto h = static_cast<std::size_t>(*k);
      const CornerRecord& other = store.facetStream[h];
      if (scope != SmoothingScope::AllFacets && setField(r, scope) != setField(other, scope)) {
        continue;
      }
      if (selectionActive && !(selected(r) && selected(other))) continue;
      const Normal& g = w.facetNormal[static_cast<std::size_t>(w.facetOf[h])];
      if (own.x * g.x + own.y * g.y + own.z * g.z < c) continue;
      sum.x += g.x;
      sum.y += g.y;
      sum.z += g.z;
    }
  } else {
    sum = own;  // a corner on no vertex has only its own facet around it
  }
  Normal result = normalised(sum);
  if (selectionActive && !selected(record)) {
    result = namesEntry(record.normal, normalCount)
                 ? store.normals[static_cast<std::size_t>(record.normal) - 1]
                 : Normal{};
  }
  return result;
}

}  // namespace

bool smoothNormals(ModelStore& store, float angleDegrees, SmoothingScope scope,
                   bool selectionActive, const ProgressStep& step) {
  float c = std::cos(angleDegrees * kDegreesToRadians);
  if (c > kMostCosine) c = kMostCosine;

  const std::size_t length = streamLength(store);
  const std::size_t vertexCount = backedCount(store.numVerts, store.vertices);
  const std::size_t normalCount = backedCount(store.numVNormals, store.normals);
  const CornerRecord* records = store.facetStream.data();
  // Records before the end-of-list record, cut into ranges that start at
  // separators (on every core), with the facets and corners before each.
  const std::size_t end = streamListEnd(records, length);
  const std::vector<PartRange> ranges = facetRangesForThreads(records, end);
  struct Counts {
    std::size_t facets = 0, corners = 0;
  };
  const std::vector<Counts> rangeCounts =
      mapEachRange<Counts>(ranges, [&](std::size_t begin, std::size_t stop) {
        Counts counts;
        for (std::size_t at = begin; at < stop; ++at) {
          if (records[at].vertex == kSeparator)
            ++counts.facets;
          else
            ++counts.corners;
        }
        return counts;
      });
  std::vector<Counts> before(ranges.size());
  for (std::size_t k = 1; k < ranges.size(); ++k) {
    before[k].facets = before[k - 1].facets + rangeCounts[k - 1].facets;
    before[k].corners = before[k - 1].corners + rangeCounts[k - 1].corners;
  }
  const std::size_t facets = before.back().facets + rangeCounts.back().facets;
  const std::size_t corners = before.back().corners + rangeCounts.back().corners;
  if (corners > static_cast<std::size_t>(INT_MAX)) return false;

  Working w;
  try {
    // Large arrays fault in as huge pages, touched on every core.
    sizeLargeArray(w.facetOf, end);
    w.firstCornerOf.assign(facets + 1, -1);
    sizeLargeArray(w.facetNormal, facets + 1);
    w.byVertex = listCornersByVertex(store, vertexCount, end,
                                     [](const CornerRecord& corner) { return corner.vertex > 0; });
    sizeLargeArray(w.newNormals, corners);
  } catch (const std::bad_alloc&) {
    return false;
  }

  // Facet of every record, first corner of every facet and the facet normals
  // from each facet's first three corners. Corners before any separator form
  // facet 0, which is treated like any other facet. A facet lies in one range.
  runParts(ranges.size(), [&](std::size_t k) {
    auto facet = static_cast<std::int32_t>(before[k].facets);
    for (std::size_t at = ranges[k].begin; at < ranges[k].end; ++at) {
      if (records[at].vertex == kSeparator) {
        ++facet;
      } else if (w.firstCornerOf[static_cast<std::size_t>(facet)] < 0) {
        w.firstCornerOf[static_cast<std::size_t>(facet)] = static_cast<std::int32_t>(at);
        std::size_t last = at;
        while (last < end && records[last].vertex > 0) ++last;
        w.facetNormal[static_cast<std::size_t>(facet)] =
            facetNormalOf(store, vertexCount, at, last);
      }
      w.facetOf[at] = facet;
    }
  });

  // Every corner's normal: the sum, in the order of its vertex's corners, of
  // the facet normals around it; corners apart. The bar steps once per 128
  // records, on this thread.
  SharedProgress progress(step, 128);
  runParts(
      ranges.size(),
      [&](std::size_t k) {
        std::size_t corner = before[k].corners;
        std::size_t unreported = 0;
        for (std::size_t j = ranges[k].begin; j < ranges[k].end; ++j) {
          if (++unreported == 1024) {
            progress.add(unreported);
            unreported = 0;
            if (k == 0) progress.pump();
          }
          const CornerRecord& record = records[j];
          if (record.vertex == kSeparator) continue;
          w.newNormals[corner++] =
              smoothedNormal(store, w, j, scope, selectionActive, c, vertexCount, normalCount);
        }
        progress.add(unreported);
      },
      [&] { progress.pump(); });
  progress.pump();

  forEachIndex(ranges.size(), [&](std::size_t k) {
    auto corner = static_cast<std::int32_t>(before[k].corners);
    for (std::size_t j = ranges[k].begin; j < ranges[k].end; ++j) {
      CornerRecord& record = store.facetStream[j];
      if (record.vertex != kSeparator) record.normal = ++corner;
    }
  });
  store.normals = std::move(w.newNormals);
  store.numVNormals = static_cast<int>(corners);
  store.numFacets = static_cast<int>(facets);
  return true;
}

}  // namespace corvina
