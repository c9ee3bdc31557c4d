#include "mapping/degree_tables.h"

#include <cmath>

namespace corvina {

DegreeTables makeDegreeTables() {
  DegreeTables tables;
  for (int i = 0; i <= 360; ++i) {
    // Evaluated in double and rounded once to float, so every C library
    // with correctly rounded double cos and sin fills the same tables.
    const double radians = i * 0.01745327777777778;
    tables.cosine[static_cast<std::size_t>(i)] = static_cast<float>(std::cos(radians));
    tables.sine[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(radians));
  }
  return tables;
}

}  // namespace corvina
