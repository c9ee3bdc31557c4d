// Cylindrical, cylindrical-cap and spherical mapping.

#include <gtest/gtest.h>

#include <cmath>

#include "mapping/cylindrical_mapping.h"
#include "mapping/radial_projection.h"
#include "mapping/spherical_mapping.h"
#include "mapping/tests/mapping_models.h"

namespace corvina {
namespace {

using testing::FacetSpec;
using testing::UvBounds;

// An open cylinder of radius 1 and height 2 around Y, centred on the origin,
// as `sides` quads; with caps, each cap a fan of triangles around a centre
// vertex on the axis.
ModelStore cylinder(int sides, bool caps) {
  std::vector<Vertex> vertices;
  for (int k = 0; k < sides; ++k) {
    const double angle = 2.0 * M_PI * (k + 0.5) / sides;
    const float x = static_cast<float>(std::sin(angle)), z = static_cast<float>(std::cos(angle));
    vertices.push_back(Vertex{x, -1, z});  // 2k + 1
    vertices.push_back(Vertex{x, 1, z});   // 2k + 2
  }
  vertices.push_back(Vertex{0, -1, 0});  // 2 sides + 1: bottom centre
  vertices.push_back(Vertex{0, 1, 0});   // 2 sides + 2: top centre
  std::vector<FacetSpec> facets;
  for (int k = 0; k < sides; ++k) {
    const int next = (k + 1) % sides;
    facets.push_back({{2 * k + 1}, {2 * next + 1}, {2 * next + 2}, {2 * k + 2}});
  }
  if (caps) {
    for (int k = 0; k < sides; ++k) {
      const int next = (k + 1) % sides;
      facets.push_back({{2 * sides + 1}, {2 * next + 1}, {2 * k + 1}});  // faces -Y
      facets.push_back({{2 * sides + 2}, {2 * k + 2}, {2 * next + 2}});  // faces +Y
    }
  }
  return testing::buildModel(vertices, {}, facets);
}

TEST(AngularU, AddsTheRotationAndWrapsOnce) {
  struct Case {
    double angle;
    int rotation;
    float expected;
  };
  const Case cases[] = {
      {0.0, 0, 0.5f},     {0.0, 90, 0.75f},
      {0.0, 270, 0.25f},  // 0.5 + 0.75 wraps
      {-kMapPi, 0, 0.0f}, {M_PI / 2, 359, 0.75f + 359 * 0.0027777778f - 1.0f},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(angularU(c.angle, c.rotation), c.expected, 1e-6f)
        << c.angle << " rotated " << c.rotation;
}

TEST(SphericalUv, VertexAtTheCentreMapsToTheMiddle) {
  for (int axis : {kAxisX, kAxisY, kAxisZ}) {
    for (int rotation : {0, 90, 200}) {
      const TexVertex uv = sphericalUv({1, 2, 3}, {1, 2, 3}, axis, rotation);
      EXPECT_NEAR(uv.v, 0.5f, 1e-6f);
      float expectedU = 0.5f + rotation * 0.0027777778f;
      if (expectedU > 1.0f) expectedU -= 1.0f;
      EXPECT_NEAR(uv.u, expectedU, 1e-6f) << "axis " << axis << " rotation " << rotation;
    }
  }
}

TEST(SphericalUv, PolesAndEquatorByAxis) {
  struct Case {
    Vector3 direction;
    int axis;
    float u, v;
  };
  const Case cases[] = {
      {{0, 1, 0}, kAxisY, 0.5f, 1.0f},                                    // upper pole
      {{0, -1, 0}, kAxisY, 0.5f, 0.0f}, {{0, 0, 1}, kAxisY, 0.5f, 0.5f},  // atan2(0, 1) = 0
      {{1, 0, 0}, kAxisY, 0.75f, 0.5f}, {{0, 0, 1}, kAxisZ, 0.5f, 1.0f},
      {{1, 0, 0}, kAxisX, 0.5f, 1.0f},  {{0, 0, 1}, kAxisX, 0.75f, 0.5f},
  };
  for (const Case& c : cases) {
    const TexVertex uv = sphericalUv(c.direction, {0, 0, 0}, c.axis, 0);
    EXPECT_NEAR(uv.u, c.u, 1e-6f) << c.direction.x << c.direction.y << c.direction.z;
    EXPECT_NEAR(uv.v, c.v, 1e-6f) << c.direction.x << c.direction.y << c.direction.z;
  }
}

TEST(CylindricalUv, HeightOverTheAxisExtent) {
  const TexVertex top = cylindricalUv({0, 1, 1}, {0, 0, 0}, {2, 2, 2}, kAxisY, 0);
  EXPECT_FLOAT_EQ(top.v, 0.75f);
  EXPECT_FLOAT_EQ(top.u, 0.5f);
  // No extent along the axis: h is 0, not 0 / 0.
  const TexVertex flat = cylindricalUv({1, 0, 0}, {0, 0, 0}, {2, 0, 2}, kAxisY, 0);
  EXPECT_EQ(flat.v, 0.5f);
}

TEST(SphericalMapping, DefaultsGiveAHalfHeightMapAndFillTheSquare) {
  ModelStore model = cylinder(12, true);
  SelectionState selection;
  ASSERT_EQ(sphericalMapping(model, selection, RadialMappingOptions{}, ClientSize{}),
            MappingOutcome::Mapped);
  EXPECT_EQ(model.mapWidth, 1024);
  EXPECT_EQ(model.mapHeight, 512);
  float umin = 1, umax = 0, vmin = 1, vmax = 0;
  for (const auto& [u, v] : testing::cornerUvs(model)) {
    umin = std::min(umin, u), umax = std::max(umax, u);
    vmin = std::min(vmin, v), vmax = std::max(vmax, v);
  }
  EXPECT_FLOAT_EQ(umin, 0.025f);
  EXPECT_FLOAT_EQ(umax, 0.975f);
  EXPECT_FLOAT_EQ(vmin, 0.025f);
  EXPECT_FLOAT_EQ(vmax, 0.975f);
}

TEST(CylindricalMapping, RepairsTheSeamSoNoFacetSpansTheMap) {
  ModelStore model = cylinder(12, false);
  SelectionState selection;
  RadialMappingOptions options;
  options.gaps = false;
  cylindricalMapping(model, selection, options, ClientSize{});
  for (const UvBounds& b : testing::facetUvBounds(model)) {
    EXPECT_LT(b.umax - b.umin, 0.2f);
    EXPECT_FLOAT_EQ(b.vmin, 0.0f);
    EXPECT_FLOAT_EQ(b.vmax, 1.0f);
  }
  EXPECT_EQ(model.mapWidth, 1024);
  EXPECT_EQ(model.mapHeight, 1024);
}

TEST(CylindricalMapping, SpreadingGivesEachCapTriangleItsOwnCentreU) {
  for (bool spread : {false, true}) {
    ModelStore model = cylinder(8, true);
    SelectionState selection;
    RadialMappingOptions options;
    options.spreadAtPoles = spread;
    cylindricalMapping(model, selection, options, ClientSize{});
    // The cap fans follow the eight side quads; their first corner is the
    // centre vertex.
    std::vector<float> centreUs;
    int facet = -1;
    bool first = false;
    for (const CornerRecord& record : model.facetStream) {
      if (record.vertex < 0) break;
      if (record.vertex == 0) {
        ++facet;
        first = true;
        continue;
      }
      if (facet >= 8 && first)
        centreUs.push_back(model.texVertices[static_cast<std::size_t>(record.texVertex) - 1].u);
      first = false;
    }
    ASSERT_EQ(centreUs.size(), 16u);
    std::sort(centreUs.begin(), centreUs.end());
    // Without spreading every centre corner sits at the axis's one angle;
    // with it, each bottom fan and the top fan above it share the middle u
    // of their rim.
    const auto unique = std::unique(centreUs.begin(), centreUs.end(),
                                    [](float a, float b) { return b - a < 1e-5f; });
    EXPECT_EQ(unique - centreUs.begin(), spread ? 8 : 1) << "spread " << spread;
  }
}

TEST(CylindricalCapMapping, CapsSitInBandsBelowAndAboveTheSide) {
  ModelStore model = cylinder(12, true);
  SelectionState selection;
  RadialMappingOptions options;
  options.gaps = false;
  cylindricalCapMapping(model, selection, options, ClientSize{});
  const std::vector<UvBounds> bounds = testing::facetUvBounds(model);
  // Y axis: T = 2 dz + dy = 2 * 2 + 2 (the ring's z extent is a hair under
  // 2); side band s = dy / T in the middle, caps below and above.
  float sideMin = 1, sideMax = 0, bottomMax = 0, topMin = 1;
  for (int f = 0; f < 12; ++f) {
    sideMin = std::min(sideMin, bounds[f].vmin);
    sideMax = std::max(sideMax, bounds[f].vmax);
  }
  for (int f = 12; f < 36; f += 2) {
    bottomMax = std::max(bottomMax, bounds[f].vmax);
    topMin = std::min(topMin, bounds[f + 1].vmin);
  }
  EXPECT_LT(bottomMax, sideMin + 1e-6f);
  EXPECT_GT(topMin, sideMax - 1e-6f);
  EXPECT_NEAR(sideMax - sideMin, 1.0f / 3.0f, 0.01f);
  EXPECT_EQ(model.mapWidth, 1024);
  EXPECT_EQ(model.mapHeight, 1024);
}

TEST(CylindricalCapMapping, FlatAcrossTheAxisStaysFinite) {
  // A flat disc in the plane x = 0, mapped around X (its caps are the disc's
  // two triangles, whose cross extents are zero along the axis X) and around
  // Y (flat across the axis: x has no extent).
  for (int axis : {kAxisX, kAxisY, kAxisZ}) {
    for (bool gaps : {false, true}) {
      ModelStore model =
          testing::buildModel({Vertex{0, 0, 0}, Vertex{0, 1, 0}, Vertex{0, 1, 1}, Vertex{0, 0, 1}},
                              {}, {FacetSpec{{1}, {2}, {3}}, FacetSpec{{1}, {3}, {4}}});
      SelectionState selection;
      RadialMappingOptions options;
      options.alignment = axis;
      options.gaps = gaps;
      ASSERT_EQ(cylindricalCapMapping(model, selection, options, ClientSize{}),
                MappingOutcome::Mapped);
      EXPECT_TRUE(testing::allFinite(model)) << "axis " << axis;
    }
  }
}

TEST(RadialMappings, NonFiniteOrDegenerateGeometryNeverYieldsNaN) {
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<std::vector<Vertex>> models = {
      {Vertex{0, 0, 0}, Vertex{0, 0, 0}, Vertex{0, 0, 0}},  // a single point
      {Vertex{inf, 0, 0}, Vertex{0, 1, 0}, Vertex{0, 0, 1}},
      {Vertex{std::nanf(""), 0, 0}, Vertex{0, 1, 0}, Vertex{0, 0, 1}},
      {Vertex{3e38f, 0, 0}, Vertex{-3e38f, 1, 0}, Vertex{0, 0, 1}},
  };
  using Mapping =
      MappingOutcome (*)(ModelStore&, SelectionState&, const RadialMappingOptions&, ClientSize);
  for (Mapping mapping : {&cylindricalMapping, &cylindricalCapMapping, &sphericalMapping}) {
    for (std::size_t m = 0; m < models.size(); ++m) {
      ModelStore model = testing::buildModel(models[m], {}, {FacetSpec{{1}, {2}, {3}}});
      SelectionState selection;
      mapping(model, selection, RadialMappingOptions{}, ClientSize{});
      EXPECT_TRUE(testing::allFinite(model)) << "model " << m;
    }
  }
}

}  // namespace
}  // namespace corvina

namespace corvina {
namespace {

// The projections fuse their normalisations into their own passes; the result
// must be, bit for bit, what the store's normalisation gives when run as
// separate steps.
TEST(RadialMappings, FusedNormalisationEqualsTheStoresStepByStep) {
  for (bool gaps : {false, true}) {
    for (bool selected : {false, true}) {
      ModelStore model = cylinder(10, true);
      expandTextureVertices(model, false);
      SelectionState selection;
      if (selected) {
        testing::selectFacets(model, {0, 1, 2, 3, 11, 12, 13});
        selection.selectionActive = true;
        selection.target = FrameRect{0.1f, 0.6f, 0.2f, 0.9f};
      }
      RadialMappingOptions options;
      options.gaps = gaps;
      options.rotation = 37;
      options.offsetX = 0.1f;

      ModelStore reference = model;
      const BoundingBox box = participatingBounds(reference, selected);
      const Vector3 centre = offsetCentre(box, options);
      mapCornersByVertex(reference, selected, [&](Vector3 p) {
        return cylindricalUv(p, centre, box.extent, options.alignment, options.rotation);
      });
      repairSeamsAndPoles(reference, selected, box, centre, options.alignment, true);
      normalizeToUnitSquare(reference, 0.0f, selected);
      normalizeToUnitSquare(reference, gaps ? 0.05f : 0.0f, selected);

      cylindricalMapping(model, selection, options, ClientSize{});
      EXPECT_EQ(testing::uvBits(model), testing::uvBits(reference))
          << "gaps " << gaps << " selected " << selected;
    }
  }
}

}  // namespace
}  // namespace corvina
