#pragma once
// Cosine and sine of whole degrees 0 to 360, as model rotation reads them.
// The factor 0.01745327777777778 is slightly below pi/180 on purpose: it is the
// one the tables have always been filled with, so rotated models (and the
// maps projected from them) match those made before.

#include <array>

namespace corvina {

struct DegreeTables {
  std::array<float, 361> cosine{};
  std::array<float, 361> sine{};
};

// Filled once when the program starts; a test makes its own.
DegreeTables makeDegreeTables();

}  // namespace corvina
