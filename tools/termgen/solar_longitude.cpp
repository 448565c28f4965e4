#include "solar_longitude.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <initializer_list>
#include <iterator>

namespace qv::termgen {
namespace {

constexpr double MjdZero = 2400000.5;
constexpr double DegreesPerDay = 360.0 / 365.242190;
constexpr double AuLightDays = 499.004783836 / 86400.0;  // light time for one astronomical unit

double Wrap180(double d) {
    d = std::fmod(d, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

// Apparent direction of the Sun in the GCRS, as a unit vector.
void ApparentSunDirection(double tt1, double tt2, double dir[3]) {
    double pvh[2][3], pvb[2][3];
    eraEpv00(tt1, tt2, pvh, pvb);
    // The Sun as seen now left it one light time ago; over those minutes it
    // moves with its barycentric velocity (Earth's barycentric minus heliocentric).
    const double distance = std::sqrt(pvh[0][0] * pvh[0][0] + pvh[0][1] * pvh[0][1] + pvh[0][2] * pvh[0][2]);
    const double tau = distance * AuLightDays;
    double p[3];
    for (int i = 0; i < 3; ++i) p[i] = -pvh[0][i] - tau * (pvb[1][i] - pvh[1][i]);
    double s = 0, pnat[3];
    eraPn(p, &s, pnat);
    // Annual aberration from the Earth's barycentric velocity in units of c.
    double v[3], v2 = 0;
    for (int i = 0; i < 3; ++i) {
        v[i] = pvb[1][i] * AuLightDays;
        v2 += v[i] * v[i];
    }
    eraAb(pnat, v, s, std::sqrt(1.0 - v2), dir);
}

double TrueEclipticLongitude(const double rnpb[3][3], double trueObliquity, const double gcrs[3]) {
    double p[3];
    eraRxp(const_cast<double(*)[3]>(rnpb), const_cast<double*>(gcrs), p);
    const double y = p[1] * std::cos(trueObliquity) + p[2] * std::sin(trueObliquity);
    double lon = std::atan2(y, p[0]) * ERFA_DR2D;
    return lon < 0 ? lon + 360.0 : lon;
}

struct Frame {
    double Rnpb[3][3];
    double Obliquity;
};

// Precession-nutation to the true equator and equinox of date; it turns so
// slowly that one frame serves a whole term search to well under a second.
Frame FrameAt(double tt1, double tt2) {
    Frame f{};
    double dpsi = 0, deps = 0, meanObliquity = 0, rb[3][3], rp[3][3], rbp[3][3], rn[3][3];
    eraNut06a(tt1, tt2, &dpsi, &deps);
    eraPn06(tt1, tt2, dpsi, deps, &meanObliquity, rb, rp, rbp, rn, f.Rnpb);
    f.Obliquity = meanObliquity + deps;
    return f;
}

double LongitudeIn(const Frame& f, double tt1, double tt2) {
    double dir[3];
    ApparentSunDirection(tt1, tt2, dir);
    return TrueEclipticLongitude(f.Rnpb, f.Obliquity, dir);
}

// Secant steps from the guess; the Sun's speed varies a few percent over the
// year, so two or three steps reach a hundredth of a second.
double Solve(const Frame& f, double degrees, double mjd) {
    double x0 = mjd, f0 = Wrap180(LongitudeIn(f, MjdZero, x0) - degrees);
    double x1 = x0 - f0 / DegreesPerDay;
    for (int i = 0; i < 10; ++i) {
        const double f1 = Wrap180(LongitudeIn(f, MjdZero, x1) - degrees);
        if (f1 == f0) break;
        const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
        x0 = x1;
        f0 = f1;
        x1 = x2;
        if (std::fabs(x1 - x0) < 1e-7) break;
    }
    return x1;
}

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

double ApparentSolarLongitude(double tt1, double tt2) { return LongitudeIn(FrameAt(tt1, tt2), tt1, tt2); }

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

double TermInstantTT(double degrees, double guessMjd) {
    // Solved in the frame of the guess; when the guess was far off, once more
    // in the frame of that solution (within an hour the frame moves by far
    // less than the Sun does in a tenth of a second).
    const double rough = Solve(FrameAt(MjdZero, guessMjd), degrees, guessMjd);
    if (std::fabs(rough - guessMjd) < 0.04) return rough;
    return Solve(FrameAt(MjdZero, rough), degrees, rough);
}

void ComputeSolarTermTable(int firstYear, int lastYear, SolarTermTable& table) {
    table.FirstYear = static_cast<uint16_t>(firstYear);
    table.LastYear = static_cast<uint16_t>(lastYear);
    double zero = 0, previous = 0;
    eraCal2jd(firstYear, 1, 6, &zero, &previous);  // 小寒 falls near 6 January
    previous -= 15.2;
    double interval = 15.2;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int k = 0; k < TermsPerYear; ++k) {
            const double degrees = std::fmod(285.0 + 15.0 * k, 360.0);
            // The Sun's speed changes slowly from one term to the next, so the
            // last interval predicts the next term to a few hours.
            const double tt = TermInstantTT(degrees, previous + interval);
            interval = tt - previous;
            previous = tt;
            const double ut = tt - DeltaTSeconds(2000.0 + (tt - 51544.5) / 365.2425) / 86400.0;
            const double local = ut + 8.0 / 24.0;
            int y = 0, m = 0, d = 0;
            double fd = 0;
            eraJd2cal(MjdZero, local, &y, &m, &d, &fd);
            const int minuteOfDay = static_cast<int>(std::floor(fd * 1440.0));
            table.Rows[year - firstYear][k] = TermMoment{static_cast<uint8_t>(m), static_cast<uint8_t>(d),
                                                         static_cast<uint8_t>(minuteOfDay / 60),
                                                         static_cast<uint8_t>(minuteOfDay % 60)};
        }
    }
}

}  // namespace qv::termgen
