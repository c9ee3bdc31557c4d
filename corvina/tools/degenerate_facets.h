#pragma once
// Degenerate facets: facets in which a later corner lies exactly where the
// first corner lies. They can be counted, selected and removed.

#include "model/model_store.h"

namespace corvina {

// The number of facets whose first corner's position equals, bit for bit, the
// position of any later corner of the same facet (the same vertex twice
// counts too). Later corners that only coincide with each other do not count.
int countDegenerateFacets(const ModelStore& store);

// Marks exactly the degenerate facets for removeSelectedFacets: sets the
// selected bit on every corner of every degenerate facet and clears it on
// every other record, so bits that an inactive selection left behind do not
// add sound facets to the removal.
void selectDegenerateFacets(ModelStore& store);

// Drops every selected corner; a facet left without corners is dropped with
// its separator. The stream keeps its shape: record 0 is a separator, each
// kept facet has one separator, the end-of-list record is a record of zeros
// with vertex -1. numFacets becomes the number of kept facets and the texture
// vertices are expanded afresh. The caller clears the selection-active flag.
// Returns false, with the model unchanged, when the memory cannot be had.
bool removeSelectedFacets(ModelStore& store);

}  // namespace corvina
