#include "model/reports.h"

#include <algorithm>
#include <charconv>
#include <cstddef>

#include "model/model_walk.h"

namespace corvina {

namespace {

// A value as "% 0.5f" prints it: five decimals, a blank in place of the sign
// of a non-negative number. std::to_chars ignores the global locale.
std::string fixedFive(float value) {
  char digits[400];
  const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                    std::chars_format::fixed, 5);
  std::string text(digits, result.ptr);
  if (text.empty() || text[0] != '-') text.insert(text.begin(), ' ');
  return text;
}

struct Range {
  float least = 100000.0f;
  float greatest = -100000.0f;

  // A value equal to a bound replaces it too, so -0.0 after 0.0 is shown.
  void widen(float value) {
    if (value <= least) least = value;
    if (value >= greatest) greatest = value;
  }
};

}  // namespace

std::string statisticsText(const ModelStore& store) {
  return "vertices = " + std::to_string(store.numVerts) +
         "\ntextures = " + std::to_string(store.numTVerts) +
         "\nnormals = " + std::to_string(store.numVNormals) +
         "\nfacets = " + std::to_string(store.numFacets) +
         "\ngroups = " + std::to_string(store.numGroups) +
         "\nmaterials = " + std::to_string(store.numMaterials) +
         "\nregions = " + std::to_string(store.numRegions);
}

std::string dimensionsText(const ModelStore& store, bool selectionActive) {
  Range x, y, z, u, v;
  forEachCorner(store, [&](const CornerRecord& record) {
    if (!isParticipating(record, selectionActive)) return true;
    // A corner whose index lies outside its array adds nothing to that range.
    if (validIndex(record.vertex, store.numVerts, store.vertices.size())) {
      const Vertex& p = store.vertices[static_cast<std::size_t>(record.vertex) - 1];
      x.widen(p.x);
      y.widen(p.y);
      z.widen(p.z);
    }
    if (validIndex(record.texVertex, store.numTVerts, store.texVertices.size())) {
      const TexVertex& t = store.texVertices[static_cast<std::size_t>(record.texVertex) - 1];
      u.widen(t.u);
      v.widen(t.v);
    }
    return true;
  });
  auto line = [](const char* axis, const Range& range) {
    return std::string("min ") + axis + " = " + fixedFive(range.least) + "\tmax " + axis + " = " +
           fixedFive(range.greatest);
  };
  return line("x", x) + "\n" + line("y", y) + "\n" + line("z", z) + "\n\n" + line("u", u) + "\n" +
         line("v", v);
}

}  // namespace corvina
