#pragma once

#include <string>

// Writes one map coordinate as a whole number without decimal point: halves
// round away from zero, a zero of either sign is "0", and a negative value that
// rounds to zero keeps its sign as "-0". Non-finite values are written as the
// C library writes them ("nan", "inf", "-inf").
std::string formatMapCoordinate(float value);
