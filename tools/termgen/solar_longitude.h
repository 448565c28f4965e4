// The moments of the solar terms from our own astronomy: the apparent
// geocentric longitude of the Sun (ERFA, IAU 2006 precession-nutation) and a
// model of ΔT to turn terrestrial time into universal time.
#pragma once

#include "engine/calendar/solar_terms.h"

namespace qv::termgen {

// Apparent geocentric ecliptic longitude of the Sun in degrees [0, 360) at a
// TT Julian date given in two parts.
double ApparentSolarLongitude(double tt1, double tt2);

// TT Julian date (two parts, the first 2400000.5) at which the Sun's apparent
// longitude reaches `degrees`, searched near the guess.
double TermInstantTT(double degrees, double guessMjd);

// Fills the table for firstYear..lastYear (at most SolarTermMaxRows rows) in
// UTC+8 local time, seconds dropped.
void ComputeSolarTermTable(int firstYear, int lastYear, SolarTermTable& table);

}  // namespace qv::termgen
