#include "solar_longitude.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "engine/clock/delta_t.h"

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

}  // namespace

double ApparentSolarLongitude(double tt1, double tt2) { return LongitudeIn(FrameAt(tt1, tt2), tt1, tt2); }

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
