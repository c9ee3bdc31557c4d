// The generators fill their arrays ring by ring on several threads, and their
// smoothing and mapping share the work too: every thread count generates the
// model one thread generates, bit for bit.

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "model/parallel_parts.h"
#include "primitives/primitive_generator.h"

namespace corvina {
namespace {

// Every array of the model as numbers, floats by their bits.
std::vector<std::int64_t> contents(const ModelStore& store) {
  std::vector<std::int64_t> all{store.numVerts,        store.numTVerts, store.numVNormals,
                                store.numFacets,       store.mapWidth,  store.mapHeight,
                                store.numCornerRecords};
  auto bits = [&](float f) { all.push_back(std::bit_cast<std::uint32_t>(f)); };
  for (const Vertex& v : store.vertices) bits(v.x), bits(v.y), bits(v.z);
  for (const Vertex& v : store.baseVertices) bits(v.x), bits(v.y), bits(v.z);
  for (const TexVertex& t : store.texVertices) bits(t.u), bits(t.v);
  for (const Normal& n : store.normals) bits(n.x), bits(n.y), bits(n.z);
  for (const CornerRecord& r : store.facetStream) {
    all.insert(all.end(), {r.vertex, r.texVertex, r.normal, r.group, r.material, r.region});
  }
  return all;
}

TEST(PrimitiveThreads, EveryThreadCountGeneratesTheSameModel) {
  SphereOptions sphere;
  sphere.verticalDivisions = 23;
  sphere.radialDivisions = 37;
  sphere.gaps = true;
  SphereOptions thinSphere;
  thinSphere.verticalDivisions = 2;
  thinSphere.radialDivisions = 5;
  TorusOptions torus;
  torus.verticalDivisions = 19;
  torus.radialDivisions = 29;
  torus.rotate = 40;
  ConeOptions cone;
  cone.radialDivisions = 41;
  CylinderOptions cylinder;
  cylinder.radialDivisions = 43;
  using Generator = std::function<GenerateOutcome(ModelStore&, SelectionState&)>;
  const std::vector<std::pair<std::string, Generator>> generators = {
      {"sphere", [&](ModelStore& m, SelectionState& s) { return generateSphere(m, s, sphere); }},
      {"two-ring sphere",
       [&](ModelStore& m, SelectionState& s) { return generateSphere(m, s, thinSphere); }},
      {"torus", [&](ModelStore& m, SelectionState& s) { return generateTorus(m, s, torus); }},
      {"cone", [&](ModelStore& m, SelectionState& s) { return generateCone(m, s, cone); }},
      {"cylinder",
       [&](ModelStore& m, SelectionState& s) { return generateCylinder(m, s, cylinder); }},
      {"box", [&](ModelStore& m, SelectionState& s) { return generateBox(m, s, BoxOptions{}); }},
  };
  for (const auto& [name, generate] : generators) {
    ModelStore reference;
    {
      ScopedParallelThreads one(1);
      SelectionState selection;
      ASSERT_EQ(generate(reference, selection), GenerateOutcome::Generated) << name;
    }
    for (std::size_t threads : {1, 2, 3, 8}) {
      ScopedParallelThreads chosen(threads, 3);
      ModelStore store;
      SelectionState selection;
      ASSERT_EQ(generate(store, selection), GenerateOutcome::Generated) << name;
      EXPECT_EQ(contents(store), contents(reference)) << name << ", " << threads << " threads";
    }
  }
}

}  // namespace
}  // namespace corvina
