#include "layout/texel_density.h"

#include <cmath>

namespace corvina {

std::vector<double> densityFactors(const IslandMeasures& measures, bool selectedOnly) {
  const std::size_t count = measures.bounds.size();
  std::vector<double> factors(count, 1.0);
  auto measurable = [&](std::size_t i) {
    return measures.movable[i] != 0 && measures.textureArea[i] > 0 && measures.surfaceArea[i] > 0;
  };
  // The model's average counts every island, also when only some are scaled.
  double texture = 0, surface = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!measurable(i)) continue;
    texture += measures.textureArea[i];
    surface += measures.surfaceArea[i];
  }
  if (texture <= 0 || surface <= 0) return factors;
  const double average = texture / surface;
  for (std::size_t i = 0; i < count; ++i) {
    if (!measurable(i) || (selectedOnly && measures.selected[i] == 0)) continue;
    const double factor = std::sqrt(average / (measures.textureArea[i] / measures.surfaceArea[i]));
    if (std::isfinite(factor) && factor > 0) factors[i] = factor;
  }
  return factors;
}

DensityOutcome equalizeTexelDensity(ModelStore& store, bool selectedOnly) {
  expandTextureVertices(store, false);
  if (store.texVerticesExpanded != 1) return DensityOutcome::InsufficientMemory;
  UvIslands islands;
  IslandMeasures measures;
  if (!findUvIslands(store, islands) || !measureIslands(store, islands, measures))
    return DensityOutcome::InsufficientMemory;
  const std::vector<double> factors = densityFactors(measures, selectedOnly);
  bool scaled = false;
  std::vector<CornerRecord>& stream = store.facetStream;
  for (std::size_t f = 0; f < islands.facetStart.size(); ++f) {
    const auto island = static_cast<std::size_t>(islands.facetIsland[f]);
    const double factor = factors[island];
    if (factor == 1.0) continue;
    scaled = true;
    const UvBounds& b = measures.bounds[island];
    const double cu = (b.minU + b.maxU) * 0.5, cv = (b.minV + b.maxV) * 0.5;
    for (std::size_t j = static_cast<std::size_t>(islands.facetStart[f]) + 1;
         j < stream.size() && stream[j].vertex > 0; ++j) {
      if (stream[j].texVertex < 1 || stream[j].texVertex > store.numTVerts) continue;
      TexVertex& t = store.texVertices[static_cast<std::size_t>(stream[j].texVertex - 1)];
      t.u = static_cast<float>(cu + (t.u - cu) * factor);
      t.v = static_cast<float>(cv + (t.v - cv) * factor);
    }
  }
  return scaled ? DensityOutcome::Equalized : DensityOutcome::NothingToScale;
}

}  // namespace corvina
