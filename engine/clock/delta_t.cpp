#include "engine/clock/delta_t.h"

#include <cmath>
#include <iterator>

namespace qv {
namespace {

// Before 1955: the cubic spline of Stephenson, Morrison & Hohenkerk,
// "Measurement of the Earth's rotation: 720 BC to AD 2015", Proc. R. Soc. A
// 472 (2016) 20160404, as revised in Morrison, Stephenson, Hohenkerk & Zawilski,
// Proc. R. Soc. A 477 (2021) 20200776 (HM Nautical Almanac Office,
// Table-S15.2020.txt). Each row holds from its year to the next row's year;
// ΔT = a0 + a1 t + a2 t² + a3 t³ with t the fraction of the span.
struct SplineSpan {
    double From, A0, A1, A2, A3;
};
constexpr SplineSpan Spline[] = {
    {1600, 109.127, -78.697, 10.505, 3.018},   {1650, 43.952, -68.089, 38.333, -2.127},
    {1720, 12.068, 2.507, 41.731, -37.939},    {1800, 18.367, -3.481, -1.126, 1.918},
    {1810, 15.678, 0.021, 4.629, -3.812},      {1820, 16.516, -2.157, -6.806, 3.250},
    {1830, 10.804, -6.018, 2.944, -0.096},     {1840, 7.634, -0.416, 2.658, -0.539},
    {1850, 9.338, 1.642, 0.261, -0.883},       {1855, 10.357, -0.486, -2.389, 1.558},
    {1860, 9.040, -0.591, 2.284, -2.477},      {1865, 8.255, -3.456, -5.148, 2.720},
    {1870, 2.371, -5.593, 3.011, -0.914},      {1875, -1.126, -2.314, 0.269, -0.039},
    {1880, -3.210, -1.893, 0.152, 0.563},      {1885, -4.388, 0.101, 1.842, -1.438},
    {1890, -3.884, -0.531, -2.474, 1.871},     {1895, -5.017, 0.134, 3.138, -0.232},
    {1900, -1.977, 5.715, 2.443, -1.257},      {1905, 4.923, 6.828, -1.329, 0.720},
    {1910, 11.142, 6.330, 0.831, -0.825},      {1915, 17.479, 5.518, -1.643, 0.262},
    {1920, 21.617, 3.020, -0.856, 0.008},      {1925, 23.789, 1.333, -0.831, 0.127},
    {1930, 24.418, 0.052, -0.449, 0.142},      {1935, 24.164, -0.419, -0.022, 0.702},
    {1940, 24.426, 1.645, 2.086, -1.106},      {1945, 27.050, 2.499, -1.232, 0.614},
    {1950, 28.932, 1.127, 0.220, -0.277},      {1953, 30.002, 0.737, -0.610, 0.631},
};
constexpr double SplineEnd = 1956;

// From 1955: ΔT observed at the start of each year, 1955.0 to 2025.0: to
// 1973 the Astronomical Almanac's table (K9), from 1974 the 1 January values
// of TT − UT1 in the IERS Rapid Service / USNO file deltat.data
// (maia.usno.navy.mil/products/deltaT), rounded to 0.01 s; every year was
// checked against both.
constexpr double FirstObservedYear = 1955;
constexpr double Observed[] = {
    31.07, 31.35, 31.68, 32.18, 32.68, 33.15, 33.59, 34.00, 34.47, 35.03,  // 1955-1964
    35.73, 36.54, 37.43, 38.29, 39.20, 40.18, 41.17, 42.23, 43.37, 44.48,  // 1965-1974
    45.48, 46.46, 47.52, 48.53, 49.59, 50.54, 51.38, 52.17, 52.96, 53.79,  // 1975-1984
    54.34, 54.87, 55.32, 55.82, 56.30, 56.86, 57.57, 58.31, 59.12, 59.98,  // 1985-1994
    60.79, 61.63, 62.30, 62.97, 63.47, 63.83, 64.09, 64.30, 64.47, 64.57,  // 1995-2004
    64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32, 66.60, 66.91, 67.28,  // 2005-2014
    67.64, 68.10, 68.59, 68.97, 69.22, 69.36, 69.36, 69.29, 69.20, 69.18,  // 2015-2024
    69.14,                                                                 // 2025
};
constexpr double LastObservedYear = FirstObservedYear + static_cast<double>(std::size(Observed) - 1);

// The historical spline and the observed series differ by about 0.7 s at
// 1955 (they rest on different lunar tidal accelerations); the spline is
// eased onto the observed value over its last three years.
constexpr double EaseFrom = 1952;

double SplineAt(double y) {
    size_t i = 0;
    while (i + 1 < std::size(Spline) && y >= Spline[i + 1].From) ++i;
    const double to = i + 1 < std::size(Spline) ? Spline[i + 1].From : SplineEnd;
    const SplineSpan& s = Spline[i];
    const double t = (std::fmax(y, Spline[0].From) - s.From) / (to - s.From);
    return s.A0 + t * (s.A1 + t * (s.A2 + t * s.A3));
}

double ObservedAt(double y) {
    const double k = std::floor(y - FirstObservedYear);
    const size_t i = static_cast<size_t>(k);
    if (i + 1 >= std::size(Observed)) return Observed[std::size(Observed) - 1];
    return Observed[i] + (Observed[i + 1] - Observed[i]) * (y - FirstObservedYear - k);
}

// The long-term trend of Morrison et al. (2021): the integral of their
// length-of-day excess 1.72 T − 3.5 sin(2π (T + 0.75) / 14) ms a day, T in
// centuries from 1825 (tidal braking plus a 1400-year fluctuation).
double LongTermTrend(double y) {
    const double t = (y - 1825.0) / 100.0;
    constexpr double TwoPiOver14 = 2.0 * 3.14159265358979323846 / 14.0;
    constexpr double SecondsPerCenturyPerMs = 36525.0 * 1e-3;
    return SecondsPerCenturyPerMs * (1.72 / 2.0 * t * t + 3.5 / TwoPiOver14 * std::cos(TwoPiOver14 * (t + 0.75)));
}

// Beyond the observations: the long-term trend moved to start at the last
// observed value, and the last observed yearly change fading into it over a
// few years. By 2100 this gives about 87 s, inside the spread of the
// published forecasts (Morrison et al. 2021; IERS Bulletin A long-term
// predictions), where the old polynomials of 2006 give about 200 s.
constexpr double TrendFadeYears = 5;

double Forecast(double y) {
    const double last = Observed[std::size(Observed) - 1];
    const double recentSlope = last - Observed[std::size(Observed) - 2];
    const double trendSlope = LongTermTrend(LastObservedYear + 0.5) - LongTermTrend(LastObservedYear - 0.5);
    const double dy = y - LastObservedYear;
    return last + LongTermTrend(y) - LongTermTrend(LastObservedYear) +
           (recentSlope - trendSlope) * TrendFadeYears * (1.0 - std::exp(-dy / TrendFadeYears));
}

}  // namespace

double DeltaTSeconds(double y) {
    if (y < EaseFrom) return SplineAt(y);
    if (y < FirstObservedYear) {
        const double gap = Observed[0] - SplineAt(FirstObservedYear);
        return SplineAt(y) + gap * (y - EaseFrom) / (FirstObservedYear - EaseFrom);
    }
    if (y <= LastObservedYear) return ObservedAt(y);
    return Forecast(y);
}

}  // namespace qv
