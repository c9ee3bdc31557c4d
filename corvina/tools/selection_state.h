#pragma once
// The document's selection: which corners are selected (bits in the facet
// stream), whether a selection frame exists, where the selection was when the
// frame was made (source) and where the user has moved it (target). Until it is
// committed the texture coordinates stay as they are; only drawing shows the
// move.

#include "model/model_store.h"

namespace corvina {

// Normalised view coordinates: x = u, y = 1 - v, the view spans 0..1.
struct FrameRect {
  float left = 0, right = 0, top = 0, bottom = 0;
};

struct PixelRect {
  int left = 0, right = 0, top = 0, bottom = 0;
};

enum class SelectMethod { ByFacet = 0, ByVertex = 1 };

struct SelectionState {
  bool selectionActive = false;
  FrameRect source;
  FrameRect target;
  PixelRect framePixels;
  SelectMethod selectMethod = SelectMethod::ByFacet;
};

class SelectionBlocks;

// Moves the selected corners' texture coordinates from source to target,
// clears their selected bits and ends the selection. Nothing happens while no
// selection is active. `blocks`, when given, are the notes the editor keeps
// between its own edits (see selection_blocks.h): the commit walks only the
// runs with a selected record when they describe the store, and leaves them
// describing it, or forgotten.
void commitSelection(ModelStore& store, SelectionState& selection,
                     SelectionBlocks* blocks = nullptr);

// The same move, keeping the bits and the frame; source becomes target.
void applyPendingMove(ModelStore& store, SelectionState& selection);

// Recomputes the vertex marks, source, target and the frame's pixel rectangle
// from the selected corners, and sets or clears selectionActive.
void fitFrameToSelection(ModelStore& store, SelectionState& selection, int clientWidth,
                         int clientHeight);

// The frame's pixel rectangle for a view of clientWidth x clientHeight:
// each edge is the client size times the coordinate, truncated toward zero
// (and held inside the int range).
PixelRect framePixelsOf(const FrameRect& frame, int clientWidth, int clientHeight);

// Target span over source span, the factor a selection is scaled by; 1 when
// the source has no extent, so a flat source never divides by zero.
float spanScale(float targetSpan, float sourceSpan);

}  // namespace corvina
