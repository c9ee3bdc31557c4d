#include "app/color_mode_commands.h"

namespace corvina {

void setColorMode(ModelStore& store, int mode, UserInterface& ui) {
  if (mode < kColorModeBlackWhite || mode > kColorModeRegion) return;
  store.colorMode = mode;
  ui.refreshViews();
}

}  // namespace corvina
