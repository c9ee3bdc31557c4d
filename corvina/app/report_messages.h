#pragma once
// The two reports on the model as the user sees them: message boxes without
// an icon, captioned after the report.

#include "app/user_interface.h"
#include "model/model_store.h"

namespace corvina {

// Shows statisticsText in a box captioned "Statistics".
void showStatistics(const ModelStore& store, UserInterface& ui);

// Shows dimensionsText in a box captioned "Dimensions".
void showDimensions(const ModelStore& store, bool selectionActive, UserInterface& ui);

}  // namespace corvina
