// ΔT against published values: the Astronomical Almanac / IERS yearly table,
// the Stephenson-Morrison-Hohenkerk historical values, and the spread of the
// published long-term forecasts.
#include <gtest/gtest.h>

#include "engine/clock/delta_t.h"

namespace qv {
namespace {

TEST(DeltaT, PublishedValuesAndForecastSpread) {
    struct Point {
        double Year, Low, High;  // the published value with its uncertainty, or a forecast's spread
    } const points[] = {
        {1820.0, 11.0, 17.0},  // AA 11.9, SMH 2016 16.5: the historical series disagree by seconds
        {1900.0, -3.0, -1.5},  // AA -2.72, SMH 2016 -1.98
        {1950.0, 28.6, 29.4},  // AA 29.15, SMH 2016 28.93
        {1960.0, 33.10, 33.20},  // AA 33.15
        {1973.0, 43.32, 43.42},  // AA 43.37
        {1980.0, 50.49, 50.59},  // deltat.data 50.5387
        {1990.0, 56.81, 56.91},  // 56.8553
        {2000.0, 63.78, 63.88},  // 63.8285
        {2010.0, 66.02, 66.12},  // 66.0699
        {2017.0, 68.54, 68.64},  // 68.5927
        {2020.0, 69.31, 69.41},  // 69.3612
        {2025.0, 69.09, 69.19},  // 69.1377
        {2050.0, 64.0, 93.0},   // IERS / USNO predictions and Morrison et al. 2021
        {2100.0, 60.0, 210.0},  // from the flattest forecast to the 2006 polynomials
    };
    for (const Point& p : points) {
        const double dt = DeltaTSeconds(p.Year);
        EXPECT_GE(dt, p.Low) << p.Year;
        EXPECT_LE(dt, p.High) << p.Year;
    }
}

// Terms are found to the minute: no step between neighbouring days, and no
// jump where the historical record, the observations and the forecast meet.
TEST(DeltaT, ContinuousFrom1800To2100) {
    constexpr double day = 1.0 / 365.25;
    for (double y = 1800; y < 2100; y += day) ASSERT_LT(std::abs(DeltaTSeconds(y + day) - DeltaTSeconds(y)), 0.01) << y;
}

}  // namespace
}  // namespace qv
