#pragma once
// Picking corners with a rubber band.

#include "model/model_store.h"
#include "model/parallel_parts.h"
#include "tools/selection_blocks.h"
#include "tools/selection_state.h"

namespace corvina {

// Selects the visible corners with texture coordinates that lie inside or on
// `band` (normalised view coordinates) and deselects those outside; hidden
// corners and corners without a valid texture index keep their bits. By
// vertex each corner inside is selected and its vertex marked; by facet a
// corner inside selects every corner of its facet. Every vertex mark is
// cleared first. Returns whether any corner record is selected afterwards.
// `changed`, when given, receives what the pick changed. `notes`, when
// given, are the notes the editor keeps between its own edits: a pick walks
// only the runs they say it can change, and leaves them describing the store.
struct PickChange {
  // The records whose selected bit changed: [begin, end) from the first such
  // record to the last, empty when none did.
  PartRange records;
  // Whether every visible corner record before the end of the list is
  // selected afterwards.
  bool everyVisibleSelected = false;
  // How many visible corner records before the end of the list are selected
  // afterwards.
  std::size_t visibleSelected = 0;
};
bool pickCornersInside(ModelStore& store, const FrameRect& band, SelectMethod method,
                       PickChange* changed = nullptr, SelectionBlocks* notes = nullptr);

}  // namespace corvina
