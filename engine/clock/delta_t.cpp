#include "delta_t.h"

#include <initializer_list>
#include <iterator>

namespace qv {
namespace {

double Poly(double t, std::initializer_list<double> c) {
    double r = 0, p = 1;
    for (double k : c) {
        r += k * p;
        p *= t;
    }
    return r;
}

// Measured ΔT (s) at the start of the years, from the IERS / USNO series.
struct Measured {
    double Year, DeltaT;
};
constexpr Measured MeasuredDeltaT[] = {
    {1973.0, 43.37}, {1975.0, 45.48}, {1980.0, 50.54}, {1985.0, 54.34}, {1990.0, 56.86},
    {1995.0, 60.78}, {2000.0, 63.83}, {2005.0, 64.69}, {2010.0, 66.07}, {2015.0, 67.64},
    {2020.0, 69.36}, {2025.0, 69.14},
};

double EspenakMeeus2050(double y) {
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
}

}  // namespace

// Before 1973: the polynomials of Espenak and Meeus (NASA's Five Millennium
// Canon of Solar Eclipses), fitted to the historical record. 1973-2025: the
// measured values, interpolated. After 2025 nobody knows: a straight line to
// the Espenak-Meeus long-term formula at 2050, and that formula beyond.
double DeltaTSeconds(double y) {
    if (y < 1860) {
        const double t = y - 1800;
        return Poly(t, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272, -0.0000001699,
                        0.000000000875});
    }
    if (y < 1900) return Poly(y - 1860, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174});
    if (y < 1920) return Poly(y - 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    if (y < 1941) return Poly(y - 1920, {21.20, 0.84493, -0.076100, 0.0020936});
    if (y < 1961) return Poly(y - 1950, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
    if (y < MeasuredDeltaT[0].Year) return Poly(y - 1975, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
    constexpr size_t n = std::size(MeasuredDeltaT);
    for (size_t i = 0; i + 1 < n; ++i) {
        const Measured a = MeasuredDeltaT[i], b = MeasuredDeltaT[i + 1];
        if (y < b.Year) return a.DeltaT + (b.DeltaT - a.DeltaT) * (y - a.Year) / (b.Year - a.Year);
    }
    const Measured last = MeasuredDeltaT[n - 1];
    if (y < 2050) return last.DeltaT + (EspenakMeeus2050(2050) - last.DeltaT) * (y - last.Year) / (2050 - last.Year);
    return EspenakMeeus2050(y);
}

}  // namespace qv
