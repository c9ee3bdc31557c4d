// The stretch report's and the density pane's text: fixed decimals, "none"
// without a selection, and no NaN or infinity ever written.

#include "preview/stretch_report.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvina {
namespace {

TEST(StretchReportTest, Texts) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    DistortionSummary summary;
    TexelDensity density;
    std::string report, status;
  };
  const Case cases[] = {
      {{},
       {},
       "area min=0.000 median=0.000 max=0.000 beyond2x=0.0%\n"
       "angle min=0.00 median=0.00 max=0.00\n"
       "density model=0.00 selection=none",
       "Texels per unit: model 0.00"},
      {{4, 0.25, 1.0004, 3.9996, 12.5, 0.004, 3.5, 45},
       {161.9248, true, 256},
       "area min=0.250 median=1.000 max=4.000 beyond2x=12.5%\n"
       "angle min=0.00 median=3.50 max=45.00\n"
       "density model=161.92 selection=256.00",
       "Texels per unit: selection 256.00, model 161.92"},
      {{1, 1e30, 1e30, 1e30, 100, 0, 0, 0},
       {inf, true, -inf},
       "area min=1000000000000000019884624838656.000 median=1000000000000000019884624838656.000 "
       "max=1000000000000000019884624838656.000 beyond2x=100.0%\n"
       "angle min=0.00 median=0.00 max=0.00\n"
       "density model=0.00 selection=0.00",
       "Texels per unit: selection 0.00, model 0.00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(stretchReportText(c.summary, c.density), c.report);
    EXPECT_EQ(densityStatusText(c.density), c.status);
  }
}

}  // namespace
}  // namespace corvina
