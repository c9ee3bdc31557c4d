#pragma once
// The two read-only reports on the model: element counts and the bounding
// ranges of the geometry and texture coordinates. Numbers are formatted
// without the C library's locale, so a desktop with a decimal comma still
// reads "0.5".

#include <string>

#include "model/model_store.h"

namespace corvina {

// "vertices = N\ntextures = N\n..." from the current counts (distinct set
// names, not statements).
std::string statisticsText(const ModelStore& store);

// The x, y, z, u and v ranges of the participating corners (the selected ones
// while selectionActive, else all). Ranges nothing widened show 100000.00000
// as minimum and -100000.00000 as maximum.
std::string dimensionsText(const ModelStore& store, bool selectionActive);

}  // namespace corvina
