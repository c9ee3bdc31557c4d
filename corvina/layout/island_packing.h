#pragma once
// Packing the islands of the texture map: one scale factor for all islands,
// measured in pixels of the map so each island keeps its shape on the painted
// texture, as large as lets every island fit without overlap, with at least
// the padding between any two islands and half of it from the area's border.

#include "model/model_store.h"

namespace corvina {

constexpr int kLargestPackSide = 8192;
constexpr float kLargestPadding = 256.0f;

// The "Pack Islands" record: lives for the whole run; width and height start
// at the model's map size each time the dialog opens.
struct PackOptions {
  int width = 512;  // the map in pixels, 1..kLargestPackSide
  int height = 512;
  float padding = 4.0f;  // pixels, 0..kLargestPadding
  bool allowRotation = true;
  bool equalDensity = false;  // scale islands to equal texel density first
  bool selectedOnly = false;  // only islands the selection touches, into its frame
};

// The part of texture space the islands go into.
struct PackArea {
  double minU = 0, maxU = 1, minV = 0, maxV = 1;
};

enum class PackOutcome {
  Packed,
  NothingToPack,  // no movable island (with selectedOnly: none selected)
  DoesNotFit,     // even at the smallest scale the padding leaves no room
  InsufficientMemory,
};

struct PackResult {
  PackOutcome outcome = PackOutcome::NothingToPack;
  int islands = 0;      // the islands packed
  double scale = 0;     // map pixels per pixel of the islands before packing
  double coverage = 0;  // the packed islands' texture area over the area's
};

// Packs the movable islands (every corner with a real texture coordinate;
// with options.selectedOnly, those with a selected corner) into `area` of a
// width x height map. Expands the texture vertices first. Islands that are
// not packed keep their coordinates. On any outcome but Packed the texture
// coordinates are unchanged. The same model and options give the same bits.
PackResult packIslands(ModelStore& store, const PackOptions& options, PackArea area);

}  // namespace corvina
