#include "plugin/map_number_format.h"

#include <cmath>
#include <cstdio>

std::string formatMapCoordinate(float value) {
  // The C library's "%.0f" rounds halves to even (2.5 -> "2") and prints a
  // negated zero as "-0"; map coordinates need neither, so round first and
  // only then print a value that is already whole.
  if (value == 0.0f) return "0";
  const double rounded = std::round(static_cast<double>(value));
  if (rounded == 0.0) return value < 0.0f ? "-0" : "0";
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", rounded);
  return text;
}
