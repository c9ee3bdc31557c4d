#include "plugin/map_number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(MapNumberFormat, RoundsHalvesAwayFromZeroAndSignsOnlyTrueNegatives) {
  struct Case {
    float value;
    const char* text;
  };
  const Case cases[] = {
      {0.0f, "0"},
      {-0.0f, "0"},
      {0.3f, "0"},
      {-0.3f, "-0"},
      {0.5f, "1"},
      {-0.5f, "-1"},
      {1.5f, "2"},
      {2.5f, "3"},
      {-2.5f, "-3"},
      {3.5f, "4"},
      {2.4999998f, "2"},
      {-0.49999997f, "-0"},
      {64.0f, "64"},
      {-1024.75f, "-1025"},
      {16777216.0f, "16777216"},
      {1e20f, "100000002004087734272"},
      {std::numeric_limits<float>::infinity(), "inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatMapCoordinate(c.value), c.text) << c.value;
}

}  // namespace
