#pragma once
// Making a primitive model in place of the loaded one: shape, normals smoothed
// at 89 degrees over all facets, texture coordinates by a fixed projection (or
// the torus's grid), one group named after the primitive, and a texture-map
// size from the dimensions and the resolution.

#include <cstdint>

#include "model/model_store.h"
#include "primitives/primitive_geometry.h"
#include "primitives/primitive_options.h"
#include "tools/selection_state.h"

namespace corvina {

enum class GenerateOutcome { Generated, InsufficientMemory };

// The memory the generators may plan to use: what the system reports as
// available now.
std::uint64_t availableMemoryBytes();

// The bytes a model of these counts needs at the peak of its generation
// (model arrays, smoothing and mapping work included), as an estimate.
std::uint64_t generationBytes(const PrimitiveCounts& counts);

// A texture-map side from a length in pixels: truncated, and held to the
// map's range 1 to 8192 (a zero, negative, huge or NaN length cannot size a
// map).
int mapSide(float pixels);

struct MapSides {
  int width = 1, height = 1;
};

// The texture-map size of a generated model from its two lengths in pixels:
// when the larger exceeds 8192, both are scaled by the one factor that brings
// it to 8192, so the map keeps its proportions; then each is truncated, and a
// side that comes to less than one pixel is one pixel.
MapSides fittedMapSides(float width, float height);

// Each generator commits the pending selection, then builds the new model
// aside and puts it in place of the old one only when it is complete, with
// modelLoaded 2, modelBaseName "Untitled" and the texture vertices expanded.
// When the counts exceed the store's range or the estimated memory exceeds
// memoryLimit, or an allocation fails, it returns InsufficientMemory and the
// old model is left as it was.
GenerateOutcome generateBox(ModelStore& store, SelectionState& selection, const BoxOptions& options,
                            std::uint64_t memoryLimit = availableMemoryBytes());
GenerateOutcome generateCone(ModelStore& store, SelectionState& selection,
                             const ConeOptions& options,
                             std::uint64_t memoryLimit = availableMemoryBytes());
GenerateOutcome generateCylinder(ModelStore& store, SelectionState& selection,
                                 const CylinderOptions& options,
                                 std::uint64_t memoryLimit = availableMemoryBytes());
GenerateOutcome generateSphere(ModelStore& store, SelectionState& selection,
                               const SphereOptions& options,
                               std::uint64_t memoryLimit = availableMemoryBytes());
GenerateOutcome generateTorus(ModelStore& store, SelectionState& selection,
                              const TorusOptions& options,
                              std::uint64_t memoryLimit = availableMemoryBytes());

}  // namespace corvina
