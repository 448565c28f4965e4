#include "engine/clock/solar_time.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "engine/clock/delta_t.h"

namespace qv {
namespace {

constexpr double UnixEpochJd = 2440587.5;
constexpr double AuLightDays = 499.004783836 / 86400.0;  // light time for one astronomical unit
constexpr double MinutesPerRadian = 1440.0 / ERFA_D2PI;

// Right ascension of the apparent Sun on the mean equator and equinox of
// date. The Earth-Moon barycentre of the short planetary theory stands for the
// Earth: the 4700 km between them turn the Sun by a few arcseconds, a fraction
// of a second of time, and the theory costs a small part of the full
// ephemeris. Nutation is left out on both sides of the hour angle, where it
// cancels to a fraction of a second.
double ApparentSunRightAscension(double tt1, double tt2) {
    double pv[2][3];
    eraPlan94(tt1, tt2, 3, pv);
    // Seen from the Earth now, the Sun stands where the Earth was one light
    // time ago, reversed: light time and annual aberration together.
    const double distance = std::sqrt(pv[0][0] * pv[0][0] + pv[0][1] * pv[0][1] + pv[0][2] * pv[0][2]);
    const double tau = distance * AuLightDays;
    double sun[3], ofDate[3], rbp[3][3];
    for (int i = 0; i < 3; ++i) sun[i] = -(pv[0][i] - tau * pv[1][i]);
    eraPmat06(tt1, tt2, rbp);
    eraRxp(rbp, sun, ofDate);
    return std::atan2(ofDate[1], ofDate[0]);
}

}  // namespace

double EquationOfTimeMinutes(int64_t utcSeconds) {
    // UTC stands for UT1, which it follows within 0.9 s.
    const double days = std::floor(static_cast<double>(utcSeconds) / 86400.0);
    const double ut1 = UnixEpochJd + days;
    const double ut2 = (static_cast<double>(utcSeconds) - days * 86400.0) / 86400.0;
    const double tt2 = ut2 + DeltaTSeconds(1970.0 + static_cast<double>(utcSeconds) / (86400.0 * 365.2425)) / 86400.0;
    const double sunHourAngle = eraGmst06(ut1, ut2, ut1, tt2) - ApparentSunRightAscension(ut1, tt2);
    // Apparent solar time is the Sun's hour angle plus twelve hours; mean
    // solar time at Greenwich is UT.
    return std::remainder(sunHourAngle * MinutesPerRadian + 720.0 - ut2 * 1440.0, 1440.0);
}

}  // namespace qv
