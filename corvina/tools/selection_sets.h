#pragma once
// The selection operations that do not come from the mouse or the keys:
// select all, none and inverse; select the facets of chosen groups,
// materials or regions; the select method; and assigning the selection to a
// set, creating the set on request. Each operation leaves the frame fitted
// to the new selection for a view of the given size; asking the user and
// redrawing are the caller's part.

#include <optional>
#include <string>
#include <vector>

#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

enum class SetKind { Group = 0, Material = 1, Region = 2 };

// Commits any pending move, selects every corner and fits the frame.
void selectAll(ModelStore& store, SelectionState& selection, int viewWidth, int viewHeight);

// Commits any pending move, which also clears the selected bits.
void selectNone(ModelStore& store, SelectionState& selection);

// Toggles every corner's selected bit without committing first (a pending
// move of the old selection is dropped), then fits the frame.
void selectInverse(ModelStore& store, SelectionState& selection, int viewWidth, int viewHeight);

// Stores a new select method and commits the selection; choosing the method
// already in force changes nothing. Returns whether the method changed.
bool changeSelectMethod(ModelStore& store, SelectionState& selection, SelectMethod method);

// The names of the sets of one kind as the list and combo dialogs show them:
// sorted by their bytes, duplicates kept.
std::vector<std::string> setNamesForDialog(const ModelStore& store, SetKind kind);

// The first set of the kind, in table order, whose name equals `name`
// exactly (case counts), or nullopt.
std::optional<int> findSetByName(const ModelStore& store, SetKind kind, const std::string& name);

// Commits, then selects every facet that has a corner in one of the chosen
// sets (indices outside the table are ignored) and fits the frame. The
// previous selection is replaced, not extended.
void selectBySets(ModelStore& store, SelectionState& selection, SetKind kind,
                  const std::vector<int>& chosenSets, int viewWidth, int viewHeight);

// The name a typed assignment name stands for: at most 127 characters are
// read, a line break ends the name (one name is one line of a model file),
// and a set name holds at most 95 characters.
std::string assignmentSetName(const std::string& typed);

// Adds a set named `name` (cut to 95 characters) to the table of the kind.
// In a table without names, "default" comes first and every corner is put
// into it (typing "default" then names that set). Returns the new set's index, or nullopt when the
// table cannot grow (no memory, or the 14-bit set index is used up); what was added before the
// failure stays.
std::optional<int> createSet(ModelStore& store, SetKind kind, const std::string& name);

// Puts every selected corner into set `setIndex` of the kind; the selected
// bits and the frame stay as they are.
void assignSelectionToSet(ModelStore& store, SetKind kind, int setIndex);

}  // namespace corvina
