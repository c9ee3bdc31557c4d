#include "preview/stretch_report.h"

#include <charconv>
#include <cmath>

namespace corvina {

namespace {

// `decimals` digits after the point; std::to_chars ignores the locale.
std::string fixed(double value, int decimals) {
  char digits[400];
  if (!std::isfinite(value)) value = 0;
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  return std::string(digits, result.ptr);
}

}  // namespace

std::string stretchReportText(const DistortionSummary& s, const TexelDensity& density) {
  return "area min=" + fixed(s.areaMin, 3) + " median=" + fixed(s.areaMedian, 3) +
         " max=" + fixed(s.areaMax, 3) + " beyond2x=" + fixed(s.beyond2xPercent, 1) +
         "%\nangle min=" + fixed(s.angleMin, 2) + " median=" + fixed(s.angleMedian, 2) +
         " max=" + fixed(s.angleMax, 2) + "\ndensity model=" + fixed(density.model, 2) +
         " selection=" + (density.hasSelection ? fixed(density.selection, 2) : "none");
}

std::string densityStatusText(const TexelDensity& density) {
  std::string text = "Texels per unit: ";
  if (density.hasSelection) text += "selection " + fixed(density.selection, 2) + ", ";
  return text + "model " + fixed(density.model, 2);
}

}  // namespace corvina
