#include "app/report_messages.h"

#include "model/reports.h"

namespace corvina {

void showStatistics(const ModelStore& store, UserInterface& ui) {
  ui.showMessage("Statistics", statisticsText(store), MessageIcon::None);
}

void showDimensions(const ModelStore& store, bool selectionActive, UserInterface& ui) {
  ui.showMessage("Dimensions", dimensionsText(store, selectionActive), MessageIcon::None);
}

}  // namespace corvina
