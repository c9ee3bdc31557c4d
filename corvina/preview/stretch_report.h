#pragma once
// The stretch report as corvina-cli prints it, and the status bar's texel
// density, with numbers written the same in every locale:
//   area min=0.250 median=1.000 max=4.000 beyond2x=12.5%
//   angle min=0.00 median=3.50 max=45.00
//   density model=161.92 selection=none

#include <string>

#include "preview/distortion.h"
#include "preview/texel_density.h"

namespace corvina {

// The three lines, without a line break after the last. `selection=none`
// while no selection is active.
std::string stretchReportText(const DistortionSummary& summary, const TexelDensity& density);

// "Texels per unit: selection 256.00, model 161.92" (the selection part only
// while a selection is active).
std::string densityStatusText(const TexelDensity& density);

}  // namespace corvina
