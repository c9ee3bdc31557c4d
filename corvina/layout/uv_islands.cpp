#include "layout/uv_islands.h"

#include <algorithm>
#include <bit>
#include <new>
#include <numeric>
#include <tuple>

namespace corvina {

namespace {

// One edge of one facet, its ends ordered by vertex index, with the bit
// patterns of the (u, v) at each end.
struct EdgeKey {
  std::int32_t low = 0, high = 0;
  std::uint32_t lowU = 0, lowV = 0, highU = 0, highV = 0;
  std::int32_t facet = 0;

  auto key() const { return std::tie(low, high, lowU, lowV, highU, highV); }
};

// The bits of a coordinate with -0.0 made +0.0, so equal values compare equal.
std::uint32_t valueBits(float value) {
  return std::bit_cast<std::uint32_t>(value == 0.0f ? 0.0f : value);
}

std::int32_t findRoot(std::vector<std::int32_t>& parent, std::int32_t facet) {
  while (parent[static_cast<std::size_t>(facet)] != facet) {
    std::int32_t& up = parent[static_cast<std::size_t>(facet)];
    up = parent[static_cast<std::size_t>(up)];
    facet = up;
  }
  return facet;
}

// Joins the two sets under the smaller root, so the result does not depend
// on the order of the joins.
void join(std::vector<std::int32_t>& parent, std::int32_t a, std::int32_t b) {
  a = findRoot(parent, a);
  b = findRoot(parent, b);
  if (a == b) return;
  if (a < b) std::swap(a, b);
  parent[static_cast<std::size_t>(a)] = b;
}

}  // namespace

bool findUvIslands(const ModelStore& store, UvIslands& islands) {
  islands = UvIslands{};
  try {
    const std::vector<CornerRecord>& stream = store.facetStream;
    std::vector<std::int32_t> facetStart;
    std::size_t corners = 0;
    for (std::size_t j = 0; j < stream.size() && stream[j].vertex >= 0; ++j) {
      if (stream[j].vertex == kSeparator)
        facetStart.push_back(static_cast<std::int32_t>(j));
      else
        ++corners;
    }
    const auto facets = static_cast<std::int32_t>(facetStart.size());

    std::vector<EdgeKey> edges;
    edges.reserve(corners);
    for (std::int32_t f = 0; f < facets; ++f) {
      const std::size_t first =
          static_cast<std::size_t>(facetStart[static_cast<std::size_t>(f)]) + 1;
      std::size_t end = first;
      while (end < stream.size() && stream[end].vertex > 0) ++end;
      for (std::size_t j = first; j < end; ++j) {
        const CornerRecord& a = stream[j];
        const CornerRecord& b = stream[j + 1 < end ? j + 1 : first];
        const TexVertex* ta = cornerTexVertex(store, a);
        const TexVertex* tb = cornerTexVertex(store, b);
        if (ta == nullptr || tb == nullptr) continue;
        EdgeKey edge{
            a.vertex,         b.vertex, valueBits(ta->u), valueBits(ta->v), valueBits(tb->u),
            valueBits(tb->v), f};
        if (edge.low > edge.high) {
          std::swap(edge.low, edge.high);
          std::swap(edge.lowU, edge.highU);
          std::swap(edge.lowV, edge.highV);
        }
        edges.push_back(edge);
      }
    }
    std::sort(edges.begin(), edges.end(),
              [](const EdgeKey& a, const EdgeKey& b) { return a.key() < b.key(); });

    std::vector<std::int32_t> parent(static_cast<std::size_t>(facets));
    std::iota(parent.begin(), parent.end(), 0);
    for (std::size_t i = 1; i < edges.size(); ++i)
      if (edges[i].key() == edges[i - 1].key()) join(parent, edges[i].facet, edges[i - 1].facet);

    // Roots are the smallest facet of their set, so numbering the roots in
    // facet order numbers the islands by their first facet.
    std::vector<std::int32_t> island(static_cast<std::size_t>(facets));
    std::int32_t count = 0;
    for (std::int32_t f = 0; f < facets; ++f) {
      const std::int32_t root = findRoot(parent, f);
      island[static_cast<std::size_t>(f)] =
          root == f ? count++ : island[static_cast<std::size_t>(root)];
    }
    islands.count = count;
    islands.facetStart = std::move(facetStart);
    islands.facetIsland = std::move(island);
    return true;
  } catch (const std::bad_alloc&) {
    islands = UvIslands{};
    return false;
  }
}

}  // namespace corvina
